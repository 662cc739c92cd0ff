#pragma once
// Charts for the render tests, linked as the parser links them, and the window they are drawn in.
#include <cstdint>
#include <vector>

#include "library/chart.h"

// Replaces the chart's notes with these, in order, and the spare record after the last; links
// them and puts the judgement cursor on the first note.
void setChartNotes(Chart &chart, const std::vector<ChartNote> &notes);

// Open notes at these times, ghosts where ghosts[i] is 1.
std::vector<ChartNote> notesAt(const std::vector<uint32_t> &times, const std::vector<int> &ghosts = {});

// Moves the judgement cursor to note index.
void setCursor(Chart &chart, int index);

// The play screen of a song at 120 BPM, 20 s in at nowMs, the music streaming, scroll speed 1.
void showPlayScreen(uint32_t nowMs);

// The window as a client of width x height with the play reset's margin, controls laid out anew.
void useClientSize(int width, int height);
