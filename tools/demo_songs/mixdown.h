#pragma once
// Balances the stems, adds room and echo, and sets the level of the finished music.
#include "song_stems.h"

// Peak of the finished music: the player's tone (up to a third of full scale) is mixed on top of
// it by the game and must not push the sum into clipping.
constexpr double MusicPeak = 0.6;

StereoBuffer mixdown(const SongStems &stems, double msPerBeat);
