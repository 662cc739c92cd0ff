#pragma once
// Fills ring slot `slot` of voice `voiceIndex` with the current wave type at `pitch` semitones
// from the reference tone, carrying the voice's phase on to the next buffer.
void synthesizeBuffer(int slot, int voiceIndex, double pitch);
