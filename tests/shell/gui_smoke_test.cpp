// Runs the built game as a user would: a copy in a fresh folder, started from elsewhere, on the
// display the tests run with (Xvfb under scripts/test.sh), driven with xdotool.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>

#include "support/game_process.h"

using namespace std::chrono_literals;

namespace {

// A first start writes the ranking file's defaults, 175000 down to 40000, in CR LF lines.
void expectDefaultRankingFile(const GameProcess &run)
{
    std::string expected;
    for (int score = 175000; score >= 40000; score -= 15000)
        expected += std::to_string(score) + "\r\n";
    EXPECT_EQ(readWholeFile(run.folder.file("data/score.hsc")), expected);
}

void expectFreshSettingsAndTrace(GameProcess &run)
{
    EXPECT_EQ(readWholeFile(run.folder.file("conf.ini")), "[config]\nBufferLength=20\n");
    expectDefaultRankingFile(run);
    const std::string trace = run.trace();
    EXPECT_NE(trace.find(" state Title\n"), std::string::npos) << trace;
    EXPECT_NE(trace.find(" quit\n"), std::string::npos) << trace;
}

class GuiSmoke : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "needs a display (scripts/test.sh starts Xvfb)";
    }
};

TEST_F(GuiSmoke, HoldingEscapeOnTheTitleQuits)
{
    GameProcess run;
    run.install(true);
    run.start();
    ASSERT_FALSE(run.waitForWindow().empty()) << run.trace();
    // The title screen comes after start-up, which has saved the ranking by then.
    ASSERT_NE(run.waitForTrace(" state Title\n", 0, 15s), std::string::npos) << run.trace();
    expectDefaultRankingFile(run);
    ASSERT_TRUE(pressKey("Escape", 150ms));
    ASSERT_TRUE(run.exitsWithin(3000ms)) << run.trace();
    EXPECT_EQ(run.exitStatus, 0) << run.trace();
    expectFreshSettingsAndTrace(run);
}

TEST_F(GuiSmoke, TerminateSignalShutsDownInOrder)
{
    GameProcess run;
    run.install(true);
    run.start();
    ASSERT_FALSE(run.waitForWindow().empty()) << run.trace();
    kill(run.pid, SIGTERM);
    ASSERT_TRUE(run.exitsWithin(3000ms)) << run.trace();
    EXPECT_EQ(run.exitStatus, 0) << run.trace();
    expectFreshSettingsAndTrace(run);
}

} // namespace
