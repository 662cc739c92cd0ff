// The game under the test display in voice mode, not AUTOPLAY: the demo song sung by the test's
// voice through LUMATIDE_MIC_FILE, from the title to the song's end.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <thread>

#include "sung_voice.h"
#include "support/game_test.h"

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

class VoiceEndToEnd : public GameTest, public testing::WithParamInterface<Rendering> {
protected:
    void TearDown() override { unsetenv("LUMATIDE_MIC_FILE"); }
};

} // namespace

TEST_P(VoiceEndToEnd, SingsTheDemoSongToItsEndWithNineInTenNotesTakenInEveryOctave)
{
    const Rendering &rendering = GetParam();
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
    ASSERT_NO_FATAL_FAILURE(startToTitle());
    ASSERT_NO_FATAL_FAILURE(pressFor("space", " state Select\n"));
    ASSERT_TRUE(pressKey("Right", 80ms)); // the demo chart the voice sings is the second song
    std::this_thread::sleep_for(300ms);
    ASSERT_NO_FATAL_FAILURE(pressFor("space", " song start paper_kites\\.txt autoplay=0 stage=0\n"));
    const size_t songStart = seen;

    ASSERT_NO_FATAL_FAILURE(waitFor(" song end [^\n]*\n", 90s));
    const std::string text = game.trace();
    const std::string songEnd = lastLine();
    std::smatch counts;
    ASSERT_TRUE(std::regex_search(songEnd, counts, std::regex("miss=(\\d+) good=(\\d+) great=(\\d+)"))) << songEnd;
    const int miss = std::stoi(counts[1]), good = std::stoi(counts[2]), great = std::stoi(counts[3]);
    EXPECT_GE(10 * (good + great), 9 * (miss + good + great)) << songEnd;
    // Sung on time, the demo song's notes are GREAT to the last: every rendering must come near.
    EXPECT_GE(10 * great, 9 * (miss + good + great)) << songEnd;

    Tally byOctave[Octaves];
    const std::string played = text.substr(songStart, seen - songStart);
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

using VoiceModeKey = GameTest;

TEST_F(VoiceModeKey, VOnTheTitleSwitchesToVoiceSavesItAndBack)
{
    game.install(true);
    ASSERT_NO_FATAL_FAILURE(startToTitle());
    ASSERT_NO_FATAL_FAILURE(pressFor("v", " input voice\n"));
    ASSERT_NO_FATAL_FAILURE(waitFor(" config Input=voice\n", 5s));
    EXPECT_NE(readWholeFile(game.folder.file("conf.ini")).find("Input=voice"), std::string::npos);
    ASSERT_NO_FATAL_FAILURE(pressFor("v", " input mouse\n"));
    EXPECT_NE(readWholeFile(game.folder.file("conf.ini")).find("Input=mouse"), std::string::npos);
}
