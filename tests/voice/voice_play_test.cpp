// The play rules driven by a voice: sung syllables through the fake capture device press the play
// key and steer the pointer, frame by frame, as the space key and the mouse would.
#include <gtest/gtest.h>

#include "audio/voice_capture.h"
#include "game/input_mode.h"
#include "platform/fake/capture_fake.h"
#include "play_fixture.h"
#include "rules/voice_mode_state.h"
#include "sung_voice.h"

namespace {

constexpr int FrameMs = 16;

// Two notes on one pitch need a new syllable each; a leap down to the demo songs' lowest note
// (98 Hz two octaves down); a note above the field.
const std::vector<TestNote> melody = {{1000, 0.0}, {1500, 2.0}, {2000, 2.0}, {2500, -5.0}, {3000, 14.0}, {3500, 5.0}};

} // namespace

class VoicePlay : public PlayFixture {
protected:
    void TearDown() override
    {
        stopVoiceInput();
        voiceMode.input = InputMouse;
        voiceMode.toneInVoiceMode = 0;
        fakeSetCaptureOpens(true);
    }

    // Sings the melody through the capture while the play rules run a frame every FrameMs.
    void singSong(const SungVoiceStyle &style)
    {
        loadTestChart(melody);
        std::vector<SungNote> notes;
        for (size_t i = 0; i < melody.size(); i++) {
            const double start = melody[i].timeMs + style.latenessMs;
            const double end = (i + 1 < melody.size() ? melody[i + 1].timeMs + style.latenessMs : start + 400.0) -
                               style.syllableGapMs;
            notes.push_back(SungNote{start, end, melody[i].pitch + 12.0 * style.octaveShift});
        }
        const SungVoice voice = singMelody(notes, style);
        fakeSetCaptureFormat(voice.sampleRate, 512);
        voiceMode.gateDb = DefaultVoiceGateDb;
        setInputMode(InputVoice);
        ASSERT_TRUE(voiceDrivesPlay());
        beginSong();
        size_t pushed = 0;
        for (int t = 0; t <= 4200; t += FrameMs) {
            const size_t due = std::min(voice.samples.size(), size_t(t) * size_t(voice.sampleRate) / 1000);
            fakeCapturePush(voice.samples.data() + pushed, int(due - pushed));
            pushed = due;
            frame(t);
        }
    }
};

TEST_F(VoicePlay, EveryNoteSungInAnyOctaveIsTakenAsGreatAndLateAtWorstAsGood)
{
    struct Row {
        const char *name;
        double octaveShift, latenessMs;
    } rows[] = {{"written octave", 0, 0},
                {"one octave lower", -1, 0},
                {"two octaves lower", -2, 0},
                {"40 ms late", 0, 40}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        SungVoiceStyle style;
        style.octaveShift = row.octaveShift;
        style.latenessMs = row.latenessMs;
        singSong(style);
        // Capture and detector take 20 to 45 ms: a syllable 40 ms late may land past GREAT.
        if (row.latenessMs == 0) {
            EXPECT_EQ(count(Great), int(melody.size()));
        }
        EXPECT_EQ(count(Great) + count(Good), int(melody.size()));
        TearDown();
    }
}

// The capture hears a syllable some 35 ms after it was sung (its buffer and the detector's
// window); judged when it was sung, a syllable 50 ms off its note still lies inside GREAT's 75 ms,
// where the hearing's lag would push a late one out.
TEST_F(VoicePlay, SyllablesAreJudgedWhenTheyWereSungNotWhenTheCaptureHeardThem)
{
    struct Row {
        const char *name;
        double latenessMs;
    } rows[] = {{"50 ms late", 50}, {"50 ms early", -50}, {"on time", 0}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        SungVoiceStyle style;
        style.latenessMs = row.latenessMs;
        singSong(style);
        EXPECT_GT(voiceCaptureDelayMs(), 30.0);
        EXPECT_EQ(count(Great), int(melody.size()));
        TearDown();
    }
}

TEST_F(VoicePlay, SilenceTakesNothingAndEveryNotePassesAsMiss)
{
    SungVoiceStyle style;
    style.peakLevel = 0.0;
    singSong(style);
    EXPECT_EQ(count(Miss), int(melody.size()));
}

TEST_F(VoicePlay, ToneIsMutedInVoiceModeUnlessVoiceToneAsksForIt)
{
    struct Row {
        int input, toneInVoiceMode;
        bool deviceOpens;
        int muted;
        bool voiceDrives;
    } rows[] = {
        {InputMouse, 0, true, 0, false},
        {InputVoice, 0, true, 1, true},
        {InputVoice, 1, true, 0, true},
        {InputVoice, 0, false, 0, false}, // no device: the mouse and the tone play on
    };
    for (const Row &row : rows) {
        TearDown();
        voiceMode.toneInVoiceMode = row.toneInVoiceMode;
        fakeSetCaptureOpens(row.deviceOpens);
        testing::internal::CaptureStderr();
        setInputMode(row.input);
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(voiceMode.toneMuted.load(), row.muted);
        EXPECT_EQ(voiceDrivesPlay(), row.voiceDrives);
        setInputMode(InputMouse);
        EXPECT_EQ(voiceMode.toneMuted.load(), 0);
        EXPECT_FALSE(voiceCaptureRunning());
    }
}
