#include "game/song_chart.h"

#include "library/catalogue.h"
#include "library/chart_parser.h"
#include "library/file_lookup.h"
#include "platform/trace.h"
#include "rules/menu_state.h"

void parseChart()
{
    std::string fileName;
    if (menu.selectedSong < catalogue.songs.size()) {
        const SongEntry &entry = catalogue.songs[menu.selectedSong];
        fileName = entry.fileName;
        const std::string dataDir = dataDirectory();
        parseChartFile(findDataFile(dataDir, fileName), dataDir, entry.level, chart);
    } else {
        // No song is selected (an empty catalogue): the song plays as a chart that cannot be read.
        makeEmptyChart(chart, 1);
    }
    trace("chart %s notes=%u judged=%u measures=%u bpm=%g", fileName.c_str(), chart.noteCount, chart.judgedNoteCount,
          chart.measureCount, chart.bpm);
}
