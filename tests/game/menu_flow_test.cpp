#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <fstream>
#include <vector>

#include "app/app_context.h"
#include "game/menus.h"
#include "platform/fake/fake_platform.h"
#include "platform/keys.h"
#include "platform/paths.h"

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

}  // namespace

class MenuFlow : public ::testing::Test {
protected:
    uint32_t now = 10000;
    std::string chartName;

    void SetUp() override
    {
        resetAppContext();
        fakeResetPlatform();
        now = 10000;
        setCatalogue({{1, 0}, {7, 0}, {3, 0}, {5, 0}});
    }

    void setCatalogue(const std::vector<std::pair<int, int>> &levelsAndPlayed)
    {
        app.catalogue.songs.clear();
        if (chartName.empty())
            chartName = writeChart(std::string("flow_") +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".tja");
        for (const auto &[level, played] : levelsAndPlayed) {
            SongEntry entry;
            entry.level = static_cast<uint16_t>(level);
            entry.played = played;
            entry.fileName = chartName;
            app.catalogue.songs.push_back(entry);
        }
        app.catalogue.songCount = static_cast<uint16_t>(levelsAndPlayed.size());
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

    int state() const { return app.menu.state.load(); }
};

TEST_F(MenuFlow, HeldKeysRepeatEvery200MsThroughOneGate)
{
    struct Case {
        const char *name;
        std::vector<int> keys;
        int controlCode;
        int waveChanges;
        int unisonChanges;
    };
    const Case cases[] = {
        {"W held", {KeyW}, 0, 5, 0},
        {"W and E together", {KeyW, KeyE}, 0, 5, 0},
        {"E held", {KeyE}, 0, 0, 5},
        {"wave control held", {}, 8, 5, 0},
        {"unison control held", {}, 9, 0, 5},
    };
    for (const Case &c : cases) {
        SetUp();
        for (int key : c.keys)
            fakeSetKeyDown(key, true);
        app.window.controlCode = c.controlCode;
        int waveChanges = 0, unisonChanges = 0;
        uint32_t lastChange = 0;
        for (int elapsed = 0; elapsed < 1000; elapsed += FrameMs) {
            const int wave = app.menu.waveType.load(), unison = app.menu.unison.load();
            const uint32_t at = now;
            frame();
            const bool changed = wave != app.menu.waveType.load() || unison != app.menu.unison.load();
            waveChanges += wave != app.menu.waveType.load();
            unisonChanges += unison != app.menu.unison.load();
            if (changed && lastChange != 0) {
                EXPECT_GT(at - lastChange, 200u) << c.name;
                EXPECT_LE(at - lastChange, 200u + FrameMs) << c.name;
            }
            if (changed)
                lastChange = at;
        }
        EXPECT_EQ(waveChanges, c.waveChanges) << c.name;
        EXPECT_EQ(unisonChanges, c.unisonChanges) << c.name;
    }
}

TEST_F(MenuFlow, UnisonRecomputesTheVoiceGain)
{
    app.window.pointerY = 415.0;   // 480 high: the fade starts at row 350, halfway down it here
    tap(KeyE);
    EXPECT_EQ(app.menu.unison.load(), 1);
    EXPECT_NEAR(app.window.voiceGain.load(), 0.5 / 3, 1e-12);
    app.window.pointerY = 10.0;
    tap(KeyE);
    EXPECT_EQ(app.menu.unison.load(), 0);
    EXPECT_DOUBLE_EQ(app.window.voiceGain.load(), 1.0);
    tap(KeyW);
    tap(KeyW);
    EXPECT_EQ(app.menu.waveType.load(), 2);
}

TEST_F(MenuFlow, ScrollSpeedStepsAndWraps)
{
    app.menu.state.store(Select);
    const double expected[] = {1.5, 2.0, 2.5, 3.0, 3.5, 4.0, 1.0, 1.5};
    for (double speed : expected) {
        tap(KeyZ);
        EXPECT_DOUBLE_EQ(app.menu.scrollSpeed, speed);
    }
    app.window.controlCode = 7;
    frame();
    EXPECT_DOUBLE_EQ(app.menu.scrollSpeed, 2.0) << "the scroll-speed control acts like Z";
}

TEST_F(MenuFlow, ArrowsSkipLockedAndPlayedEntries)
{
    setCatalogue({{1, 0}, {7, 0}, {3, 0}, {5, 1}});
    app.menu.state.store(Select);
    tap(KeyRight);
    EXPECT_EQ(app.menu.selectedSong, 2) << "the locked level-7 entry is skipped";
    tap(KeyRight);
    EXPECT_EQ(app.menu.selectedSong, 0) << "the played entry is skipped, wrapping round";
    tap(KeyLeft);
    EXPECT_EQ(app.menu.selectedSong, 2);
    app.credit.extraUnlocked = 1;
    tap(KeyLeft);
    EXPECT_EQ(app.menu.selectedSong, 1);
    app.window.controlCode = 4;
    frame();
    EXPECT_EQ(app.menu.selectedSong, 2) << "the next-song control acts like the right arrow";
}

TEST_F(MenuFlow, SpaceStartsAndMarksPlayedUpArrowStartsAutoplay)
{
    struct Case {
        int key;
        int autoplay;
        int played;
    };
    const Case cases[] = {{KeySpace, 0, 1}, {KeyUp, 1, 0}};
    for (const Case &c : cases) {
        SetUp();
        app.menu.state.store(Select);
        app.menu.selectedSong = 2;
        frame();
        fakeSetKeyDown(c.key, true);
        const uint32_t startedAt = now;
        frame();
        EXPECT_EQ(state(), Play);
        EXPECT_EQ(app.menu.autoplay, c.autoplay);
        EXPECT_EQ(app.catalogue.songs[2].played, c.played);
        EXPECT_EQ(app.play.keyHeldFrames.load(), -1);
        EXPECT_EQ(app.play.playStartTime, startedAt);
        EXPECT_EQ(app.play.phaseStartTime, 0u);
        EXPECT_EQ(app.chart.noteCount, 4) << "the selected entry's chart was parsed";
        fakeSetKeyDown(c.key, false);
    }
}

TEST_F(MenuFlow, StartKeyHeldFromBeforeStartsNothingUntilLetGo)
{
    app.menu.state.store(Select);
    app.play.keyHeldFrames.store(3);   // space still held from leaving the last song
    fakeSetKeyDown(KeySpace, true);
    framesFor(800);
    EXPECT_EQ(state(), Select);
    EXPECT_EQ(app.play.keyHeldFrames.load(), 30);
    fakeSetKeyDown(KeySpace, false);
    frame();
    EXPECT_EQ(app.play.keyHeldFrames.load(), 0);
    fakeSetKeyDown(KeySpace, true);
    frame();
    EXPECT_EQ(state(), Play);
}

TEST_F(MenuFlow, ResultScreenIgnoresSpaceForTwoSeconds)
{
    app.menu.state.store(Result);
    app.credit.stage = 2;
    app.play.resultTime = now;
    framesFor(1000);
    tap(KeySpace);
    EXPECT_EQ(state(), Result);
    framesFor(2000 - 1000 - 256);
    fakeTapKey(KeySpace);
    const uint32_t pressedAt = now;
    frame();
    EXPECT_EQ(state(), Title);
    EXPECT_EQ(app.credit.stage, 0);
    EXPECT_EQ(app.play.phaseStartTime, pressedAt);
    EXPECT_GT(pressedAt - app.play.resultTime, 2000u);
}

TEST_F(MenuFlow, TitleSpaceStartsACleanCredit)
{
    app.credit.stage = 1;
    app.credit.extraUnlocked = 1;
    app.credit.creditScore = 5000;
    app.credit.stageScores[1] = 7;
    app.credit.creditJudgementCounts[Great] = 9;
    app.menu.selectedSong = 3;
    app.catalogue.songs[1].played = 1;
    tap(KeySpace);
    EXPECT_EQ(state(), Select);
    EXPECT_EQ(app.credit.stage, 0);
    EXPECT_EQ(app.credit.extraUnlocked, 0);
    EXPECT_EQ(app.credit.creditScore, 0);
    EXPECT_EQ(app.credit.stageScores[1], 0);
    EXPECT_EQ(app.credit.creditJudgementCounts[Great], 0);
    EXPECT_EQ(app.menu.selectedSong, 0);
    EXPECT_EQ(app.catalogue.songs[1].played, 0);
}

TEST_F(MenuFlow, EscapePaths)
{
    app.menu.state.store(Select);
    tap(KeyEscape);
    EXPECT_EQ(state(), Title);
    EXPECT_EQ(app.shell.quitRequested, 0) << "Escape on the select screen only goes back";
    for (ToneVoice &voice : app.voices)
        EXPECT_EQ(voice.resetRequested.load(), 1) << "the tone stops";
    tap(KeyEscape);
    EXPECT_EQ(app.shell.quitRequested, 1);
}

TEST_F(MenuFlow, EmptyCatalogueStillShowsTheSelectScreen)
{
    setCatalogue({});
    app.menu.state.store(Select);
    tap(KeyRight);
    tap(KeyLeft);
    tap(KeySpace);
    tap(KeyUp);
    EXPECT_EQ(state(), Select);
    EXPECT_EQ(app.menu.selectedSong, 0);
    tap(KeyEscape);
    EXPECT_EQ(state(), Title);
}
