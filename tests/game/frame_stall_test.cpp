// One long frame anywhere in a song: a loaded machine or a slow disk holds the main thread while
// the music, and with it the song clock, runs on. Notes may pass unplayed in that time, but none
// may go unjudged or be judged twice.
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "play_fixture.h"

namespace {

constexpr int FrameMs = 16;
constexpr int SongEndMs = 6000;

// Slides (one with a ghost note inside it, one chained, one started from a chord), chords, ghost
// notes, two notes of one pitch and an upper-case last note.
const std::vector<TestNote> StallChart = {
    {1000, 0.0},    {1500, 4.0, 1}, {1650, 9.0, 0, 1}, {1800, 7.0},        {2500, 2.0}, {2500, 5.0},
    {3000, 0.0, 1}, {3150, 4.0, 1}, {3500, 7.0},       {3700, 11.0, 0, 1}, {4000, 0.0}, {4000, 4.0, 1},
    {4400, 2.0},    {5000, 5.0},    {5250, 5.0},       {5600, 9.0, 1},
};

// A player who plays StallChart all GREAT at an even frame rate: the key down from `from` to `to`,
// the pointer on each pitch from its time on.
struct Press {
    int from;
    int to;
    std::vector<std::pair<int, double>> pitches;
};
const Press Presses[] = {
    {960, 1060, {{960, 0.0}}},
    {1460, 1860, {{1460, 4.0}, {1740, 7.0}}},
    {2460, 2560, {{2460, 2.0}, {2492, 5.0}}},
    {2960, 3560, {{2960, 0.0}, {3090, 4.0}, {3440, 7.0}}},
    {3960, 4460, {{3960, 0.0}, {3992, 4.0}, {4340, 2.0}}},
    {4960, 5060, {{4960, 5.0}}},
    {5210, 5310, {{5210, 5.0}}},
    {5560, 5660, {{5560, 9.0}}},
};

struct ScriptedInput {
    bool keyDown;
    double pitch;
};

// Between presses the key is up and the pointer already waits on the next press's first pitch.
ScriptedInput scriptedInputAt(int t)
{
    for (const Press &press : Presses) {
        if (t < press.from)
            return {false, press.pitches.front().second};
        if (t <= press.to) {
            double pitch = press.pitches.front().second;
            for (const auto &[from, p] : press.pitches)
                if (t >= from)
                    pitch = p;
            return {true, pitch};
        }
    }
    return {false, 0.0};
}

} // namespace

class FrameStall : public PlayFixture {
protected:
    struct Outcome {
        std::vector<int> judgements; // per note: how many were recorded
        std::vector<int> leftAt;     // per note: the clock of the frame the cursor left it in
        std::string failure;         // empty when the frames kept the rules' own bookkeeping
    };

    // Frames every FrameMs, except that the frame after `stallStep` comes `stallMs` late
    // (stallStep -1: never). Each recorded judgement is put down to the note that was current
    // when its frame began: the note tables and a slide let go both judge that note.
    Outcome play(bool autoplay, int stallStep, int stallMs)
    {
        SetUp();
        loadTestChart(StallChart);
        beginSong(autoplay);
        Outcome out;
        out.judgements.assign(StallChart.size(), 0);
        out.leftAt.assign(StallChart.size(), -1);
        int t = 0;
        for (int step = 0; t <= SongEndMs || chart.noteIndex < chart.noteCount; step++) {
            if (step > 2000) {
                out.failure = "the cursor never reached the end";
                return out;
            }
            const int32_t current = chart.noteIndex;
            const int before = recorded();
            if (autoplay) {
                // What the renderer does every frame: the pointer glides to the notes' columns.
                for (ChartNote &note : chart.notes)
                    note.screenX = pointerXForPitch(note.pitch) / window.clientWidth.load() * 2.0 - 1.0;
                frame(t);
            } else {
                const ScriptedInput input = scriptedInputAt(t);
                frame(t, input.keyDown, input.pitch);
            }
            if (recorded() > before + 1) {
                out.failure = "two judgements in one frame at t=" + std::to_string(t);
                return out;
            }
            if (recorded() == before + 1)
                out.judgements[current]++;
            for (int32_t i = current; i < chart.noteIndex; i++)
                out.leftAt[i] = t;
            t += FrameMs + (step == stallStep ? stallMs : 0);
        }
        music.streamState.store(Finished);
        frame(t);
        return out;
    }
};

TEST_F(FrameStall, EveryJudgedNoteIsJudgedOnceHoweverLongAFrameTakes)
{
    // Unstalled, both players take every note GREAT: the stalled runs below start from that.
    for (const bool autoplay : {true, false}) {
        const Outcome even = play(autoplay, -1, 0);
        ASSERT_EQ(even.failure, "") << (autoplay ? "AUTOPLAY" : "by hand");
        EXPECT_EQ(count(Great), chart.judgedNoteCount) << (autoplay ? "AUTOPLAY" : "by hand");
    }

    std::vector<std::string> failures;
    for (const bool autoplay : {true, false}) {
        for (const int stallMs : {50, 200, 500, 2000}) {
            for (int stallStep = 0; stallStep * FrameMs <= SongEndMs; stallStep++) {
                const Outcome out = play(autoplay, stallStep, stallMs);
                std::ostringstream problem;
                if (!out.failure.empty())
                    problem << " " << out.failure;
                for (size_t i = 0; i < StallChart.size(); i++) {
                    const ChartNote &note = chart.notes[i];
                    const int expected = note.ghost == 1 ? 0 : 1;
                    if (out.judgements[i] == expected)
                        continue;
                    // By hand, a slide whose start passed unplayed cannot be played: its end is
                    // closed and passes unjudged, as at any frame rate. AUTOPLAY misses nothing.
                    const ChartNote &start = *note.prev;
                    const size_t s = static_cast<size_t>(&start - chart.notes.data());
                    const bool startPassed = s != i && start.linked == 1 && start.next == &note &&
                                             out.leftAt[s] - static_cast<int>(start.timeMs) > 200;
                    if (!autoplay && out.judgements[i] == 0 && startPassed)
                        continue;
                    problem << " note " << i << " judged " << out.judgements[i] << " times;";
                }
                if (autoplay && count(Great) != chart.judgedNoteCount)
                    problem << " " << count(Great) << " GREAT of " << chart.judgedNoteCount << " notes;";
                if ((::play.fullComboTime != 0) != (count(Miss) == 0))
                    problem << " FULL COMBO " << (::play.fullComboTime != 0 ? "with " : "without ") << count(Miss)
                            << " MISS;";
                if (!problem.str().empty()) {
                    std::ostringstream row;
                    row << (autoplay ? "AUTOPLAY" : "by hand") << ", " << stallMs << " ms stall after step "
                        << stallStep << " (t=" << stallStep * FrameMs << "):" << problem.str();
                    failures.push_back(row.str());
                }
            }
        }
    }
    std::string shown;
    for (size_t i = 0; i < failures.size() && i < 12; i++)
        shown += failures[i] + "\n";
    EXPECT_TRUE(failures.empty()) << failures.size() << " stalled runs went wrong, the first of them:\n" << shown;
}
