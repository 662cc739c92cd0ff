#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Where a note stands in the play: open until it is taken or passes; a slide's end closes when the
// slide ends or when the note leading into it was missed.
enum NoteState : uint16_t { NoteTaken = 0, NoteOpen = 1, NoteClosed = 2 };

struct ChartNote {
    double screenX = 0.0; // view units, rewritten every frame by the renderer
    double screenY = 0.0;
    double pitch = 0.0;  // semitones from C of octave 4, as written
    uint32_t timeMs = 0; // song clock, wraps
    int linked = 0;      // upper-case letter: leads into the next note (a slide)
    uint16_t grade = 0;  // Judgement shown for the note
    NoteState state = NoteOpen;
    uint16_t holdCount = 0;
    int octaveShift = 0;       // whole octaves added for display
    int ghost = 0;             // shifted-digit octave: not judged unless AUTOPLAY
    uint32_t gradeTime = 0;    // timer time of the judgement
    ChartNote *next = nullptr; // next non-ghost note; null for the last note
    ChartNote *prev = nullptr; // previous non-ghost note; never null after parsing
};

// A chart. notes holds noteCount + 1 records: the spare record after the last note is where the
// judgement cursor rests when every note has passed.
struct Chart {
    std::vector<ChartNote> notes;
    uint16_t noteCount = 0;
    uint16_t judgedNoteCount = 0;
    double bpm = 0.0;
    int32_t offsetMs = 0;
    double measureLength = 1.0;
    uint16_t measureCount = 0;
    std::vector<uint32_t> measureTimes;
    uint32_t msPerBeat = 0;
    std::string musicPath;
    uint16_t measureIndex = 0;
    int32_t noteIndex = 0;
    ChartNote *currentNote = nullptr;
    uint16_t lowestOctave = 3;
    uint16_t highestOctave = 4;
    double clearNorm = 0.8;
    double gaugeRate = 0.6;
};

// Wiped at every song: the chart of the song being played, which parseChart (game/) reads anew at
// every song start and resetPlayState (game/) rewinds. The play update (game/) writes the notes'
// state, holdCount and grades and the cursor; the renderer (gfx/) writes screenX and screenY, which
// AUTOPLAY steers by.
extern Chart chart;
