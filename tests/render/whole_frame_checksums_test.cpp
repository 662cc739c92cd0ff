// Whole frames of every screen, and of a played chart with chords, slides, ghosts, half-semitone
// pitches and hit effects at several times, each reduced to a checksum of every byte of the
// window: the renderer may change how it draws, never one pixel of what it draws. The stored
// checksums were taken from frames drawn one quad and one push of the model view at a time, under
// the software GL the tests run on (another GL rasterises its own way, so the test skips there).
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "app/app_context.h"
#include "chart_setup.h"
#include "frame_capture.h"
#include "gfx/render_frame.h"
#include "rules/control_layout.h"

namespace {

constexpr uint32_t Now = 2000000;

uint64_t fnv1a(const std::vector<uint8_t> &bytes)
{
    uint64_t hash = 14695981039346656037ull;
    for (uint8_t byte : bytes)
        hash = (hash ^ byte) * 1099511628211ull;
    return hash;
}

// 160 notes 150 ms apart from 4 s: chords of two or three every fifth step, a slide every third
// note, a ghost every eleventh, a half-semitone pitch every seventh, an octave shift every
// thirteenth. Notes before the cursor are taken or cancelled, the last few graded a moment ago;
// the clock stands msBeforeCursor before the cursor's note (after the last note for the spare).
void playChart(int cursor, int msBeforeCursor)
{
    showPlayScreen(Now);
    std::vector<ChartNote> notes(160);
    uint32_t t = 4000;
    for (int i = 0; i < 160; i++) {
        ChartNote &note = notes[i];
        if (i % 5 != 1 && i % 5 != 2)
            t += 150;
        note.timeMs = t;
        note.pitch = (i * 7) % 25 - 12 + (i % 7 == 3 ? 0.5 : 0.0);
        note.octaveShift = i % 13 == 6 ? 1 : 0;
        note.linked = i % 3 == 0;
        note.ghost = i % 11 == 4;
    }
    setChartNotes(chart, notes);
    for (int i = 0; i < cursor; i++) {
        ChartNote &note = chart.notes[i];
        note.state = i % 6 == 0 ? NoteClosed : NoteTaken;
        note.grade = static_cast<uint16_t>(i % 3);
        note.screenX = (i % 24 - 12) / 13.0;
        if (note.grade > 0)
            note.gradeTime = Now - 40 * static_cast<uint32_t>(cursor - i);
    }
    setCursor(chart, cursor);
    const int songTimeMs =
        static_cast<int>(cursor < 160 ? chart.notes[cursor].timeMs : chart.notes[159].timeMs + 2000) - msBeforeCursor;
    chart.measureCount = 40;
    chart.measureTimes.clear();
    for (int j = 0; j < chart.measureCount; j++)
        chart.measureTimes.push_back(4000 + 2000 * j);
    chart.measureIndex = static_cast<uint16_t>(songTimeMs > 4000 ? (songTimeMs - 4000) / 2000 : 0);
    play.songTimeMs = songTimeMs;
    play.beatPhase = (songTimeMs % 500) / 500.0;
    play.linkActive = chart.notes[cursor].prev != nullptr && chart.notes[cursor].prev->linked ? 1 : 0;
    play.lastJudgement = Great;
    play.lastJudgementTime = Now - 120;
    play.combo = cursor;
    play.displayedScore = 100.0 * cursor;
    play.gauge = 40.0 + cursor / 4.0;
    play.keyHeldFrames = cursor % 2 == 0 ? 3 : 0;
    window.pointerX = 40.0 + 3.0 * cursor;
}

// Heads that overlap: the same pitch a few milliseconds apart, half a semitone apart at one time,
// one note twice; light open heads among dark taken ones, so the order of fills and outlines shows.
void playOverlappingHeads()
{
    playChart(0, 0);
    std::vector<ChartNote> notes;
    for (int i = 0; i < 40; i++) {
        ChartNote note;
        note.timeMs = 5000 + 60 * (i / 4) + (i % 4 == 1 ? 12 : 0) + (i % 4 == 3 ? 3 : 0);
        note.pitch = (i / 4) % 12 - 6 + (i % 4 == 2 ? 0.5 : 0.0) + (i % 4 == 3 ? 0.25 : 0.0);
        note.linked = i % 8 == 5;
        notes.push_back(note);
    }
    setChartNotes(chart, notes);
    for (int i = 0; i < 40; i += 3)
        chart.notes[i].state = NoteTaken;
    play.songTimeMs = 4900;
}

struct Scene {
    const char *name;
    int clientHeight;
    std::function<void()> setUp;
    bool rankingKeyDown;
    uint64_t checksum;
};

class WholeFrameChecksums : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(openRenderWindow()) << "needs a display (run under xvfb-run)";
        const char *renderer = reinterpret_cast<const char *>(glGetString(GL_RENDERER));
        if (renderer == nullptr || std::strstr(renderer, "llvmpipe") == nullptr)
            GTEST_SKIP() << "the checksums were taken under llvmpipe, not " << (renderer ? renderer : "?");
        if (fontTexture == 0) {
            fontTexture = makeBlockFont();
            iconTexture = makeIconStrip();
        }
    }

    void TearDown() override { resetAppContext(); }

    void expectChecksum(const Scene &scene)
    {
        resetAppContext();
        useClientSize(WindowWidth, scene.clientHeight);
        gfx.fontTexture = fontTexture;
        gfx.waveTexture = iconTexture;
        scene.setUp();
        // Two frames: the first may leave state (placed notes) that the second draws from.
        drawFrame(FrameInput{Now, scene.rankingKeyDown});
        drawFrame(FrameInput{Now, scene.rankingKeyDown});
        const Capture capture = captureFrame(scene.clientHeight);
        const uint64_t sum = fnv1a(capture.rgb);
        char hex[32];
        std::snprintf(hex, sizeof hex, "0x%016" PRIx64, sum);
        EXPECT_EQ(sum, scene.checksum) << scene.name << " now draws as " << hex;
        if (sum != scene.checksum)
            saveScreenshot(capture, WindowWidth, std::string("checksum_mismatch_") + scene.name);
    }

    static unsigned fontTexture, iconTexture;
};

unsigned WholeFrameChecksums::fontTexture = 0;
unsigned WholeFrameChecksums::iconTexture = 0;

TEST_F(WholeFrameChecksums, EveryScreenAndAPlayedChartMatchTheirReference)
{
    const Scene scenes[] = {
        {"title", 480,
         [] {
             menu.state = Title;
             play.phaseStartTime = Now - 500;
         },
         false, 0x20ece7f78041b642},
        {"title_ranking", 480,
         [] {
             menu.state = Title;
             play.phaseStartTime = Now - 5000;
         },
         true, 0xc4b3ac86d46d91e4},
        {"select", 480,
         [] {
             menu.state = Select;
             SongEntry song;
             song.level = 3;
             catalogue.songs.push_back(song);
             window.hoverControl = ControlNextSong;
         },
         false, 0x748a885b6058fb7f},
        {"play_lead_in", 480,
         [] {
             playChart(0, 1500);
             play.playStartTime = Now - 400;
         },
         false, 0x932855138d10fae6},
        {"play_early", 480, [] { playChart(12, 70); }, false, 0xab812d7a5c952108},
        {"play_middle", 480, [] { playChart(70, 130); }, false, 0xd0424467fbd19cdf},
        {"play_late", 480,
         [] {
             playChart(150, 10);
             play.fullComboTime = Now - 700;
         },
         false, 0x34c9b8b62065b3b7},
        {"play_all_passed", 480, [] { playChart(160, 0); }, false, 0x6ee319b1ad348dbe},
        {"play_overlapping_heads", 480, playOverlappingHeads, false, 0xce2534e33365282c},
        {"play_middle_16_9", 360, [] { playChart(70, 130); }, false, 0xb89c92cc999ee073},
        {"song_end", 480,
         [] {
             playChart(160, 0);
             music.streamState = Finished;
             play.resultTime = Now - 1500;
             play.fullComboTime = Now - 300;
         },
         false, 0x78e3759d3f5245a0},
        {"result", 480,
         [] {
             menu.state = Result;
             play.resultTime = Now - 5000;
             play.displayedScore = 123450.0;
             credit.newRankIndex = 0;
         },
         false, 0x60698059e923aae1},
        {"result_16_9", 360,
         [] {
             menu.state = Result;
             play.resultTime = Now - 100;
         },
         false, 0x7a4e0d8b504f7eac},
    };
    for (const Scene &scene : scenes)
        expectChecksum(scene);
}

} // namespace
