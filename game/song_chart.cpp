#include "game/song_chart.h"

#include <cstdio>

#include "library/catalogue.h"
#include "library/chart_parser.h"
#include "library/file_lookup.h"
#include "library/header_values.h"
#include "platform/trace.h"
#include "rules/menu_state.h"

bool parseChart(std::string *chartPath)
{
    std::string fileName;
    bool read = false;
    if (menu.selectedSong < catalogue.songs.size()) {
        const SongEntry &entry = catalogue.songs[menu.selectedSong];
        fileName = entry.fileName;
        const std::string dataDir = songFolder(entry);
        const std::string path = findDataFile(dataDir, fileName);
        std::string whyNot;
        read = parseChartFile(path, dataDir, entry.level, chart, nullptr, &whyNot);
        if (!read)
            std::fprintf(stderr, "lumatide: %s: %s; the song has no notes\n", path.c_str(), whyNot.c_str());
        else if (!isPlayableBpm(chart.bpm)) // the parser left the chart empty; the author hears why
            std::fprintf(stderr, "lumatide: %s: no usable BPM (%g); the song has no notes\n", path.c_str(), chart.bpm);
        if (chartPath)
            *chartPath = path;
    } else {
        // No song is selected (an empty catalogue): the song plays as a chart that cannot be read.
        makeEmptyChart(chart, 1);
    }
    trace("chart %s notes=%u judged=%u measures=%u bpm=%g", fileName.c_str(), chart.noteCount, chart.judgedNoteCount,
          chart.measureCount, chart.bpm);
    return read;
}
