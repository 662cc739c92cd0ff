// lumatide-chart: shows chart authors what the game reads from their charts.
#include <cstdio>
#include <cstring>
#include <string>

#include <vector>

#include "import_run.h"
#include "library/chart_parser.h"
#include "library/file_lookup.h"
#include "library/header_values.h"
#include "library/song_list.h"

namespace {

const char *const Usage =
    "usage: lumatide-chart dump FILE | lumatide-chart check FILE... |\n"
    "       lumatide-chart import SOURCE... [--into DIR] [--part 1|2] [--track N] [--audio FILE] [--force] |\n"
    "       lumatide-chart --help";

const char *const Help =
    "lumatide-chart: reads charts with the game's own parser.\n"
    "\n"
    "  lumatide-chart dump FILE\n"
    "      Parses FILE as the game does (its music looked up beside it, or in the folder above when\n"
    "      that one holds the song list, as for imported songs) and prints one item a line:\n"
    "      bpm (exact), offset_ms, music (the WAVE value), ms_per_beat, notes, judged, measures,\n"
    "      then 'measure <i> <start ms>' for each measure and\n"
    "      'note <i> <timeMs> <pitch> <octaveShift> <linked> <ghost> <next> <prev>' for each note,\n"
    "      next and prev being note indices (the spare record after the last note is index\n"
    "      'notes', -1 for none).\n"
    "\n"
    "  lumatide-chart check FILE...\n"
    "      Prints 'FILE:LINE: error|warning: message' for every mistake found: a missing or\n"
    "      non-positive BPM, no #START, no WAVE or its music missing, notes after the last ',',\n"
    "      notes without their accidental, letters other than a to g, measures of more than\n"
    "      170 tokens, bad #MEASURE fractions, a second #START, no TITLE or LEVEL, a LEVEL\n"
    "      outside 1..7, lines longer than 511 bytes, NUL bytes (the game stops reading a line\n"
    "      at one).\n"
    "      Exits 1 when any error was found, 0 otherwise.\n"
    "\n"
    "  lumatide-chart import SOURCE... [--into DIR] [--part 1|2] [--track N] [--audio FILE] [--force]\n"
    "      Imports karaoke song files (.txt with #TITLE, #BPM, ... and timed, pitched syllables) and\n"
    "      MIDI files (.mid, .midi), or every one found in a SOURCE folder, into DIR (default: the\n"
    "      game's data folder): one folder 'Artist - Title' per song with chart.txt and music.ogg,\n"
    "      the chart appended to DIR/songlist.txt. --part 2 takes a duet's second part; --track N\n"
    "      takes a MIDI file's melody from its track N (from 1); --audio gives the music instead of\n"
    "      the file the song names; --force imports again a song already imported from the same\n"
    "      file. What was imported, skipped or failed, and why, is written to DIR/import-report.txt.\n"
    "      Exits 1 when a song failed, 0 otherwise.\n"
    "\n"
    "Exit status 2 means the arguments were wrong.\n";

std::string folderOf(const std::string &path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Music is named relative to the song list's folder: an imported chart sits one folder below it.
std::string dataFolderOf(const std::string &chartPath)
{
    std::string folder = folderOf(chartPath);
    if (pathKind(joinPath(folder, SongListName)) == PathKind::Missing) {
        std::string parent = folderOf(folder);
        if (parent != folder && pathKind(joinPath(parent, SongListName)) == PathKind::File)
            return parent;
    }
    return folder;
}

long recordIndex(const Chart &chart, const ChartNote *note)
{
    return note == nullptr ? -1 : static_cast<long>(note - chart.notes.data());
}

int dump(const char *path)
{
    Chart chart;
    ChartReport report;
    std::string whyNot;
    if (!parseChartFile(path, dataFolderOf(path), 1, chart, &report, &whyNot)) {
        std::fprintf(stderr, "lumatide-chart: cannot read %s (%s)\n", path, whyNot.c_str());
        return 1;
    }
    std::printf("bpm %s\n", decimalText(chart.bpm).c_str());
    std::printf("offset_ms %d\n", chart.offsetMs);
    std::printf("music %s\n", report.waveValue.c_str());
    std::printf("ms_per_beat %u\n", chart.msPerBeat);
    std::printf("notes %u\n", chart.noteCount);
    std::printf("judged %u\n", chart.judgedNoteCount);
    std::printf("measures %u\n", chart.measureCount);
    for (size_t i = 0; i < chart.measureCount; i++)
        std::printf("measure %zu %u\n", i, chart.measureTimes[i]);
    for (size_t i = 0; i < chart.noteCount; i++) {
        const ChartNote &note = chart.notes[i];
        std::printf("note %zu %u %g %d %d %d %ld %ld\n", i, note.timeMs, note.pitch, note.octaveShift, note.linked,
                    note.ghost, recordIndex(chart, note.next), recordIndex(chart, note.prev));
    }
    return 0;
}

// Returns true when the file has an error.
bool check(const char *path)
{
    Chart chart;
    ChartReport report;
    std::string whyNot;
    if (!parseChartFile(path, dataFolderOf(path), 1, chart, &report, &whyNot)) {
        std::printf("%s:1: error: cannot read the file (%s)\n", path, whyNot.c_str());
        return true;
    }
    bool failed = false;
    for (const ChartFinding &finding : report.findings) {
        std::printf("%s:%d: %s: %s\n", path, finding.line, finding.error ? "error" : "warning",
                    finding.message.c_str());
        failed = failed || finding.error;
    }
    return failed;
}

int usageError()
{
    std::fprintf(stderr, "%s\n", Usage);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(Help, stdout);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "dump") == 0)
        return dump(argv[2]);
    if (argc >= 3 && std::strcmp(argv[1], "check") == 0) {
        bool failed = false;
        for (int i = 2; i < argc; i++)
            failed = check(argv[i]) || failed;
        return failed ? 1 : 0;
    }
    if (argc >= 2 && std::strcmp(argv[1], "import") == 0) {
        ImportOptions options;
        std::string whyNot;
        if (!readImportArguments(std::vector<std::string>(argv + 2, argv + argc), options, whyNot)) {
            std::fprintf(stderr, "lumatide-chart: %s\n", whyNot.c_str());
            return usageError();
        }
        ImportSummary summary;
        return runImport(options, summary);
    }
    return usageError();
}
