#include "app/run_application.h"

#include "app/app_context.h"
#include "app/config.h"
#include "app/main_loop.h"
#include "app/voice_config.h"
#include "audio/audio_output.h"
#include "audio/voice_thread.h"
#include "audio/voice_wake.h"
#include "game/input_mode.h"
#include "game/play_reset.h"
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
    connectSubsystems();
    shell.bufferLengthMs = loadBufferLengthMs(exeDirectory() + "/conf.ini");
    loadVoiceConfig(exeDirectory() + "/conf.ini");
    loadImageTexture("font_l.png", &gfx.fontTexture);
    loadImageTexture("wave.png", &gfx.waveTexture);
    resetPlayState();
    shell.voiceThreadRunning.store(1, std::memory_order_relaxed);
    PlatformThread *voiceThreadHandle = threadStart(voiceThread);
    startAudioOutput();
    openVoices();
    loadSongList();
    // The first titles are made now, so that the select screen opens with the fonts ready; every
    // other title is made when a screen first draws it.
    for (uint16_t i = 0; i < catalogue.titleTextures.size() && i < MadeTitleLimit; i++)
        titleToDraw(catalogue, i);
    menu.autoplay = 0;
    menu.state.store(Title, std::memory_order_relaxed);
    play.phaseStartTime = timerNowMs();
    loadRanking();
    saveRanking();
    return voiceThreadHandle;
}

void shutDown(PlatformThread *voiceThreadHandle)
{
    saveRanking();
    stopVoiceInput();
    shell.voiceThreadRunning.store(0, std::memory_order_relaxed);
    wakeVoiceThread();
    threadJoin(voiceThreadHandle);
    music.close();
    releaseImageTextures();
    closeVoices();
    stopAudioOutput();
    for (TitleTexture &title : catalogue.titleTextures)
        releaseTitleTexture(title);
    chart.currentNote = nullptr;
    std::vector<ChartNote>().swap(chart.notes);
    chart.noteCount = 0;
    std::vector<uint32_t>().swap(chart.measureTimes);
    std::vector<SongEntry>().swap(catalogue.songs);
    std::vector<TitleTexture>().swap(catalogue.titleTextures);
    std::vector<uint16_t>().swap(catalogue.madeTitles);
    catalogue.songCount = 0;
}

void runApplication()
{
    PlatformThread *voiceThreadHandle = startUp();
    runMainLoop();
    shutDown(voiceThreadHandle);
}
