#include <gtest/gtest.h>

#include "rules/judgement_rules.h"

namespace {

constexpr uint32_t NoteTime = 10000;

NoteFrame pressAt(int offsetMs, double pitchDistance, int heldFrames = 1)
{
    NoteFrame f;
    f.t = NoteTime + offsetMs;
    f.noteTime = NoteTime;
    f.pitchDistance = pitchDistance;
    f.heldFrames = heldFrames;
    f.entry = entryTestHolds(0.0, heldFrames);
    f.noteIndex = 3;
    return f;
}

const char *rowName(OrdinaryRow row)
{
    switch (row) {
    case OrdinaryRow::None:
        return "none";
    case OrdinaryRow::Passed:
        return "passed";
    case OrdinaryRow::Taken:
        return "taken";
    }
    return "?";
}

} // namespace

// Presses at the edges are played through the keys in PlayRules; these are the other rows.
TEST(JudgementRules, OrdinaryNoteTable)
{
    struct Case {
        const char *name;
        NoteFrame frame;
        OrdinaryRow row;
        Judgement judgement;
    };
    NoteFrame latched = pressAt(0, 0.0);
    latched.hitLatch = 1;
    NoteFrame stillAfterFifthFrame = pressAt(0, 0.0, 6);
    NoteFrame firstNoteHeld = pressAt(-249, 0.0, 12);
    firstNoteHeld.noteIndex = 0;
    NoteFrame firstNoteHeldTooEarly = firstNoteHeld;
    firstNoteHeldTooEarly.t = NoteTime - 250;
    NoteFrame laterNoteHeld = firstNoteHeld;
    laterNoteHeld.noteIndex = 1;
    NoteFrame firstNoteFreshPress = firstNoteHeld;
    firstNoteFreshPress.heldFrames = 1;
    NoteFrame firstNoteHeldLate = firstNoteHeld;
    firstNoteHeldLate.t = NoteTime + 199;
    NoteFrame notReleasedSinceStart = pressAt(0, 0.0, -1);
    NoteFrame beforeClockZero = pressAt(0, 0.0, 0);
    beforeClockZero.noteTime = 0xFFFFFF00u; // a note 256 ms before the clock starts
    beforeClockZero.t = 0;

    const Case cases[] = {
        {"74 ms late", pressAt(74, 0.49), OrdinaryRow::Taken, Great},
        {"75 ms early", pressAt(-75, 0.0), OrdinaryRow::Taken, Good},
        {"150 ms early", pressAt(-150, 0.0), OrdinaryRow::None, Miss},
        {"half a semitone off is not on pitch", pressAt(0, 0.5), OrdinaryRow::Taken, Good},
        {"fresh press 0.974 off", pressAt(80, 0.974), OrdinaryRow::Taken, Good},
        {"fresh press 0.975 off", pressAt(80, 0.975), OrdinaryRow::Taken, Miss},
        {"held press near pitch", pressAt(20, 0.9, 2), OrdinaryRow::None, Miss},
        {"latched after the last note", latched, OrdinaryRow::None, Miss},
        {"held still after the fifth frame", stillAfterFifthFrame, OrdinaryRow::None, Miss},
        {"key not let go since the song start", notReleasedSinceStart, OrdinaryRow::None, Miss},
        {"200 ms past is still open", pressAt(200, 9.0, 0), OrdinaryRow::None, Miss},
        {"201 ms past has passed", pressAt(201, 9.0, 0), OrdinaryRow::Passed, Miss},
        {"a latch does not stop a pass",
         [] {
             NoteFrame f = pressAt(201, 0.0);
             f.hitLatch = 1;
             return f;
         }(),
         OrdinaryRow::Passed, Miss},
        {"held into the first note 249 ms early", firstNoteHeld, OrdinaryRow::Taken, Miss},
        {"held into the first note 250 ms early", firstNoteHeldTooEarly, OrdinaryRow::None, Miss},
        {"held into the first note 199 ms late", firstNoteHeldLate, OrdinaryRow::Taken, Miss},
        {"held into a later note", laterNoteHeld, OrdinaryRow::None, Miss},
        {"fresh press 249 ms before the first note", firstNoteFreshPress, OrdinaryRow::None, Miss},
        {"a note before clock zero has passed", beforeClockZero, OrdinaryRow::Passed, Miss},
    };
    for (const Case &c : cases) {
        const OrdinaryOutcome outcome = judgeOrdinaryNote(c.frame);
        EXPECT_STREQ(rowName(outcome.row), rowName(c.row)) << c.name;
        if (c.row == OrdinaryRow::Taken) {
            EXPECT_EQ(outcome.judgement, c.judgement) << c.name;
        }
    }
    EXPECT_TRUE(judgeOrdinaryNote(firstNoteHeld).cancelsLink);
    EXPECT_FALSE(judgeOrdinaryNote(pressAt(0, 0.0)).cancelsLink);
}

TEST(JudgementRules, SlideEndTable)
{
    struct Case {
        const char *name;
        NoteFrame frame;
        int linkOnPitch;
        SlideRow row;
        Judgement judgement;
        bool clearsOnPitch;
    };
    const Case cases[] = {
        {"on pitch 74 ms early", pressAt(-74, 0.0, 20), 0, SlideRow::Ended, Great, true},
        {"on pitch 74 ms late", pressAt(74, 0.4, 20), 1, SlideRow::Ended, Great, true},
        {"on pitch 75 ms late", pressAt(75, 0.0, 20), 1, SlideRow::Ended, Good, false},
        {"on pitch 75 ms early", pressAt(-75, 0.0, 20), 0, SlideRow::OnPitchEarly, Miss, false},
        {"on pitch 150 ms late falls to the near row", pressAt(150, 0.0, 20), 1, SlideRow::Ended, Good, true},
        {"on pitch 100 ms late", pressAt(100, 0.0, 20), 1, SlideRow::Ended, Good, false},
        {"on pitch 100 ms early", pressAt(-100, 0.0, 20), 0, SlideRow::OnPitchEarly, Miss, false},
        {"on pitch 150 ms early", pressAt(-150, 0.0, 20), 0, SlideRow::None, Miss, false},
        {"off pitch early", pressAt(-100, 0.6, 20), 0, SlideRow::None, Miss, false},
        {"near 0.84 late", pressAt(160, 0.84, 20), 0, SlideRow::Ended, Good, true},
        {"near 0.86 late", pressAt(160, 0.86, 20), 0, SlideRow::None, Miss, false},
        {"wide 1.69 late", pressAt(20, 1.69, 20), 1, SlideRow::Ended, Good, true},
        {"wide 1.71 late", pressAt(20, 1.71, 20), 1, SlideRow::None, Miss, false},
        {"near exactly on time", pressAt(0, 0.6, 20), 1, SlideRow::None, Miss, false},
        {"key up on pitch", pressAt(0, 0.0, 0), 0, SlideRow::None, Miss, false},
        {"no entry test for a slide end", pressAt(0, 0.0, 30), 0, SlideRow::Ended, Great, true},
        {"201 ms past", pressAt(201, 0.0, 20), 1, SlideRow::Passed, Miss, true},
    };
    for (const Case &c : cases) {
        const SlideOutcome outcome = judgeSlideEnd(c.frame, c.linkOnPitch);
        EXPECT_EQ(static_cast<int>(outcome.row), static_cast<int>(c.row)) << c.name;
        if (c.row == SlideRow::Ended || c.row == SlideRow::Passed) {
            EXPECT_EQ(outcome.judgement, c.judgement) << c.name;
            EXPECT_EQ(outcome.clearsOnPitch, c.clearsOnPitch) << c.name;
        }
    }
}

TEST(JudgementRules, ReleaseAndEntryTest)
{
    const std::pair<uint32_t, Judgement> releases[] = {{0, Great},  {99, Great}, {100, Good},
                                                       {199, Good}, {200, Miss}, {5000, Miss}};
    for (const auto &[distance, judgement] : releases)
        EXPECT_EQ(releaseJudgement(distance), judgement) << distance;

    struct EntryCase {
        double movement;
        int heldFrames;
        bool holds;
    };
    const EntryCase entries[] = {{0.0, 1, true},    {0.0, 4, true},    {0.0, 5, false},    {0.001, 5, true},
                                 {0.017, 6, false}, {0.0171, 6, true}, {0.425, 30, false}, {0.43, 30, true}};
    for (const EntryCase &e : entries)
        EXPECT_EQ(entryTestHolds(e.movement, e.heldFrames), e.holds) << e.movement << " at " << e.heldFrames;

    EXPECT_EQ(msDistance(0, 0xFFFFFF00u), 256u);
    EXPECT_EQ(msDistance(1000, 1075), 75u);
}
