#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <fstream>
#include <vector>

#include "app/app_context.h"
#include "game/catalogue_cursor.h"
#include "game/menus.h"
#include "platform/fake/fake_platform.h"
#include "platform/keys.h"
#include "platform/paths.h"
#include "platform/pcm.h"

namespace {

constexpr int FrameMs = 16;

// A chart beside the test executable, named after the test so parallel runs do not share it.
std::string writeChart(const std::string &name)
{
    const std::string dataDir = exeDirectory() + "/data";
    mkdir(dataDir.c_str(), 0755);
    std::ofstream(dataDir + "/" + name) << "TITLE:flow\nLEVEL:3\nWAVE:none.ogg\nBPM:120\nOFFSET:0\n"
                                           "#START\n4c 4e 4g 4c ,\n#END\n";
    return name;
}

} // namespace

class MenuFlow : public ::testing::Test {
protected:
    uint32_t now = 10000;
    std::string chartName;

    // Songs started here open the music; the mixer has a few device slots only, and a context
    // reset does not close them.
    void SetUp() override
    {
        music.close();
        resetAppContext();
        fakeResetPlatform();
        now = 10000;
        setCatalogue({{1, 0}, {7, 0}, {3, 0}, {5, 0}});
    }

    void TearDown() override { music.close(); }

    void setCatalogue(const std::vector<std::pair<int, int>> &levelsAndPlayed)
    {
        catalogue.songs.clear();
        if (chartName.empty())
            chartName = writeChart(std::string("flow_") +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".tja");
        for (const auto &[level, played] : levelsAndPlayed) {
            SongEntry entry;
            entry.level = static_cast<uint16_t>(level);
            entry.played = played;
            entry.fileName = chartName;
            catalogue.songs.push_back(entry);
        }
        catalogue.songCount = static_cast<uint16_t>(levelsAndPlayed.size());
    }

    void frame()
    {
        fakeSetTimeMs(now);
        updateMenus();
        now += FrameMs;
    }

    void framesFor(int ms)
    {
        for (int elapsed = 0; elapsed < ms; elapsed += FrameMs)
            frame();
    }

    // Taps the key, then lets frames run past the repeat gate.
    void tap(int key)
    {
        fakeTapKey(key);
        frame();
        framesFor(240);
    }

    int state() const { return menu.state.load(); }
};

TEST_F(MenuFlow, HeldKeysRepeatEvery200MsThroughOneGate)
{
    // The actions share one gate and are tried in the order wave, unison, previous song, next
    // song, scroll speed: of keys held together only the first ever acts.
    struct Counts {
        int wave = 0, unison = 0, left = 0, right = 0, scroll = 0;
        bool operator==(const Counts &o) const
        {
            return wave == o.wave && unison == o.unison && left == o.left && right == o.right && scroll == o.scroll;
        }
    };
    struct Case {
        const char *name;
        std::vector<int> keys;
        int controlCode;
        Counts counts;
    };
    const Case cases[] = {
        {"W held", {KeyW}, 0, {5, 0, 0, 0, 0}},
        {"W and E together", {KeyW, KeyE}, 0, {5, 0, 0, 0, 0}},
        {"E held", {KeyE}, 0, {0, 5, 0, 0, 0}},
        {"wave control held", {}, 8, {5, 0, 0, 0, 0}},
        {"unison control held", {}, 9, {0, 5, 0, 0, 0}},
        {"left and right together", {KeyLeft, KeyRight}, 0, {0, 0, 5, 0, 0}},
        {"left and Z together", {KeyLeft, KeyZ}, 0, {0, 0, 5, 0, 0}},
        {"W and right together", {KeyW, KeyRight}, 0, {5, 0, 0, 0, 0}},
        {"E and the scroll-speed control", {KeyE}, 7, {0, 5, 0, 0, 0}},
    };
    for (const Case &c : cases) {
        SetUp();
        menu.state.store(Select);
        for (int key : c.keys)
            fakeSetKeyDown(key, true);
        window.controlCode = c.controlCode;
        Counts counts;
        uint32_t lastChange = 0;
        for (int elapsed = 0; elapsed < 1000; elapsed += FrameMs) {
            const int wave = menu.waveType.load(), unison = menu.unison.load();
            const uint16_t song = menu.selectedSong;
            const double speed = menu.scrollSpeed;
            const uint32_t at = now;
            frame();
            const int changes = (wave != menu.waveType.load()) + (unison != menu.unison.load()) +
                                (song != menu.selectedSong) + (speed != menu.scrollSpeed);
            ASSERT_LE(changes, 1) << c.name << ": one action per frame at most";
            counts.wave += wave != menu.waveType.load();
            counts.unison += unison != menu.unison.load();
            counts.left += song != menu.selectedSong &&
                           menu.selectedSong == stepToSelectable(catalogue.songs, catalogue.songCount, song, -1, 0);
            counts.right += song != menu.selectedSong &&
                            menu.selectedSong == stepToSelectable(catalogue.songs, catalogue.songCount, song, +1, 0);
            counts.scroll += speed != menu.scrollSpeed;
            if (changes == 1 && lastChange != 0) {
                EXPECT_GT(at - lastChange, 200u) << c.name;
                EXPECT_LE(at - lastChange, 200u + FrameMs) << c.name;
            }
            if (changes == 1)
                lastChange = at;
        }
        EXPECT_TRUE(counts == c.counts) << c.name << ": wave " << counts.wave << ", unison " << counts.unison
                                        << ", left " << counts.left << ", right " << counts.right << ", scroll "
                                        << counts.scroll;
    }
}

TEST_F(MenuFlow, UnisonRecomputesTheVoiceGain)
{
    window.pointerY = 415.0; // 480 high: the fade starts at row 350, halfway down it here
    tap(KeyE);
    EXPECT_EQ(menu.unison.load(), 1);
    EXPECT_NEAR(window.voiceGain.load(), 0.5 / 3, 1e-12);
    window.pointerY = 10.0;
    tap(KeyE);
    EXPECT_EQ(menu.unison.load(), 0);
    EXPECT_DOUBLE_EQ(window.voiceGain.load(), 1.0);
    tap(KeyW);
    tap(KeyW);
    EXPECT_EQ(menu.waveType.load(), 2);
}

TEST_F(MenuFlow, ScrollSpeedStepsAndWraps)
{
    menu.state.store(Select);
    const double expected[] = {1.5, 2.0, 2.5, 3.0, 3.5, 4.0, 1.0, 1.5};
    for (double speed : expected) {
        tap(KeyZ);
        EXPECT_DOUBLE_EQ(menu.scrollSpeed, speed);
    }
    window.controlCode = 7;
    frame();
    EXPECT_DOUBLE_EQ(menu.scrollSpeed, 2.0) << "the scroll-speed control acts like Z";
}

TEST_F(MenuFlow, ArrowsSkipLockedAndPlayedEntries)
{
    setCatalogue({{1, 0}, {7, 0}, {3, 0}, {5, 1}});
    menu.state.store(Select);
    tap(KeyRight);
    EXPECT_EQ(menu.selectedSong, 2) << "the locked level-7 entry is skipped";
    tap(KeyRight);
    EXPECT_EQ(menu.selectedSong, 0) << "the played entry is skipped, wrapping round";
    tap(KeyLeft);
    EXPECT_EQ(menu.selectedSong, 2);
    credit.extraUnlocked = 1;
    tap(KeyLeft);
    EXPECT_EQ(menu.selectedSong, 1);
    window.controlCode = 4;
    frame();
    EXPECT_EQ(menu.selectedSong, 2) << "the next-song control acts like the right arrow";
}

TEST_F(MenuFlow, SpaceStartsAndMarksPlayedUpArrowStartsAutoplay)
{
    struct Case {
        const char *name;
        uint16_t spaceState;
        uint16_t upState;
        int autoplay;
        int played;
    };
    const Case cases[] = {
        {"space", KeyDownBit, 0, 0, 1},
        {"up arrow", 0, KeyDownBit, 1, 0},
        {"space and up arrow together", KeyDownBit, KeyDownBit, 1, 0},
        {"any bit above the lowest four is down", 0x0010, 0, 0, 1},
    };
    for (const Case &c : cases) {
        SetUp();
        menu.state.store(Select);
        menu.selectedSong = 2;
        frame();
        fakeSetRawKeyState(KeySpace, c.spaceState);
        fakeSetRawKeyState(KeyUp, c.upState);
        const uint32_t startedAt = now;
        frame();
        EXPECT_EQ(state(), Play) << c.name;
        EXPECT_EQ(menu.autoplay, c.autoplay) << c.name;
        EXPECT_EQ(catalogue.songs[2].played, c.played) << c.name;
        EXPECT_EQ(play.keyHeldFrames.load(), -1) << c.name;
        EXPECT_EQ(play.playStartTime, startedAt) << c.name;
        EXPECT_EQ(play.phaseStartTime, 0u) << c.name;
        EXPECT_EQ(chart.noteCount, 4) << c.name << ": the selected entry's chart was parsed";
    }
}

TEST_F(MenuFlow, StartKeyCounterClearsOnlyWhenBothKeysReportExactlyNothing)
{
    // Low bits alone are not a press, but they are not "nothing" either.
    struct Case {
        const char *name;
        uint16_t spaceState;
        uint16_t upState;
        int heldAfter;
    };
    const Case cases[] = {
        {"space low bits", 0x0001, 0, 3},
        {"up arrow low bits", 0, 0x000F, 3},
        {"both report nothing", 0, 0, 0},
    };
    for (const Case &c : cases) {
        SetUp();
        menu.state.store(Select);
        play.keyHeldFrames.store(3); // a start key still held from leaving the last song
        fakeSetRawKeyState(KeySpace, c.spaceState);
        fakeSetRawKeyState(KeyUp, c.upState);
        frame();
        EXPECT_EQ(play.keyHeldFrames.load(), c.heldAfter) << c.name;
        EXPECT_EQ(state(), Select) << c.name;
        fakeSetRawKeyState(KeySpace, KeyDownBit);
        frame();
        EXPECT_EQ(state(), c.heldAfter == 0 ? Play : Select) << c.name << ": then space pressed";
    }
}

TEST_F(MenuFlow, StartKeyHeldFromBeforeStartsNothingUntilLetGo)
{
    menu.state.store(Select);
    play.keyHeldFrames.store(3); // space still held from leaving the last song
    fakeSetKeyDown(KeySpace, true);
    framesFor(800);
    EXPECT_EQ(state(), Select);
    EXPECT_EQ(play.keyHeldFrames.load(), 30);
    fakeSetKeyDown(KeySpace, false);
    frame();
    EXPECT_EQ(play.keyHeldFrames.load(), 0);
    fakeSetKeyDown(KeySpace, true);
    frame();
    EXPECT_EQ(state(), Play);
}

TEST_F(MenuFlow, ResultScreenIgnoresSpaceForTwoSeconds)
{
    // Also with the result time just below the timer's wrap-around.
    for (const uint32_t resultTime : {10000u, 0u - 1500u}) {
        SetUp();
        menu.state.store(Result);
        credit.stage = 2;
        play.resultTime = resultTime;
        for (const uint32_t after : {1000u, 2000u}) {
            now = resultTime + after;
            fakeTapKey(KeySpace);
            frame();
            EXPECT_EQ(state(), Result) << "space " << after << " ms after the result, " << resultTime;
        }
        now = resultTime + 2001;
        fakeTapKey(KeySpace);
        frame();
        EXPECT_EQ(state(), Title) << resultTime;
        EXPECT_EQ(credit.stage, 0) << resultTime;
        EXPECT_EQ(play.phaseStartTime, resultTime + 2001) << resultTime;
    }
}

TEST_F(MenuFlow, TitleSpaceStartsACleanCredit)
{
    credit.stage = 1;
    credit.extraUnlocked = 1;
    credit.creditScore = 5000;
    credit.stageScores[1] = 7;
    credit.creditJudgementCounts[Great] = 9;
    menu.selectedSong = 3;
    catalogue.songs[1].played = 1;
    tap(KeySpace);
    EXPECT_EQ(state(), Select);
    EXPECT_EQ(credit.stage, 0);
    EXPECT_EQ(credit.extraUnlocked, 0);
    EXPECT_EQ(credit.creditScore, 0);
    EXPECT_EQ(credit.stageScores[1], 0);
    EXPECT_EQ(credit.creditJudgementCounts[Great], 0);
    EXPECT_EQ(menu.selectedSong, 0);
    EXPECT_EQ(catalogue.songs[1].played, 0);
}

TEST_F(MenuFlow, EscapePaths)
{
    pcmStartOutput();
    const auto resetVoices = [] {
        int count = 0;
        for (ToneVoice &voice : voices)
            count += voice.resetRequested.exchange(0);
        return count;
    };
    menu.state.store(Select);
    music.openSilent(5000);
    ASSERT_NE(music.device, 0);
    // The rest of the select screen still runs in the frame of the Escape.
    fakeTapKey(KeyEscape);
    fakeSetKeyDown(KeyRight, true);
    frame();
    fakeSetKeyDown(KeyRight, false);
    EXPECT_EQ(state(), Title);
    EXPECT_EQ(menu.selectedSong, 2) << "the next-song key acted in the same frame";
    EXPECT_EQ(shell.quitRequested, 0) << "Escape on the select screen only goes back";
    EXPECT_EQ(resetVoices(), 3) << "the tone stops";
    EXPECT_EQ(music.device, 0) << "the music is closed";

    music.openSilent(5000);
    ASSERT_NE(music.device, 0);
    tap(KeyEscape);
    EXPECT_EQ(shell.quitRequested, 1);
    EXPECT_EQ(state(), Title);
    EXPECT_EQ(resetVoices(), 3);
    EXPECT_EQ(music.device, 0);
}

TEST_F(MenuFlow, EmptyCatalogueStillShowsTheSelectScreen)
{
    setCatalogue({});
    menu.state.store(Select);
    tap(KeyRight);
    tap(KeyLeft);
    tap(KeySpace);
    tap(KeyUp);
    EXPECT_EQ(state(), Select);
    EXPECT_EQ(menu.selectedSong, 0);
    tap(KeyEscape);
    EXPECT_EQ(state(), Title);
}
