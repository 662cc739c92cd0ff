#pragma once
// The one global record of the running game. Sub-records group the fields by the subsystem that
// owns them; each banner says who writes the record and when it is reset. Values that the voice
// thread or the audio thread read are std::atomic and are accessed with relaxed loads and stores.
#include <atomic>
#include <cstdint>
#include <vector>

#include "audio/music_stream.h"
#include "audio/tone_voice.h"
#include "gfx/screen_control.h"
#include "gfx/title_texture.h"
#include "library/chart.h"
#include "library/song_entry.h"

enum GameState { Select = 0, Play = 1, Title = 2, Result = 3 };
enum Judgement { Miss = 0, Good = 1, Great = 2 };

// Start-up and shutdown; read once from conf.ini.
struct ShellState {
    int bufferLengthMs = 20;
    int swapControlMissing = 1;
    int quitRequested = 0;
    std::atomic<int> voiceThreadRunning{0};
};

// Written by the window procedure on size and mouse messages; controls by the layout reset.
struct WindowState {
    std::atomic<int> clientWidth{640};
    std::atomic<int> clientHeight{480};
    double aspect = 0.75;
    std::atomic<int> fieldMargin{40};
    std::atomic<double> pointerX{0.0};
    double pointerY = 0.0;
    std::atomic<double> voiceGain{0.75};
    int hoverControl = 0;
    int controlCode = 0;
    ScreenControl controls[5];      // index 0 is control 1 (previous song) ... 4 is control 5
};

// Screen flow and menu keys; written by updateMenus.
struct MenuState {
    std::atomic<int> state{Title};
    std::atomic<int> waveType{0};
    std::atomic<int> unison{0};
    double scrollSpeed = 1.0;
    uint16_t selectedSong = 0;
    int autoplay = 0;
    int waveKeyHeldFrames = 0;
    int unisonKeyHeldFrames = 0;
    int leftHeldFrames = 0;
    int rightHeldFrames = 0;
    int scrollKeyHeldFrames = 0;
    uint32_t lastRepeatTime = 0;
};

// Per-song play state; written by updatePlay, reset by resetPlayState at every song start.
struct PlayState {
    double playerPitch = 0.0;
    double previousPitch = 0.0;
    int songTimeMs = 0;
    double beatPhase = 0.0;
    uint32_t playStartTime = 0;
    uint32_t phaseStartTime = 0;
    uint32_t resultTime = 0;
    uint32_t fullComboTime = 0;
    std::atomic<int> keyHeldFrames{0};
    int hitLatch = 0;
    int linkActive = 0;
    int linkOnPitch = 0;
    uint32_t releaseStartTime = 0;
    int lastJudgement = Miss;
    uint32_t lastJudgementTime = 0;
    int judgementCounts[3] = {0, 0, 0};
    uint16_t combo = 0;
    double gauge = 20.0;
    double score = 0.0;
    double displayedScore = 0.0;
    int samePitchAsPrevious = 0;
    std::atomic<int> octave{4};
};

// Stages of one credit and the ranking; written by the song end and the credit start.
struct CreditState {
    int stage = 0;
    int creditJudgementCounts[3] = {0, 0, 0};
    int clearBonus = 0;
    int stageScores[2] = {0, 0};
    int creditScore = 0;
    int extraUnlocked = 0;
    int newRankIndex = 10;
    int songEndHandled = 0;
    int ranking[10] = {150000, 140000, 130000, 120000, 110000, 100000, 90000, 80000, 70000, 60000};
};

// Built once at start-up by loadSongList; only the played flags change afterwards. The titles
// are made by start-up (the first few) and by the screens that draw them (titleToDraw), which
// keeps madeTitles; shutdown releases them all.
struct Catalogue {
    std::vector<SongEntry> songs;
    std::vector<TitleTexture> titleTextures;
    uint16_t songCount = 0;
    std::vector<uint16_t> madeTitles;   // entries whose title holds a texture, least recently drawn first
};

// GL resources and constants made at start-up.
struct GfxState {
    unsigned fontTexture = 0;
    unsigned waveTexture = 0;
};

// Constants of the tone synthesizer, computed at load.
struct SynthConstants {
    double semitoneRatio = 0.0;
    int referenceHz = 0;
};

struct AppContext {
    ShellState shell;
    WindowState window;
    MenuState menu;
    PlayState play;
    CreditState credit;
    Catalogue catalogue;
    Chart chart;
    MusicStream music;
    ToneVoice voices[VoiceCount];
    GfxState gfx;
    SynthConstants synth;

    AppContext();
};

extern AppContext app;

// Puts every field back to its load-time value (tests start each case from a fresh context).
void resetAppContext();
