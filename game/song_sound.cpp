#include "game/song_sound.h"

#include "app/app_context.h"
#include "audio/voice_thread.h"

void stopSongSound()
{
    requestVoiceReset();
    app.music.close();
}
