#include "app/run_application.h"

#include <GL/gl.h>

#include "app/app_context.h"
#include "app/config.h"
#include "app/main_loop.h"
#include "game/play_reset.h"
#include "audio/audio_output.h"
#include "audio/voice_thread.h"
#include "gfx/image_texture.h"
#include "gfx/title_textures.h"
#include "library/ranking.h"
#include "library/song_list.h"
#include "platform/paths.h"
#include "platform/thread.h"
#include "platform/timer.h"

// The timer is already millisecond-exact and C++ allocation needs no heap of its own, so the
// timer period and the audio heap have no step here.
PlatformThread *startUp()
{
    app.shell.bufferLengthMs = loadBufferLengthMs(exeDirectory() + "/conf.ini");
    loadImageTexture("font_l.png", &app.gfx.fontTexture);
    loadImageTexture("wave.png", &app.gfx.waveTexture);
    resetPlayState();
    app.shell.voiceThreadRunning.store(1, std::memory_order_relaxed);
    PlatformThread *voices = threadStart(voiceThread);
    startAudioOutput();
    openVoices();
    loadSongList();
    for (TitleTexture &title : app.catalogue.titleTextures)
        createTitleTexture(title);
    app.menu.autoplay = 0;
    app.menu.state.store(Title, std::memory_order_relaxed);
    app.play.phaseStartTime = timerNowMs();
    loadRanking();
    saveRanking();
    return voices;
}

void shutDown(PlatformThread *voiceThreadHandle)
{
    saveRanking();
    app.shell.voiceThreadRunning.store(0, std::memory_order_relaxed);
    threadJoin(voiceThreadHandle);
    app.music.close();
    glDeleteTextures(1, &app.gfx.fontTexture);
    glDeleteTextures(1, &app.gfx.waveTexture);
    app.gfx.fontTexture = 0;
    app.gfx.waveTexture = 0;
    closeVoices();
    stopAudioOutput();
    for (TitleTexture &title : app.catalogue.titleTextures)
        releaseTitleTexture(title);
    Chart &chart = app.chart;
    chart.currentNote = nullptr;
    std::vector<ChartNote>().swap(chart.notes);
    chart.noteCount = 0;
    std::vector<uint32_t>().swap(chart.measureTimes);
    std::vector<SongEntry>().swap(app.catalogue.songs);
    std::vector<TitleTexture>().swap(app.catalogue.titleTextures);
    app.catalogue.songCount = 0;
}

void runApplication()
{
    PlatformThread *voices = startUp();
    runMainLoop();
    shutDown(voices);
}
