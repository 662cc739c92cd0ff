#pragma once
// Choices every imported song needs, whatever it came from.
#include <string>
#include <vector>

#include "chart_draft.h"

// The whole-octave shift (in octaves) that leaves the fewest of these pitches outside the play
// field's two octaves (C3 .. B4, -12 .. 11), so the fewest need folding; a tie goes to the
// smallest shift, and upward before downward.
int octaveShiftForField(const std::vector<int> &pitches);

// How many times bpm is halved (negative: doubled) to come into 60..200, a range the game's
// scrolling reads well; never more than mostHalvings or mostDoublings times.
int tempoFolds(double bpm, int mostHalvings, int mostDoublings);

// 1..7 from the judged notes' density and pitch range: see docs/importing.md.
int importedLevel(const ChartDraft &draft);

// "Artist - Title" as a folder name: no path separators, no characters other systems refuse, no
// '.' (the song list takes the text after a name's first '.' as its extension), at most 120 bytes.
std::string songFolderName(const std::string &artist, const std::string &title);

// False, with the reason ("notes run to 2:46:40, beyond an hour"), when a note lies more than an
// hour from the music's start: a mistyped beat or tick that far would make millions of measures.
bool withinSoundLength(double firstNoteMs, double lastNoteMs, std::string &whyNot);
