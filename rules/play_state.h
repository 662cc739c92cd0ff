#pragma once
// Wiped at every song: resetPlayState (game/) clears it at start-up, at every song start and when
// play is abandoned; playStartTime, keyHeldFrames, lastJudgement and the pitches it leaves to the
// song start and to every frame. Written by the play update (game/) and, for resultTime and
// phaseStartTime, by the song end and the screen flow; read by the renderer, and through the
// atomics by the voice thread.
#include <atomic>
#include <cstdint>

#include "rules/judgement.h"

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

extern PlayState play;
