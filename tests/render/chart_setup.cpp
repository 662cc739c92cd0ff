#include "chart_setup.h"

#include "audio/music_stream.h"
#include "library/chart_notes.h"
#include "rules/menu_state.h"
#include "rules/play_state.h"
#include "rules/window_state.h"

void setChartNotes(Chart &chart, const std::vector<ChartNote> &notes)
{
    chart.notes = notes;
    chart.noteCount = static_cast<uint16_t>(notes.size());
    ChartNote spare;
    spare.state = NoteTaken;
    chart.notes.push_back(spare);
    linkNotes(chart.notes, chart.noteCount);
    setCursor(chart, 0);
}

std::vector<ChartNote> notesAt(const std::vector<uint32_t> &times, const std::vector<int> &ghosts)
{
    std::vector<ChartNote> notes(times.size());
    for (size_t i = 0; i < times.size(); i++) {
        notes[i].timeMs = times[i];
        notes[i].ghost = i < ghosts.size() ? ghosts[i] : 0;
    }
    return notes;
}

void setCursor(Chart &chart, int index)
{
    chart.noteIndex = index;
    chart.currentNote = &chart.notes[index];
}

void useClientSize(int width, int height)
{
    window.clientWidth = width;
    window.clientHeight = height;
    window.aspect = static_cast<double>(height) / width;
    window.fieldMargin = 20;
    resetControlLayout();
}

void showPlayScreen(uint32_t nowMs)
{
    menu.state = Play;
    music.streamState = Streaming;
    play.playStartTime = nowMs - 20000;
    play.phaseStartTime = nowMs - 18500;
    chart.msPerBeat = 500;
    chart.bpm = 120.0;
    menu.scrollSpeed = 1.0;
}
