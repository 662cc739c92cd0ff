// Pitch and timing of the rendered music, measured on the PCM before encoding: the guide melody
// sounds each chart note at the chart's time and pitch, the drums play on the chart's measures, and
// every pitched instrument is in tune.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "chart_writer.h"
#include "demo_sheets.h"
#include "dsp.h"
#include "guide_melody.h"
#include "library/chart_parser.h"
#include "melody.h"
#include "song_stems.h"
#include "song_timing.h"
#include "tonal_voices.h"

namespace {

size_t frameOf(double ms) { return static_cast<size_t>(ms * SampleRate / 1000.0); }

double rms(const std::vector<float> &samples, double fromMs, double toMs)
{
    double sum = 0.0;
    const size_t from = frameOf(fromMs);
    const size_t to = frameOf(toMs);
    for (size_t i = from; i < to; ++i)
        sum += samples[i] * samples[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

// Frequency from the upward zero crossings in the window, each placed between its two samples.
double crossingHz(const std::vector<float> &samples, double fromMs, double toMs)
{
    double first = -1.0;
    double last = -1.0;
    int crossings = 0;
    for (size_t i = frameOf(fromMs); i + 1 < frameOf(toMs); ++i) {
        if (samples[i] < 0.0f && samples[i + 1] >= 0.0f) {
            const double at = static_cast<double>(i) + samples[i] / (samples[i] - samples[i + 1]);
            if (first < 0.0)
                first = at;
            last = at;
            ++crossings;
        }
    }
    return crossings < 2 ? 0.0 : (crossings - 1) * SampleRate / (last - first);
}

double goertzelPower(const std::vector<float> &samples, size_t from, size_t count, double hz)
{
    const double coefficient = 2.0 * std::cos(2.0 * M_PI * hz / SampleRate);
    double previous = 0.0;
    double beforePrevious = 0.0;
    for (size_t i = from; i < from + count; ++i) {
        const double current = samples[i] + coefficient * previous - beforePrevious;
        beforePrevious = previous;
        previous = current;
    }
    return previous * previous + beforePrevious * beforePrevious - coefficient * previous * beforePrevious;
}

// The chart as the game reads it, so every time below is a chart time.
void parseSheet(const SongSheet &sheet, Chart &chart)
{
    parseChartText(chartText(sheet), ".", static_cast<uint16_t>(sheet.level), chart);
}

} // namespace

TEST(GuideMelody, EveryJudgedNoteSoundsAtItsChartTimeAndPitch)
{
    for (const SongSheet &sheet : demoSongSheets()) {
        SCOPED_TRACE(sheet.stem);
        Chart chart;
        parseSheet(sheet, chart);
        const std::vector<MelodyNote> melody = melodyNotes(sheet, measureSpans(sheet));
        ASSERT_EQ(chart.noteCount, melody.size());
        StereoBuffer guide = silentBuffer(songFrames(sheet));
        addGuideMelody(guide, melody, 1.0);

        for (size_t i = 0; i < melody.size(); ++i) {
            if (chart.notes[i].ghost)
                continue;
            const double t = chart.notes[i].timeMs;
            const double lengthMs = melody[i].endMs - melody[i].startMs;
            ASSERT_GE(lengthMs, 100.0) << "note " << i;
            const double hz = crossingHz(guide.left, t + 15.0, t + 15.0 + std::min(80.0, lengthMs - 50.0));
            const double offBySemitones = 12.0 * std::log2(hz / pitchHz(chart.notes[i].pitch));
            EXPECT_NEAR(offBySemitones, 0.0, 0.1) << "note " << i << " at " << t << " ms";
            // A note that is not the end of a slide starts from silence, within a few ms of its time.
            if (i == 0 || !melody[i - 1].linked) {
                EXPECT_LT(rms(guide.left, t - 3.0, t), 0.05) << "note " << i << " at " << t << " ms";
                EXPECT_GT(rms(guide.left, t + 3.0, t + 8.0), 0.1) << "note " << i << " at " << t << " ms";
            }
        }
    }
}

TEST(Backing, KicksLandOnTheChartMeasureStarts)
{
    // The waltz song changes meter; the 140 BPM song has measures of a fractional length in ms.
    for (const SongSheet &sheet : {paperKitesSheet(), glassHarborSheet()}) {
        SCOPED_TRACE(sheet.stem);
        Chart chart;
        parseSheet(sheet, chart);
        const SongStems stems = renderStems(sheet);
        for (size_t m = 0; m < chart.measureCount; ++m) {
            const Groove groove = sheet.measures[m].groove;
            if (groove == Groove::Silent || groove == Groove::Hats)
                continue;
            const double t = chart.measureTimes[m];
            EXPECT_GT(rms(stems.drums.left, t + 0.5, t + 5.0), 4.0 * rms(stems.drums.left, t - 12.0, t - 1.0))
                << "measure " << m << " at " << t << " ms";
        }
    }
}

TEST(Instruments, EveryPitchedVoiceSoundsItsPitch)
{
    enum Voice { Bass, Pad, Piano };
    const struct {
        Voice voice;
        double pitch;
    } cases[] = {{Bass, -36}, {Bass, -29}, {Bass, -25}, {Pad, -17}, {Pad, -9}, {Piano, -12}, {Piano, -1}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "voice " << c.voice << " pitch " << c.pitch);
        StereoBuffer buffer = silentBuffer(SampleRate);
        const ToneNote note{0.0, 900.0, c.pitch, 1.0, 0.0};
        if (c.voice == Bass)
            addBassNote(buffer, note);
        else if (c.voice == Pad)
            addPadNote(buffer, note, 1800.0);
        else
            addPianoNote(buffer, note);
        const double hz = pitchHz(c.pitch);
        const size_t from = SampleRate / 10;
        const size_t count = SampleRate / 2;
        const double onPitch = goertzelPower(buffer.left, from, count, hz);
        EXPECT_GT(onPitch, 10.0 * goertzelPower(buffer.left, from, count, hz * std::pow(2.0, 1.0 / 12.0)));
        EXPECT_GT(onPitch, 10.0 * goertzelPower(buffer.left, from, count, hz / std::pow(2.0, 1.0 / 12.0)));
    }
}

TEST(Instruments, TuningMatchesTheGamesTone)
{
    EXPECT_DOUBLE_EQ(pitchHz(0), 523.0);
    EXPECT_DOUBLE_EQ(pitchHz(12), 1046.0);
    EXPECT_DOUBLE_EQ(pitchHz(-12), 261.5);
    EXPECT_NEAR(pitchHz(-3), 439.79, 0.01);
}
