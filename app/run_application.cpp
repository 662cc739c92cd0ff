#include "app/run_application.h"

#include <GL/gl.h>

#include "app/app_context.h"
#include "app/config.h"
#include "app/main_loop.h"
#include "app/play_reset.h"
#include "audio/audio_output.h"
#include "audio/voice_thread.h"
#include "gfx/image_texture.h"
#include "gfx/title_cache.h"
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
    // The first titles are made now, so that the select screen opens with the fonts ready; every
    // other title is made when a screen first draws it.
    Catalogue &catalogue = app.catalogue;
    for (uint16_t i = 0; i < catalogue.titleTextures.size() && i < MadeTitleLimit; i++) {
        createTitleTexture(catalogue.titleTextures[i]);
        catalogue.madeTitles.push_back(i);
    }
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
    std::vector<uint16_t>().swap(app.catalogue.madeTitles);
    app.catalogue.songCount = 0;
}

void runApplication()
{
    PlatformThread *voices = startUp();
    runMainLoop();
    shutDown(voices);
}
