#include "app/start_up.h"

#include <GL/gl.h>

#include "app/app_context.h"
#include "app/config.h"
#include "app/credit_count_up.h"
#include "app/message_pump.h"
#include "app/play_reset.h"
#include "app/trace.h"
#include "audio/audio_output.h"
#include "audio/voice_thread.h"
#include "game/menus.h"
#include "game/play_update.h"
#include "gfx/image_texture.h"
#include "gfx/render_frame.h"
#include "gfx/title_textures.h"
#include "library/ranking.h"
#include "library/song_list.h"
#include "platform/paths.h"
#include "platform/thread.h"
#include "platform/timer.h"

static const char *stateName(int state)
{
    switch (state) {
    case Select: return "Select";
    case Play: return "Play";
    case Title: return "Title";
    case Result: return "Result";
    default: return "?";
    }
}

// The timer is already millisecond-exact and C++ allocation needs no heap of its own, so the
// timer period and the audio heap have no step here.
static PlatformThread *startUp()
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

static void runFrame()
{
    // Without swap control the buffer swap waits for the display; with it the wait paces frames.
    pumpMessagesFor(app.shell.swapControlMissing ? 1 : 17);
    switch (app.menu.state.load(std::memory_order_relaxed)) {
    case Select:
        app.menu.autoplay = 0;
        updateMenus();
        break;
    case Play:
        updateMenus();
        updatePlay();
        break;
    case Title:
    case Result:
        updateCreditCountUp();
        updateMenus();
        break;
    }
    renderFrame();
}

static void runMainLoop()
{
    int tracedState = app.menu.state.load(std::memory_order_relaxed);
    trace("state %s", stateName(tracedState));
    while (!app.shell.quitRequested) {
        runFrame();
        const int state = app.menu.state.load(std::memory_order_relaxed);
        if (state != tracedState) {
            tracedState = state;
            trace("state %s", stateName(state));
        }
    }
    trace("quit");
}

static void shutDown(PlatformThread *voices)
{
    saveRanking();
    app.shell.voiceThreadRunning.store(0, std::memory_order_relaxed);
    threadJoin(voices);
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

int runApplication()
{
    PlatformThread *voices = startUp();
    runMainLoop();
    shutDown(voices);
    return 0;
}
