#pragma once
#include <cstdint>

#include "rules/judgement.h"

struct JudgementGain {
    double gauge = 0.0;
    double score = 0.0;
};

// What one recorded judgement adds to the gauge and the score. A song whose every judged note is
// GREAT scores 100000 before its BONUS. A chart without judged notes gains nothing.
JudgementGain judgementGain(Judgement judgement, uint16_t judgedNoteCount, double gaugeRate);

double clampGauge(double gauge);

// CLEAR exactly when the gauge reaches the song's clear line.
bool songCleared(double gauge, double clearNorm);

// BONUS for a finished song: from 0 at the clear line up to level x 2000 at a full gauge, cut
// down to a multiple of 10.
int clearBonusFor(double gauge, double clearNorm, int level);

// A score as it is booked and shown: rounded to a multiple of 10, halves up.
int roundedScore(double score);

// The stage's booked score: the rounded song score plus BONUS.
int bookedStageScore(double score, int clearBonus);

// A stage score at or above this unlocks the extra songs: 100000 at level 1, 1500 less per level.
int unlockThreshold(int level);
