// AUTOPLAY plays every bundled demo song from the select screen to its end: the real song list,
// chart parser, music stream and mixer core, with the mixer pulled in step with a simulated clock.
// This executable lives in a folder of its own whose data/ is the build's data/ folder.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/app_context.h"
#include "game/menus.h"
#include "game/play_update.h"
#include "gfx/field_geometry.h"
#include "library/song_list.h"
#include "platform/core/pcm_mixer.h"
#include "platform/fake/fake_platform.h"
#include "platform/keys.h"
#include "platform/pcm.h"
#include "platform/timer.h"
#include "rules/note_column.h"

namespace {

constexpr uint32_t FrameMs = 16;

// What the rules saw when a note was judged.
struct JudgedNote {
    int index;
    int distanceMs;
    double pitchDistance;
};

class SimulatedGame {
public:
    SimulatedGame()
    {
        fakeSetTimeMs(10000);
        pcmStartOutput();
        startMs = timerNowMs();
    }

    // One main-loop iteration: time passes, the listener hears it, then the game updates and the
    // renderer's note placement runs.
    void frame()
    {
        fakeAdvanceTimeMs(FrameMs);
        hearUntilNow();
        updateMenus();
        if (menu.state.load() == Play) {
            updatePlay();
            noteJudgement();
            placeNotes();
        }
    }

    std::vector<JudgedNote> judged;

private:
    uint32_t startMs = 0;
    uint64_t heardFrames = 0;
    std::vector<int16_t> scratch;

    void hearUntilNow()
    {
        const uint64_t target = uint64_t(timerNowMs() - startMs) * PcmMixRate / 1000;
        const int frames = static_cast<int>(target - heardFrames);
        scratch.resize(size_t(frames) * PcmMixChannels);
        pcmMixerPull(scratch.data(), frames);
        heardFrames = target;
    }

    void noteJudgement()
    {
        if (play.lastJudgementTime != timerNowMs() || chart.currentNote == nullptr)
            return;
        const ChartNote &note = *chart.currentNote->prev;
        judged.push_back({static_cast<int>(&note - chart.notes.data()),
                          std::abs(play.songTimeMs - static_cast<int>(note.timeMs)),
                          std::fabs(note.pitch - play.playerPitch)});
    }

    static void placeNotes()
    {
        const FieldMetrics metrics = fieldMetrics(window.clientWidth.load(), window.clientHeight.load(),
                                                  window.fieldMargin.load(), window.aspect);
        for (ChartNote &note : chart.notes)
            if (note.state != 0)
                note.screenX = noteColumnX(note, metrics.width, metrics.fieldMargin);
    }
};

} // namespace

TEST(AutoplayDemoSongs, EveryJudgedNoteIsGreat)
{
    resetAppContext();
    fakeResetPlatform();
    loadSongList();
    ASSERT_GE(catalogue.songCount, 4) << "the demo songs are generated into the build's data/";
    SimulatedGame game;
    menu.state.store(Select);

    for (uint16_t song = 0; song < catalogue.songCount; song++) {
        const std::string name = catalogue.songs[song].fileName;
        menu.selectedSong = song;
        game.judged.clear();
        game.frame();
        fakeSetKeyDown(KeyUp, true);
        game.frame();
        fakeSetKeyDown(KeyUp, false);
        ASSERT_EQ(menu.state.load(), Play) << name;
        ASSERT_EQ(menu.autoplay, 1) << name;
        ASSERT_NE(music.silentSource, true) << name << ": its music opens";

        ASSERT_GT(chart.judgedNoteCount, 0) << name;
        for (int frames = 0; credit.songEndHandled == 0; frames++) {
            game.frame();
            ASSERT_LT(frames, 150 * 1000 / int(FrameMs)) << name << " never ended";
        }

        EXPECT_EQ(play.judgementCounts[Great], chart.judgedNoteCount) << name;
        EXPECT_EQ(play.judgementCounts[Good], 0) << name;
        EXPECT_EQ(play.judgementCounts[Miss], 0) << name;
        EXPECT_EQ(play.combo, chart.judgedNoteCount) << name;
        EXPECT_NE(play.fullComboTime, 0u) << name;
        EXPECT_NEAR(play.score, 100000.0, 1e-6) << name;
        EXPECT_EQ(chart.noteIndex, chart.noteCount) << name;
        // AUTOPLAY books everything as GREAT; the rules themselves must have met every note in
        // time and on pitch, not let it pass.
        ASSERT_EQ(game.judged.size(), size_t(chart.judgedNoteCount)) << name;
        for (const JudgedNote &j : game.judged) {
            EXPECT_LT(j.distanceMs, 75) << name << " note " << j.index;
            EXPECT_LT(j.pitchDistance, 0.5) << name << " note " << j.index;
        }
        for (int i = 0; i < chart.noteCount; i++) {
            if (chart.notes[i].ghost == 0) {
                EXPECT_EQ(chart.notes[i].grade, Great) << name << " note " << i;
            }
        }

        // Space after the end leads back to the select screen, without a stage.
        for (int frames = 0; frames < 70; frames++)
            game.frame();
        fakeTapKey(KeySpace);
        game.frame();
        EXPECT_EQ(menu.state.load(), Select) << name;
        EXPECT_EQ(credit.stage, 0) << name;
        EXPECT_EQ(catalogue.songs[song].played, 0) << name;
    }
}
