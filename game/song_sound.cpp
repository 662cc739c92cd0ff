#include "game/song_sound.h"

#include "audio/music_stream.h"
#include "audio/voice_thread.h"

void stopSongSound()
{
    requestVoiceReset();
    music.close();
}
