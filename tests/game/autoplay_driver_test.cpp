#include "play_fixture.h"

#include "game/autoplay_driver.h"
#include "platform/fake/fake_platform.h"
#include "platform/keys.h"

namespace {

ChartNote noteAt(uint32_t timeMs, double screenX, double pitch = 0.0)
{
    ChartNote note;
    note.timeMs = timeMs;
    note.screenX = screenX;
    note.pitch = pitch;
    return note;
}

} // namespace

TEST(AutoplayDriver, PointerGlide)
{
    const ChartNote prev = noteAt(2000, -0.5);
    const ChartNote cur = noteAt(3000, 0.5);
    const ChartNote early = noteAt(800, 0.5); // within the first four beats of the clock
    const ChartNote earlyPrev = noteAt(300, -0.5);
    const ChartNote chord = noteAt(2000, 0.5);
    struct Case {
        const char *name;
        const ChartNote *cur;
        const ChartNote *prev;
        uint32_t t;
        double x;
    };
    const Case cases[] = {
        {"first note", &cur, nullptr, 0, 0.5},
        {"more than four beats away", &cur, &prev, 999, -0.5},
        {"50 ms before the previous note", &cur, &prev, 1950, -0.5},
        {"halfway: a quarter of the way", &cur, &prev, 2450, -0.25},
        {"50 ms before the note", &cur, &prev, 2950, 0.5},
        {"on the note", &cur, &prev, 3000, 0.5},
        {"past the note", &cur, &prev, 3100, 0.5},
        {"a note in the first four beats glides too", &early, &earlyPrev, 500, -0.25},
        {"two notes at one time", &chord, &prev, 1990, 0.5},
    };
    for (const Case &c : cases) {
        AutoplayView view;
        view.cur = c.cur;
        view.prev = c.prev;
        view.t = c.t;
        view.msPerBeat = 250;
        EXPECT_NEAR(autoplayPointerViewX(view), c.x, 1e-12) << c.name;
    }
}

TEST(AutoplayDriver, KeyPress)
{
    const ChartNote prev = noteAt(2000, 0.0, 4.0);
    const ChartNote cur = noteAt(3000, 0.0, 7.0);
    struct Case {
        const char *name;
        uint32_t t;
        int hitLatch;
        int linkActive;
        double playerPitch;
        bool pressed;
    };
    const Case cases[] = {
        {"31 ms before", 2969, 0, 0, 7.0, false},
        {"29 ms before", 2971, 0, 0, 7.0, true},
        {"229 ms after", 3229, 0, 0, 7.0, true},
        {"230 ms after", 3230, 0, 0, 7.0, false},
        {"latched on the note", 3000, 1, 0, 7.0, false},
        {"through a slide", 2500, 1, 1, 0.0, true},
        {"lingering from 49 ms before the short note", 1951, 1, 0, 4.1, true},
        {"no lingering 50 ms before it", 1950, 1, 0, 4.1, false},
        {"lingering after a short note", 2020, 1, 0, 4.1, true},
        {"lingering 30 ms after it", 2030, 1, 0, 4.1, true},
        {"lingering ends a sixteenth of a beat after it", 2031, 1, 0, 4.1, false},
        {"no lingering off the note's pitch", 2020, 1, 0, 4.3, false},
    };
    for (const Case &c : cases) {
        AutoplayView view;
        view.cur = &cur;
        view.prev = &prev;
        view.t = c.t;
        view.hitLatch = c.hitLatch;
        view.linkActive = c.linkActive;
        view.phaseStartTime = 5000;
        view.msPerBeat = 500;
        view.playerPitch = c.playerPitch;
        EXPECT_EQ(autoplayPressesKey(view), c.pressed) << c.name;
    }
    AutoplayView nextTooClose;
    const ChartNote close = noteAt(2100, 0.0, 7.0);
    nextTooClose.cur = &close;
    nextTooClose.prev = &prev;
    nextTooClose.t = 2020;
    nextTooClose.hitLatch = 1;
    nextTooClose.phaseStartTime = 5000;
    nextTooClose.msPerBeat = 500;
    nextTooClose.playerPitch = 4.0;
    EXPECT_FALSE(autoplayPressesKey(nextTooClose)) << "the next note is within a quarter beat";

    // The linger's times are unsigned: for a note in the first 50 ms of the clock, 50 ms before
    // it wraps round to the top, and no clock time is above that.
    const ChartNote nearZero = noteAt(20, 0.0, 4.0);
    AutoplayView afterNearZero = nextTooClose;
    afterNearZero.prev = &nearZero;
    afterNearZero.cur = &cur;
    afterNearZero.t = 30;
    EXPECT_FALSE(autoplayPressesKey(afterNearZero));
    afterNearZero.prev = &prev;
    afterNearZero.t = 2010;
    EXPECT_TRUE(autoplayPressesKey(afterNearZero)) << "the same view after a later note lingers";
}

class AutoplayPlay : public PlayFixture {
protected:
    // The renderer's columns, which AUTOPLAY steers by.
    static void placeNotes()
    {
        for (ChartNote &note : chart.notes)
            note.screenX = (pointerXForPitch(note.pitch) / window.clientWidth.load()) * 2.0 - 1.0;
    }
};

TEST_F(AutoplayPlay, LingersAfterAShortNoteAlsoWithTheTimerWrappingRound)
{
    // The linger waits for the music to have started (phaseStartTime not 0): a timer time just
    // below the wrap-around is as good as any.
    for (const uint32_t timerBase : {TimerAtClockZero, timerWrappingAt(1000)}) {
        SetUp();
        clockZeroTimer = timerBase;
        loadTestChart({{1000, 0.0}, {2000, 4.0}});
        beginSong(true);
        std::vector<int> heldAt;
        for (int t = 0; t <= 1056; t += 16) {
            placeNotes();
            frame(t);
            if (t >= 976)
                heldAt.push_back(play.keyHeldFrames.load());
            if (t == 976) {
                ASSERT_EQ(count(Great), 1) << timerBase;
            }
        }
        // Taken at 976, then held on until a sixteenth of a beat (31 ms) after the note.
        EXPECT_EQ(heldAt, (std::vector<int>{1, 2, 3, 4, 0, 0})) << timerBase;
    }
}

TEST_F(AutoplayPlay, PlaysGhostNotesWithoutCountingThemAndIgnoresSpace)
{
    loadTestChart({{1000, 0.0}, {1300, 2.0, 0, 1}, {1600, 4.0}});
    beginSong(true);
    fakeSetKeyDown(KeySpace, true);
    for (int t = 0; t <= 2000; t += 16) {
        placeNotes();
        frame(t);
        if (chart.noteIndex == 1) {
            EXPECT_EQ(chart.currentNote, &chart.notes[1]) << "AUTOPLAY does not step over the ghost";
        }
    }
    EXPECT_EQ(chart.notes[1].state, 0) << "the ghost note was played";
    EXPECT_EQ(count(Great), 2);
    EXPECT_EQ(recorded(), 2);
    EXPECT_EQ(play.combo, 2);
    EXPECT_DOUBLE_EQ(play.score, 100000.0);
    EXPECT_NE(play.fullComboTime, 0u);
    EXPECT_EQ(play.keyHeldFrames.load(), 0) << "after the last note AUTOPLAY lets go";
}
