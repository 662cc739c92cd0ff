#include "support/game_test.h"

#include <cstdlib>
#include <thread>

#include "audio/ogg_encode.h"

using namespace std::chrono_literals;

void GameTest::SetUp()
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "needs a display (scripts/test.sh starts Xvfb)";
}

void GameTest::installOneSong(const std::string &name, const std::string &chart, int musicSeconds)
{
    game.install(false);
    writeWholeFile(game.folder.file("data/songlist.txt"), name + ".txt\n");
    writeWholeFile(game.folder.file("data/" + name + ".txt"), chart);
    const int rate = 44100;
    ASSERT_TRUE(encodeOgg(game.folder.file("data/" + name + ".ogg"), 2, rate,
                          sineSamples(2, rate, size_t(rate) * size_t(musicSeconds), 330.0)));
}

void GameTest::startToTitle()
{
    const size_t at = game.startAtTitle();
    ASSERT_NE(at, std::string::npos) << game.trace();
    seen = at;
}

void GameTest::waitFor(const std::string &pattern, std::chrono::milliseconds limit)
{
    const size_t found = game.waitForTrace(pattern, seen, limit);
    ASSERT_NE(found, std::string::npos) << "no " << pattern << " in\n" << game.trace();
    seen = found;
}

void GameTest::pressFor(const char *key, const std::string &pattern, std::chrono::milliseconds limit)
{
    ASSERT_TRUE(pressKey(key, 80ms)) << key;
    ASSERT_NO_FATAL_FAILURE(waitFor(pattern, limit)) << "after " << key;
    std::this_thread::sleep_for(300ms);
}

void GameTest::escapeToTitleAndQuit(std::chrono::milliseconds limit)
{
    ASSERT_NO_FATAL_FAILURE(pressFor("Escape", " state Title\n"));
    ASSERT_NO_FATAL_FAILURE(quitFromTitle(limit));
}

void GameTest::quitFromTitle(std::chrono::milliseconds limit)
{
    ASSERT_TRUE(pressKey("Escape", 80ms));
    ASSERT_TRUE(game.exitsWithin(limit)) << game.trace();
    EXPECT_EQ(game.exitStatus, 0) << game.trace();
}

bool GameTest::tracesWithin(const std::string &pattern, std::chrono::milliseconds limit)
{
    return game.waitForTrace(pattern, seen, limit) != std::string::npos;
}

std::string GameTest::lastLine() const
{
    const std::string text = game.trace().substr(0, seen);
    const size_t newline = text.empty() ? 0 : text.size() - 1;
    const size_t before = newline == 0 ? std::string::npos : text.rfind('\n', newline - 1);
    const size_t start = before == std::string::npos ? 0 : before + 1;
    return text.substr(start, newline - start);
}
