#include "play_fixture.h"

#include "game/play_reset.h"
#include "game/play_update.h"
#include "platform/fake/fake_platform.h"
#include "platform/keys.h"

void loadTestChart(const std::vector<TestNote> &notes, uint32_t msPerBeat, uint16_t level)
{
    const size_t count = notes.size();
    chart.notes.assign(count + 1, ChartNote{});
    chart.judgedNoteCount = 0;
    for (size_t i = 0; i < count; i++) {
        ChartNote &note = chart.notes[i];
        note.timeMs = notes[i].timeMs;
        note.pitch = notes[i].pitch;
        note.linked = notes[i].linked;
        note.ghost = notes[i].ghost;
        note.octaveShift = notes[i].octaveShift;
        if (note.ghost == 0)
            chart.judgedNoteCount++;
    }
    for (size_t i = 0; i <= count; i++) {
        ChartNote &note = chart.notes[i];
        if (i + 1 < count) {
            size_t j = i + 1;
            while (j < count && chart.notes[j].ghost == 1)
                j++;
            note.next = &chart.notes[j];
        }
        note.prev = &note;
        for (size_t j = i; j-- > 0;) {
            if (chart.notes[j].ghost == 0) {
                note.prev = &chart.notes[j];
                break;
            }
        }
    }
    chart.noteCount = static_cast<uint16_t>(count);
    chart.noteIndex = 0;
    chart.currentNote = chart.notes.data();
    chart.msPerBeat = msPerBeat;
    chart.bpm = msPerBeat ? 60000.0 / msPerBeat : 0.0;
    chart.measureCount = 0;
    chart.measureTimes.clear();
    chart.clearNorm = level / 7.0 * 0.25 + 0.6;
    chart.gaugeRate = level / 7.0 * 0.18 + 0.8;
    if (!catalogue.songs.empty())
        catalogue.songs[0].level = level;
}

void moveCursorTo(int32_t index)
{
    for (int32_t i = 0; i < index; i++)
        chart.notes[i].state = NoteTaken;
    chart.noteIndex = index;
    chart.currentNote = &chart.notes[index];
}

double pointerXForPitch(double pitch)
{
    const int width = window.clientWidth.load();
    const int halfField = (width - 2 * window.fieldMargin.load()) / 2;
    return width / 2 + pitch * halfField / 12.0;
}

void PlayFixture::SetUp()
{
    resetAppContext();
    fakeResetPlatform();
    clockZeroTimer = TimerAtClockZero;
    SongEntry entry;
    entry.fileName = "test.tja";
    entry.level = 3;
    catalogue.songs = {entry};
    catalogue.songCount = 1;
}

void PlayFixture::beginSong(bool autoplay)
{
    resetPlayState();
    menu.autoplay = autoplay ? 1 : 0;
    menu.state.store(Play);
    play.keyHeldFrames.store(-1);
    play.playStartTime = clockZeroTimer - 2000;
    play.phaseStartTime = clockZeroTimer;
    music.streamState.store(Streaming);
}

void PlayFixture::frame(int t, bool keyDown, double pitch)
{
    fakeSetKeyDown(KeySpace, keyDown);
    window.pointerX.store(pointerXForPitch(pitch));
    frame(t);
}

void PlayFixture::frame(int t)
{
    const uint32_t now = clockZeroTimer + static_cast<uint32_t>(t);
    fakeSetTimeMs(now);
    play.songTimeMs = t;
    applyPlayRules(now);
}
