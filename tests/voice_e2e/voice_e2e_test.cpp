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

// Every rendering plays the whole of the shortest demo song; the voice moves between the written
// octave and one and two octaves lower every four notes, so one run judges all three.
struct Rendering {
    const char *name;
    double latenessMs; // every syllable this much after its note
    int audioOffsetMs; // the calibration's AudioOffset in conf.ini
};

void PrintTo(const Rendering &rendering, std::ostream *out) { *out << rendering.name; }

constexpr int Octaves = 3;
constexpr int NotesPerOctave = 4;

int octaveShiftOfNote(size_t index) { return -int(index / NotesPerOctave % Octaves); }

struct Tally {
    int miss = 0, good = 0, great = 0;
    int judged() const { return miss + good + great; }
};

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

TEST_P(VoiceEndToEnd, SingsTheDemoSongToItsEndWithNineInTenNotesTakenInEveryOctave)
{
    const Rendering &rendering = GetParam();
    GameProcess game;
    game.install(true);
    writeWholeFile(game.folder.file("conf.ini"), "[config]\nBufferLength=20\nInput=voice\nAudioOffset=" +
                                                     std::to_string(rendering.audioOffsetMs) + "\n");
    SungVoiceStyle style;
    style.latenessMs = rendering.latenessMs;
    std::vector<SungNote> melody = melodyOfChart(demoChartPath(), style);
    ASSERT_FALSE(melody.empty());
    for (size_t i = 0; i < melody.size(); i++)
        melody[i].pitch += 12.0 * octaveShiftOfNote(i);
    const std::string voicePath = game.folder.file("voice.wav");
    ASSERT_TRUE(writeWav(voicePath, singMelody(melody, style)));
    setenv("LUMATIDE_MIC_FILE", voicePath.c_str(), 1);
    size_t at = game.startAtTitle();
    ASSERT_NE(at, std::string::npos) << game.trace();
    ASSERT_TRUE(pressKey("space", 80ms));
    at = game.waitForTrace(" state Select\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(pressKey("Right", 80ms)); // the demo chart the voice sings is the second song
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(pressKey("space", 80ms));
    at = game.waitForTrace(" song start paper_kites\\.txt autoplay=0 stage=0\n", at, 5s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    const size_t songStart = at;

    at = game.waitForTrace(" song end [^\n]*\n", at, 90s);
    ASSERT_NE(at, std::string::npos) << game.trace();
    const std::string text = game.trace();
    std::smatch counts;
    const std::string songEnd = text.substr(text.rfind(" song end ", at));
    ASSERT_TRUE(std::regex_search(songEnd, counts, std::regex("miss=(\\d+) good=(\\d+) great=(\\d+)"))) << songEnd;
    const int miss = std::stoi(counts[1]), good = std::stoi(counts[2]), great = std::stoi(counts[3]);
    EXPECT_GE(10 * (good + great), 9 * (miss + good + great)) << songEnd;
    // Sung on time, the demo song's notes are GREAT to the last: every rendering must come near.
    EXPECT_GE(10 * great, 9 * (miss + good + great)) << songEnd;

    Tally byOctave[Octaves];
    const std::string played = text.substr(songStart, at - songStart);
    const std::regex judgeLine(" judge (\\d+) (MISS|GOOD|GREAT) ");
    for (std::sregex_iterator line(played.begin(), played.end(), judgeLine), none; line != none; ++line) {
        Tally &tally = byOctave[-octaveShiftOfNote(std::stoul((*line)[1]))];
        const std::string word = (*line)[2];
        (word == "MISS" ? tally.miss : word == "GOOD" ? tally.good : tally.great)++;
    }
    for (int octave = 0; octave < Octaves; octave++) {
        const Tally &tally = byOctave[octave];
        SCOPED_TRACE(std::to_string(octave) + " octaves lower");
        EXPECT_GE(tally.judged(), 10);
        EXPECT_GE(10 * (tally.good + tally.great), 9 * tally.judged());
        std::printf("%s, %d octaves lower: miss=%d good=%d great=%d\n", rendering.name, octave, tally.miss, tally.good,
                    tally.great);
    }
    RecordProperty("miss", miss);
    RecordProperty("good", good);
    RecordProperty("great", great);
    std::printf("%s: miss=%d good=%d great=%d\n", rendering.name, miss, good, great);
}

// The late voice with the calibration's offset scores as the voice on time does.
INSTANTIATE_TEST_SUITE_P(Renderings, VoiceEndToEnd,
                         testing::Values(Rendering{"OnTime", 0.0, 0},
                                         Rendering{"FortyMsLateWithAudioOffset40", 40.0, 40}),
                         [](const testing::TestParamInfo<Rendering> &info) { return std::string(info.param.name); });

TEST(VoiceModeKey, VOnTheTitleSwitchesToVoiceSavesItAndBack)
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "needs a display (scripts/test.sh starts Xvfb)";
    GameProcess game;
    game.install(true);
    size_t at = game.startAtTitle();
    ASSERT_NE(at, std::string::npos) << game.trace();
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
