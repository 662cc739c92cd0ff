#pragma once

// The player's pitch in semitones from the pointer: the field between the margins spans two
// octaves around its centre, shifted by the octave the current note is drawn in.
double playerPitchAt(double pointerX, int clientWidth, int fieldMargin, int octave);
