#include "app/run_application.h"

#include <cstdio>

#include "app/app_context.h"
#include "app/apply_player_settings.h"
#include "app/config.h"
#include "app/main_loop.h"
#include "audio/audio_output.h"
#include "audio/calibration_clicks.h"
#include "audio/voice_thread.h"
#include "audio/voice_wake.h"
#include "game/input_mode.h"
#include "game/play_reset.h"
#include "gfx/image_texture.h"
#include "gfx/title_cache.h"
#include "gfx/title_textures.h"
#include "library/best_scores.h"
#include "library/ranking.h"
#include "library/song_list.h"
#include "platform/paths.h"
#include "platform/thread.h"
#include "platform/timer.h"
#include "platform/trace.h"
#include "rules/settings_state.h"

// The timer is already millisecond-exact and C++ allocation needs no heap of its own, so the
// timer period and the audio heap have no step here.
PlatformThread *startUp()
{
    connectSubsystems();
    const FileLocations &locations = fileLocations();
    trace("paths config=%s data=%s songs=%s", locations.settings.c_str(), locations.savedData.c_str(),
          locations.userSongs.c_str());
    std::string reason;
    if (!makeUserFolders(locations, reason))
        std::fprintf(stderr, "lumatide: %s; settings and scores cannot be saved\n", reason.c_str());
    const std::string iniPath = settingsFilePath();
    shell.bufferLengthMs = loadBufferLengthMs(iniPath);
    applyPlayerSettings(loadPlayerSettings(iniPath));
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
    loadBestScores();
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
    stopCalibrationClicks();
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
