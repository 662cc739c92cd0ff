#pragma once
// A demo song as its composer writes it: the guide melody in chart notes, the chords and the drum
// groove of every measure, and the few choices that colour the whole arrangement.
#include <cstdint>
#include <string>
#include <vector>

enum class Groove { Silent, Hats, Backbeat, Drive, HalfTime, Waltz, Fill, Ending };
enum class BassLine { Sustain, Beats, Eighths };
enum class PianoPattern { Held, Beats, Offbeats, Arpeggio };

// One measure. melody has one item per equal slot of the measure: a chart note without its
// blank accidental ("4e", "3f+", "4C" linked, "$g" ghost), "." to keep the previous note
// sounding, "_" for silence. chords has one symbol per equal share, "." keeping the previous one.
struct SheetMeasure {
    std::string melody;
    std::string chords;
    Groove groove = Groove::Backbeat;
    int meterTop = 4;
    int meterBottom = 4;
};

struct SongStyle {
    BassLine bass = BassLine::Beats;
    PianoPattern piano = PianoPattern::Beats;
    bool pad = true;
    double padCutoffHz = 1800.0;
};

struct SongSheet {
    std::string stem; // the chart is stem + ".txt", its music stem + ".ogg"
    std::string title;
    int level = 1;
    double bpm = 120.0;
    std::string offset; // seconds, written after "OFFSET:"
    uint32_t seed = 1;  // drum noise; fixed so every build writes the same bytes
    SongStyle style;
    std::vector<SheetMeasure> measures;
};
