// The built game on a library of a thousand songs: start-up makes only the first titles, on one
// open face per font, and the select screen makes the others when it shows them.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "mapped_fonts.h"
#include "support/game_test.h"

using namespace std::chrono_literals;

namespace {

constexpr int Songs = 1000;
constexpr size_t TitlesMadeAtStartUp = 32;

// Every tenth title Japanese in Shift-JIS, so that the library needs two faces.
void installLibrary(GameProcess &game)
{
    game.install(false);
    std::string list;
    for (int i = 0; i < Songs; i++) {
        const std::string name = "song" + std::to_string(i) + ".txt";
        const std::string title = (i % 10 == 9 ? "\x83\x65\x83\x58\x83\x67 " : "Song ") + std::to_string(i);
        list += name + "\n";
        writeWholeFile(game.folder.file("data/" + name),
                       "TITLE:" + title + "\nLEVEL:3\nWAVE:song.ogg\nBPM:120\n#START\n4c 4e ,\n#END\n");
    }
    writeWholeFile(game.folder.file("data/songlist.txt"), list);
}

size_t countOf(const std::string &text, const std::string &word)
{
    size_t count = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        count++;
    return count;
}

} // namespace

using TitleLibrary = GameTest;

TEST_F(TitleLibrary, StartUpMakesTheFirstTitlesAndTheSelectScreenTheRest)
{
    ASSERT_NO_FATAL_FAILURE(installLibrary(game));
    game.start();
    ASSERT_FALSE(game.waitForWindow().empty()) << game.trace();
    ASSERT_NO_FATAL_FAILURE(waitFor(" state Title\n", 60s));
    EXPECT_EQ(countOf(game.trace().substr(0, seen), " title font "), TitlesMadeAtStartUp);
    EXPECT_EQ(mappedFontFiles(std::to_string(game.pid)), 2);
    std::this_thread::sleep_for(300ms);

    ASSERT_NO_FATAL_FAILURE(pressFor("space", " state Select\n"));
    // Left of the first entry is the last one, a title not made yet.
    ASSERT_NO_FATAL_FAILURE(pressFor("Left", " title font VL Gothic[^\n]*\n"));
    ASSERT_NO_FATAL_FAILURE(escapeToTitleAndQuit(10s));
}
