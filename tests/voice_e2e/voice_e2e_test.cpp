// The game under the test display in voice mode, not AUTOPLAY: the demo song sung by the test's
// voice through LUMATIDE_MIC_FILE, from the title to the song's end.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <thread>

#include "sung_voice.h"
#include "support/game_process.h"

using namespace std::chrono_literals;

namespace {

struct Rendering {
    const char *name;
    double octaveShift;
};

void PrintTo(const Rendering &rendering, std::ostream *out) { *out << rendering.name; }

class VoiceEndToEnd : public testing::TestWithParam<Rendering> {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "needs a display (scripts/test.sh starts Xvfb)";
    }
    void TearDown() override { unsetenv("LUMATIDE_MIC_FILE"); }
};

} // namespace

TEST_P(VoiceEndToEnd, SingsTheDemoSongToItsEndWithNineInTenNotesTaken)
{
    GameProcess game;
    game.install(true);
    writeWholeFile(game.folder.file("conf.ini"), "[config]\nBufferLength=20\nInput=voice\n");
    SungVoiceStyle style;
    style.octaveShift = GetParam().octaveShift;
    const std::string voicePath = game.folder.file("voice.wav");
    ASSERT_TRUE(writeWav(voicePath, singMelody(melodyOfChart(demoChartPath(), style), style)));
    setenv("LUMATIDE_MIC_FILE", voicePath.c_str(), 1);
    game.start();
    ASSERT_FALSE(game.waitForWindow().empty()) << game.trace();
    size_t at = game.waitForTrace(" state Title\n", 0, 15s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(pressKey("space", 80ms));
    at = game.waitForTrace(" state Select\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(pressKey("Right", 80ms)); // the demo chart the voice sings is the second song
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(pressKey("space", 80ms));
    at = game.waitForTrace(" song start paper_kites\\.txt autoplay=0 stage=0\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();

    at = game.waitForTrace(" song end [^\n]*\n", at, 90s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    const std::string text = game.trace();
    std::smatch counts;
    const std::string songEnd = text.substr(text.rfind(" song end ", at));
    ASSERT_TRUE(std::regex_search(songEnd, counts, std::regex("miss=(\\d+) good=(\\d+) great=(\\d+)"))) << songEnd;
    const int miss = std::stoi(counts[1]), good = std::stoi(counts[2]), great = std::stoi(counts[3]);
    EXPECT_GE(10 * (good + great), 9 * (miss + good + great)) << songEnd;
    RecordProperty("miss", miss);
    RecordProperty("good", good);
    RecordProperty("great", great);
    std::printf("%s: miss=%d good=%d great=%d\n", GetParam().name, miss, good, great);
}

INSTANTIATE_TEST_SUITE_P(Renderings, VoiceEndToEnd,
                         testing::Values(Rendering{"WrittenOctave", 0.0}, Rendering{"OneOctaveLower", -1.0},
                                         Rendering{"TwoOctavesLower", -2.0}),
                         [](const testing::TestParamInfo<Rendering> &info) { return std::string(info.param.name); });

TEST(VoiceModeKey, VOnTheTitleSwitchesToVoiceSavesItAndBack)
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "needs a display (scripts/test.sh starts Xvfb)";
    GameProcess game;
    game.install(true);
    game.start();
    ASSERT_FALSE(game.waitForWindow().empty()) << game.trace();
    size_t at = game.waitForTrace(" state Title\n", 0, 15s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(pressKey("v", 80ms));
    at = game.waitForTrace(" input voice\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    at = game.waitForTrace(" config Input=voice\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    EXPECT_NE(readWholeFile(game.folder.file("conf.ini")).find("Input=voice"), std::string::npos);
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(pressKey("v", 80ms));
    at = game.waitForTrace(" input mouse\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    EXPECT_NE(readWholeFile(game.folder.file("conf.ini")).find("Input=mouse"), std::string::npos);
}
