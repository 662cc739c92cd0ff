#include <cmath>
#include <functional>
#include <set>
#include <string>

#include "play_fixture.h"

#include "platform/fake/fake_platform.h"
#include "platform/keys.h"

namespace {

constexpr int FrameMs = 16;

struct Step {
    int t;
    bool keyDown;
    double pitch;
};

} // namespace

class PlayRules : public PlayFixture {
protected:
    void run(const std::vector<Step> &steps)
    {
        for (const Step &s : steps)
            frame(s.t, s.keyDown, s.pitch);
    }

    // Frames every FrameMs from `from` up to and including `to`; `pitchAt` gives the pointer.
    void hold(int from, int to, bool keyDown, const std::function<double(int)> &pitchAt)
    {
        for (int t = from; t <= to; t += FrameMs)
            frame(t, keyDown, pitchAt(t));
    }
};

TEST_F(PlayRules, FreshPressTimingAndPitch)
{
    struct Case {
        int offset;      // press time minus note time
        double pitchOff; // semitones between pointer and note
        int expected;    // Judgement, or -1 for nothing this frame
    };
    const Case cases[] = {
        {-74, 0.0, Great}, {-75, 0.0, Good}, {-149, 0.0, Good}, {-150, 0.0, -1},  {74, 0.4, Great},
        {80, 0.9, Good},   {80, 1.0, Miss},  {80, 2.5, -1},     {-99, 2.4, Miss}, {100, 1.0, -1},
        {149, 0.3, Good},  {150, 0.3, -1},   {0, 0.5, Good},    {0, -0.9, Good},
    };
    for (const Case &c : cases) {
        SetUp();
        loadTestChart({{1000, 7.0}, {5000, 0.0}});
        beginSong();
        moveCursorTo(1);
        const int pressAt = 5000 + c.offset;
        frame(pressAt - FrameMs, false, c.pitchOff);
        frame(pressAt, true, c.pitchOff);
        const ChartNote &note = chart.notes[1];
        if (c.expected < 0) {
            EXPECT_EQ(recorded(), 0) << c.offset << " ms, " << c.pitchOff;
            EXPECT_EQ(note.state, 1) << c.offset << " ms, " << c.pitchOff;
        } else {
            EXPECT_EQ(recorded(), 1) << c.offset << " ms, " << c.pitchOff;
            EXPECT_EQ(play.lastJudgement, c.expected) << c.offset << " ms, " << c.pitchOff;
            EXPECT_EQ(note.grade, c.expected) << c.offset << " ms, " << c.pitchOff;
            EXPECT_EQ(chart.noteIndex, 2);
            EXPECT_EQ(play.hitLatch, 1);
        }
    }
}

TEST_F(PlayRules, UnplayedNoteIsMissedOnce201MsPast)
{
    loadTestChart({{1000, 0.0}, {2000, 4.0}});
    beginSong();
    hold(0, 1192, false, [](int) { return 0.0; });
    frame(1200);
    EXPECT_EQ(recorded(), 0);
    frame(1201);
    EXPECT_EQ(count(Miss), 1);
    EXPECT_EQ(chart.notes[0].state, 0);
    EXPECT_EQ(chart.noteIndex, 1);
    EXPECT_EQ(play.combo, 0);
    EXPECT_DOUBLE_EQ(play.gauge, 18.0);
    EXPECT_EQ(play.lastJudgementTime, TimerAtClockZero + 1201);
}

TEST_F(PlayRules, KeyHeldIntoTheFirstNoteIsAMissAbout250MsEarly)
{
    loadTestChart({{2000, 0.0}, {4000, 0.0}});
    beginSong();
    frame(0, false, 0.0);
    int missedAt = -1;
    for (int t = FrameMs; t <= 4400 && recorded() < 2; t += FrameMs) {
        frame(t, true, 0.0);
        if (recorded() == 1 && missedAt < 0)
            missedAt = t;
        if (t < 4200) {
            ASSERT_LE(recorded(), 1) << "the later note is nothing until it passes, t=" << t;
        }
    }
    EXPECT_EQ(missedAt, 1760) << "first frame past 250 ms before the note";
    EXPECT_EQ(count(Miss), 2);
    EXPECT_EQ(play.combo, 0);
}

TEST_F(PlayRules, KeyHeldSinceTheSongStartPlaysNothing)
{
    loadTestChart({{500, 0.0}, {900, 2.0}});
    beginSong();
    hold(0, 720, true, [](int t) { return t < 600 ? 0.0 : 2.0; });
    EXPECT_EQ(play.keyHeldFrames.load(), -1);
    EXPECT_EQ(count(Miss), 1) << "the first note passes";
    frame(736, false, 2.0);
    frame(880, true, 2.0);
    EXPECT_EQ(count(Great), 1);
}

TEST_F(PlayRules, SamePitchNeedsANewPressOtherPitchCanBeSlidTo)
{
    // Holding on, the pointer trembles by 0.48 semitone a frame so the entry test keeps holding.
    const auto tremble = [](double centre) {
        return [centre](int t) { return centre + ((t / FrameMs) % 2 ? 0.24 : -0.24); };
    };
    struct Case {
        const char *name;
        double secondPitch;
        bool releaseBetween;
        int great;
        int miss;
    };
    const Case cases[] = {
        {"same pitch held", 0.0, false, 1, 1},
        {"same pitch pressed again", 0.0, true, 2, 0},
        {"other pitch slid to", 3.0, false, 2, 0},
    };
    for (const Case &c : cases) {
        SetUp();
        loadTestChart({{1000, 0.0}, {1400, c.secondPitch}});
        beginSong();
        frame(984, false, 0.0);
        frame(1000, true, 0.0);
        ASSERT_EQ(count(Great), 1) << c.name;
        if (c.releaseBetween) {
            hold(1016, 1304, true, tremble(0.0));
            frame(1320, false, 0.0);
            hold(1392, 1700, true, tremble(c.secondPitch));
        } else {
            hold(1016, 1376, true, tremble(0.0));
            hold(1392, 1700, true, tremble(c.secondPitch));
        }
        EXPECT_EQ(count(Great), c.great) << c.name;
        EXPECT_EQ(count(Miss), c.miss) << c.name;
    }
}

TEST_F(PlayRules, SlideEndTolerance)
{
    struct Case {
        const char *name;
        int gap;           // slide start to slide end
        bool onPitchEarly; // on the end pitch 100 ms before the end
        int endOffset;     // when the pointer comes near the end pitch
        double pitchOff;
        int expected;
    };
    const Case cases[] = {
        {"short slide wide at once", 150, false, 20, 1.6, Good}, {"long slide narrow", 400, false, 20, 1.6, Miss},
        {"long slide within 0.85", 400, false, 20, 0.8, Good},   {"long slide on pitch", 400, false, 20, 0.3, Great},
        {"on pitch early widens", 400, true, 20, 1.6, Good},     {"late on pitch", 400, false, 100, 0.0, Good},
    };
    for (const Case &c : cases) {
        SetUp();
        const int end = 1000 + c.gap;
        loadTestChart({{1000, 0.0, 1}, {static_cast<uint32_t>(end), 5.0}, {3000, 0.0}});
        beginSong();
        frame(984, false, 0.0);
        frame(1000, true, 0.0);
        ASSERT_EQ(play.linkActive, 1) << c.name;
        for (int t = 1016; t <= end + 300; t += 4) {
            double pitch = 0.0;
            if (c.onPitchEarly && t >= end - 100 && t < end - 90)
                pitch = 5.0;
            if (t >= end + c.endOffset)
                pitch = 5.0 - c.pitchOff;
            frame(t, true, pitch);
        }
        EXPECT_EQ(recorded(), 2) << c.name;
        EXPECT_EQ(play.lastJudgement, c.expected) << c.name;
        EXPECT_EQ(chart.notes[1].state, c.expected == Miss ? 0 : 2) << c.name;
        EXPECT_EQ(play.linkActive, 0) << c.name;
    }
}

TEST_F(PlayRules, SlideReleases)
{
    // The grace is an unsigned difference of timer times: the same with the timer wrapping round
    // inside a release.
    const uint32_t timerBases[] = {TimerAtClockZero, timerWrappingAt(1410), timerWrappingAt(1910)};
    struct Case {
        const char *name;
        std::vector<std::pair<int, int>> releases; // key up from, key down again at (0: never)
        bool endedByRelease;
        int expected;
        int judgedAt;
    };
    const Case cases[] = {
        {"one short release is forgiven", {{1400, 1450}}, false, Great, 1928},
        {"a second release ends the slide at once", {{1400, 1450}, {1700, 0}}, true, Miss, 1700},
        {"let go for good near the end", {{1900, 0}}, true, Great, 2008},
        {"let go for good 150 ms early", {{1750, 0}}, true, Good, 1864},
    };
    for (const uint32_t timerBase : timerBases) {
        for (const Case &c : cases) {
            SetUp();
            clockZeroTimer = timerBase;
            const std::string name = std::string(c.name) + ", timer at clock zero " + std::to_string(timerBase);
            loadTestChart({{1000, 0.0, 1}, {2000, 0.0}, {4000, 7.0}});
            beginSong();
            frame(984, false, 0.0);
            frame(1000, true, 0.0);
            std::set<int> frameTimes;
            for (int t = 1016; t <= 2300; t += FrameMs)
                frameTimes.insert(t);
            for (const auto &[upFrom, downAt] : c.releases)
                frameTimes.insert({upFrom, downAt});
            int judgedAt = -1;
            for (int t : frameTimes) {
                if (t == 0 || judgedAt >= 0)
                    continue;
                bool down = true;
                for (const auto &[upFrom, downAt] : c.releases)
                    if (t >= upFrom && (downAt == 0 || t < downAt))
                        down = false;
                frame(t, down, 0.0);
                if (recorded() == 2)
                    judgedAt = t;
            }
            EXPECT_EQ(judgedAt, c.judgedAt) << name;
            EXPECT_EQ(play.lastJudgement, c.expected) << name;
            const ChartNote &graded = chart.notes[c.endedByRelease ? 0 : 1];
            EXPECT_EQ(graded.grade, c.expected) << name << ": a release grades the slide's first note";
            EXPECT_EQ(chart.notes[1].state, 2) << name;
            EXPECT_EQ(play.linkActive, 0) << name;
            // The end note, closed by the release, is stepped past without a second judgement.
            hold(2316, 2500, false, [](int) { return 0.0; });
            EXPECT_EQ(recorded(), 2) << name;
            EXPECT_EQ(chart.noteIndex, 2) << name;
        }
    }
}

TEST_F(PlayRules, ASlideOf200MsOrLessGetsTheWideEndToleranceAtOnce)
{
    for (const int gap : {199, 200, 201}) {
        SetUp();
        loadTestChart({{1000, 0.0, 1}, {static_cast<uint32_t>(1000 + gap), 5.0}, {3000, 0.0}});
        beginSong();
        frame(984, false, 0.0);
        frame(1000, true, 0.0);
        ASSERT_EQ(play.linkActive, 1) << gap;
        EXPECT_EQ(play.linkOnPitch, gap <= 200 ? 1 : 0) << gap << " ms";
    }
}

TEST_F(PlayRules, OnlyAKeyReportingNothingIsLetGo)
{
    // A state with only low bits set is not "down", but it is not nothing either: the slide
    // is still held and ends on its own note.
    loadTestChart({{1000, 0.0, 1}, {1400, 0.0}, {3000, 7.0}});
    beginSong();
    frame(984, false, 0.0);
    frame(1000, true, 0.0);
    fakeSetRawKeyState(KeySpace, 0x0001);
    hold(1016, 1400, false, [](int) { return 0.0; }); // no key events: the raw state alone
    fakeSetRawKeyState(KeySpace, 0);
    EXPECT_EQ(count(Great), 2);
    EXPECT_EQ(chart.notes[1].grade, Great) << "ended on the end note, not by a release";
    EXPECT_EQ(play.releaseStartTime, 0u);
    EXPECT_EQ(play.linkActive, 0);
}

TEST_F(PlayRules, ReleasePendingWhenTheSlidePassesDoesNotReachTheNextNote)
{
    loadTestChart({{1000, 0.0, 1}, {1500, 0.0}, {1800, 0.0}});
    beginSong();
    frame(984, false, 0.0);
    frame(1000, true, 0.0);
    // Released with a grace of 100 ms; the slide end passes within it.
    frame(1650, true, 7.0);
    frame(1660, true, 7.0);
    frame(1670, false, 7.0);
    frame(1701, false, 7.0);
    EXPECT_EQ(count(Miss), 1);
    EXPECT_EQ(play.releaseStartTime, 0u);
    frame(1790, false, 0.0);
    frame(1800, true, 0.0);
    EXPECT_EQ(count(Great), 2);
    EXPECT_EQ(chart.notes[2].grade, Great);
}

TEST_F(PlayRules, AChartEndingInAnUpperCaseNoteEndsWithThatNote)
{
    // By hand: the key down around each note, let go in between unless a slide runs; the pointer
    // moves to the second pitch at 1200.
    const auto pitch = [](int t) { return t < 1200 ? 0.0 : 2.0; };
    const auto twoPresses = [](int t) { return (t >= 992 && t <= 1100) || (t >= 1488 && t <= 1700); };
    const auto oneSlide = [](int t) { return t >= 992 && t <= 1500; };
    struct Case {
        const char *name;
        std::vector<TestNote> notes;
        std::function<bool(int)> keyDown;
    };
    const Case cases[] = {
        {"last note upper case", {{1000, 0.0}, {1500, 2.0, 1}}, twoPresses},
        {"a slide ending on an upper-case last note", {{1000, 0.0, 1}, {1300, 2.0, 1}}, oneSlide},
        {"upper-case note followed by ghost notes only", {{1000, 0.0}, {1500, 2.0, 1}, {1700, 4.0, 0, 1}}, twoPresses},
    };
    for (const Case &c : cases) {
        for (const bool autoplay : {false, true}) {
            SetUp();
            loadTestChart(c.notes);
            beginSong(autoplay);
            for (int t = 0; t <= 2500; t += FrameMs) {
                for (ChartNote &note : chart.notes)
                    note.screenX = pointerXForPitch(note.pitch) / window.clientWidth.load() * 2.0 - 1.0;
                if (autoplay)
                    frame(t);
                else
                    frame(t, c.keyDown(t), pitch(t));
            }
            const std::string name = std::string(c.name) + (autoplay ? " (AUTOPLAY)" : "");
            EXPECT_EQ(count(Great), 2) << name;
            EXPECT_EQ(recorded(), 2) << name << ": nothing is judged after the last note";
            EXPECT_EQ(play.linkActive, 0) << name;
            EXPECT_DOUBLE_EQ(play.score, 100000.0) << name;
            EXPECT_DOUBLE_EQ(play.gauge, 100.0) << name << ": two GREATs of two fill it";
            EXPECT_NE(play.fullComboTime, 0u) << name;
        }
    }
}

TEST_F(PlayRules, MissedLinkedNoteClosesItsSlideEnd)
{
    loadTestChart({{1000, 0.0, 1}, {1500, 3.0}, {2500, 0.0}});
    beginSong();
    hold(0, 1216, false, [](int) { return 0.0; });
    EXPECT_EQ(count(Miss), 1);
    EXPECT_EQ(chart.notes[1].state, 2);
    EXPECT_EQ(play.linkActive, 0);
    hold(1224, 1800, false, [](int) { return 3.0; });
    EXPECT_EQ(recorded(), 1) << "the closed slide end is passed without a judgement";
    EXPECT_EQ(chart.noteIndex, 2);
}

TEST_F(PlayRules, GhostNotesAreSteppedOverAndNeverCount)
{
    loadTestChart({{1000, 0.0}, {1100, 2.0, 0, 1}, {1200, 4.0, 0, 1}, {1400, 4.0}});
    beginSong();
    EXPECT_EQ(chart.judgedNoteCount, 2);
    frame(984, false, 0.0);
    frame(1000, true, 0.0);
    EXPECT_EQ(chart.noteIndex, 3);
    EXPECT_EQ(chart.currentNote, &chart.notes[3]);
    EXPECT_DOUBLE_EQ(play.score, 50000.0);
    frame(1384, false, 4.0);
    frame(1400, true, 4.0);
    EXPECT_EQ(count(Great), 2);
    EXPECT_DOUBLE_EQ(play.score, 100000.0);
    EXPECT_EQ(chart.notes[3].prev, &chart.notes[0]);
    frame(1416, true, 4.0);
    EXPECT_NE(play.fullComboTime, 0u);
}

TEST_F(PlayRules, AGhostNoteOpeningTheChartIsNeverCounted)
{
    // The cursor starts on it and only steps over ghost notes once it moves: the ghost passes.
    loadTestChart({{500, 2.0, 0, 1}, {1000, 0.0}});
    beginSong();
    hold(0, 720, false, [](int) { return 0.0; });
    EXPECT_EQ(chart.noteIndex, 1);
    EXPECT_EQ(recorded(), 0);
    EXPECT_DOUBLE_EQ(play.gauge, 20.0);
    frame(1000, true, 0.0);
    EXPECT_EQ(count(Great), 1);
    EXPECT_DOUBLE_EQ(play.score, 100000.0);
}

TEST_F(PlayRules, OctaveFollowsTheCurrentAndTheComingNote)
{
    // C5 is drawn an octave down: while it is current, or due within 200 ms with the key up,
    // the player's field moves up an octave. The song clock decides, not the timer, which may
    // wrap round meanwhile.
    for (const uint32_t timerBase : {TimerAtClockZero, timerWrappingAt(955)}) {
        SetUp();
        clockZeroTimer = timerBase;
        loadTestChart({{1000, 0.0}, {1150, 12.0, 0, 0, -1}, {2000, 0.0}});
        beginSong();
        frame(940, false, 0.0);
        EXPECT_EQ(play.octave.load(), 4) << timerBase;
        frame(950, false, 0.0);
        EXPECT_EQ(play.octave.load(), 4) << timerBase << ": due in exactly 200 ms";
        frame(951, false, 0.0);
        EXPECT_EQ(play.octave.load(), 5) << timerBase << ": due within 200 ms";
        frame(1000, true, -12.0);
        EXPECT_EQ(count(Great), 1) << timerBase << ": an octave down on the raised field plays C4";
        frame(1150, true, 0.0);
        EXPECT_EQ(count(Great), 2) << timerBase << ": the field's centre plays C5";
        EXPECT_EQ(play.octave.load(), 5) << timerBase << ": held, the field stays";
        frame(1300, false, 0.0);
        EXPECT_EQ(play.octave.load(), 4) << timerBase;
    }
}

TEST_F(PlayRules, ScoreGaugeComboAndCountUp)
{
    loadTestChart({{1000, 0.0}, {1500, 2.0}, {2000, 4.0}, {2500, 5.0}}, 500, 7);
    beginSong();
    frame(984, false, 0.0);
    frame(1000, true, 0.0); // GREAT
    frame(1400, false, 2.0);
    frame(1600, true, 2.0); // GOOD (100 ms late)
    EXPECT_EQ(play.combo, 2);
    hold(1616, 2208, false, [](int) { return 4.0; }); // note 3 passes: MISS
    EXPECT_EQ(play.combo, 0);
    frame(2480, true, 5.0); // GREAT
    EXPECT_EQ(play.combo, 1);
    EXPECT_DOUBLE_EQ(play.score, 25000.0 + 12500.0 + 25000.0);
    const double perHit = 100.0 / 0.98 / 4;
    EXPECT_NEAR(play.gauge, 20.0 + 3 * perHit - 2.0, 1e-9);
    EXPECT_EQ(count(Great), 2);
    EXPECT_EQ(count(Good), 1);
    EXPECT_EQ(count(Miss), 1);
    const double before = play.displayedScore;
    frame(2496);
    EXPECT_DOUBLE_EQ(play.displayedScore - before, 130.0);
    ASSERT_EQ(chart.noteIndex, chart.noteCount) << "every note has passed";
    EXPECT_EQ(play.fullComboTime, 0u) << "no FULL COMBO after a MISS";
}

TEST_F(PlayRules, GaugeStaysWithinItsBounds)
{
    struct Case {
        const char *name;
        double gaugeBefore;
        bool hit;
        double gaugeAfter;
    };
    const Case cases[] = {
        {"a MISS on an almost empty gauge", 1.0, false, 0.0},
        {"a GREAT on an almost full gauge", 99.0, true, 100.0},
    };
    for (const Case &c : cases) {
        SetUp();
        loadTestChart({{1000, 0.0}, {2000, 0.0}});
        beginSong();
        play.gauge = c.gaugeBefore;
        frame(984, false, 0.0);
        frame(1000, c.hit, c.hit ? 0.0 : 12.0);
        frame(1201, false, 0.0);
        ASSERT_EQ(recorded(), 1) << c.name;
        EXPECT_DOUBLE_EQ(play.gauge, c.gaugeAfter) << c.name;
    }
}

TEST_F(PlayRules, LeavingTheEndedSongTakesAFreshPressAfterASecond)
{
    struct Case {
        const char *name;
        uint32_t timerBase;
        int pressAfterEnd; // ms after resultTime
        bool heldThroughTheEnd;
        bool leaves;
    };
    // The song ends at clock 1016; timerWrappingAt(1516) puts resultTime 500 ms below the wrap.
    const Case cases[] = {
        {"fresh press at 1000 ms", TimerAtClockZero, 1000, false, false},
        {"fresh press at 1001 ms", TimerAtClockZero, 1001, false, true},
        {"held from before the end", TimerAtClockZero, 1500, true, false},
        {"fresh press at 1000 ms across the wrap", timerWrappingAt(1516), 1000, false, false},
        {"fresh press at 1001 ms across the wrap", timerWrappingAt(1516), 1001, false, true},
    };
    for (const Case &c : cases) {
        SetUp();
        clockZeroTimer = c.timerBase;
        loadTestChart({{1000, 0.0}});
        beginSong();
        frame(984, false, 0.0);
        frame(1000, true, 0.0);
        music.streamState.store(Finished);
        frame(1016, true, 0.0);
        ASSERT_EQ(credit.songEndHandled, 1) << c.name;
        ASSERT_EQ(play.resultTime, clockZeroTimer + 1016) << c.name;
        const int pressAt = 1016 + c.pressAfterEnd;
        if (c.heldThroughTheEnd) {
            hold(1032, pressAt, true, [](int) { return 0.0; });
        } else {
            frame(pressAt - 1, false, 0.0);
            fakeTapKey(KeySpace); // a tap, so that the wait for the key's release ends
            frame(pressAt);
        }
        EXPECT_EQ(menu.state.load(), c.leaves ? Select : Play) << c.name;
        if (c.leaves)
            continue;
        // Let go and pressed afresh later, the song is left.
        frame(pressAt + 16, false, 0.0);
        fakeTapKey(KeySpace);
        frame(pressAt + 32);
        EXPECT_EQ(menu.state.load(), Select) << c.name;
        EXPECT_EQ(credit.stage, 1) << c.name;
    }
}

TEST_F(PlayRules, EscapeAbandonsTheSong)
{
    loadTestChart({{1000, 0.0}});
    beginSong();
    frame(984, false, 0.0);
    frame(1000, true, 0.0);
    fakeTapKey(KeyEscape);
    frame(1100, true, 0.0);
    EXPECT_EQ(menu.state.load(), Title);
    for (ToneVoice &voice : voices)
        EXPECT_EQ(voice.resetRequested.load(), 1) << "a tone held through Escape stops at once";
    EXPECT_EQ(credit.songEndHandled, 0);
    EXPECT_DOUBLE_EQ(play.score, 0.0);
    EXPECT_EQ(recorded(), 0);
}

TEST_F(PlayRules, EscapeWithSpaceAfterTheEndStillGoesToTitle)
{
    loadTestChart({{1000, 0.0}});
    beginSong();
    frame(984, false, 0.0);
    frame(1000, true, 0.0);
    frame(1016, false, 0.0);
    music.streamState.store(Finished);
    frame(1032, false, 0.0);
    ASSERT_EQ(credit.songEndHandled, 1);
    const int creditScore = credit.creditScore;
    fakeSetTimeMs(TimerAtClockZero + 5000);
    fakeTapKey(KeyEscape);
    fakeTapKey(KeySpace);
    frame(5000);
    EXPECT_EQ(menu.state.load(), Title);
    EXPECT_EQ(credit.stage, 0);
    EXPECT_EQ(credit.creditScore, creditScore) << "the abandoned song is not booked again";
}
