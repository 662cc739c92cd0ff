#pragma once
// A test that plays the built game step by step, as a player would; skipped where there is no
// display to show it on.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "support/game_process.h"

class GameTest : public testing::Test {
protected:
    GameProcess game;
    // The trace read so far: each step looks for its line after it and moves it past that line.
    size_t seen = 0;

    void SetUp() override;

    // A copy of the game whose library is the one song `name`.txt, its music `name`.ogg (the name
    // its WAVE line must give) a plain tone of the given length.
    void installOneSong(const std::string &name, const std::string &chart, int musicSeconds);

    // The steps are fatal test failures when the game does not answer in time; run them under
    // ASSERT_NO_FATAL_FAILURE.
    // Starts the game and waits for its title screen, ready for keys.
    void startToTitle();
    // Holds the key for 80 ms and waits for the line it should cause, then waits out the menus' repeat
    // gate so that the next key counts.
    void pressFor(const char *key, const std::string &pattern,
                  std::chrono::milliseconds limit = std::chrono::seconds(5));
    void waitFor(const std::string &pattern, std::chrono::milliseconds limit);
    // Escape, which leads from the select and the play screen to the title, then Escape there; the
    // game ends within `limit` with status 0. quitFromTitle is the second half.
    void escapeToTitleAndQuit(std::chrono::milliseconds limit = std::chrono::seconds(5));
    void quitFromTitle(std::chrono::milliseconds limit = std::chrono::seconds(5));

    // Whether the pattern shows up after `seen` within the time; `seen` stays.
    bool tracesWithin(const std::string &pattern, std::chrono::milliseconds limit);
    // The trace line the last step found, without its newline.
    std::string lastLine() const;
};
