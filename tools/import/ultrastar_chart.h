#pragma once
#include <string>

#include "chart_draft.h"
#include "ultrastar_reader.h"

// The notes of one part (1 or 2) as a chart draft: a note at beat b is heard at
// GAP + b x 15000 / BPM ms; its pitch is the karaoke pitch - 12, moved by the whole octaves
// (octaveShift, reported) that leave the fewest notes to fold. Title, music and source are the
// caller's. False, with the reason, when the part has no notes.
bool ultraStarDraft(const UltraStarSong &song, int part, ChartDraft &draft, int &octaveShift, std::string &whyNot);
