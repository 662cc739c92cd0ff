#include "import_run.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "audio_conversion.h"
#include "chart_draft.h"
#include "library/file_lookup.h"
#include "library/line_reader.h"
#include "song_mapping.h"
#include "ultrastar_chart.h"
#include "ultrastar_reader.h"

namespace fs = std::filesystem;

namespace {

const char *const SongListName = "songlist.txt";
const char *const ReportName = "import-report.txt";

struct Outcome {
    enum Kind { Imported, Skipped, Failed } kind = Failed;
    std::string reason; // or, for an imported song, where it went
};

std::string lowerExtension(const fs::path &path)
{
    std::string extension = path.extension().string();
    for (char &c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

bool isSongFile(const fs::path &path)
{
    if (lowerExtension(path) != ".txt")
        return false;
    std::string text;
    return readFileText(path.string(), text) && looksLikeUltraStar(text);
}

// Named files are taken as given; folders give their song files, the import target excluded.
std::vector<std::string> findSongFiles(const std::vector<std::string> &sources, const fs::path &into)
{
    std::error_code error;
    const fs::path target = fs::weakly_canonical(into, error);
    std::vector<std::string> files;
    for (const std::string &source : sources) {
        if (!fs::is_directory(source, error)) {
            files.push_back(source);
            continue;
        }
        std::vector<std::string> found;
        fs::recursive_directory_iterator it(source, fs::directory_options::skip_permission_denied, error), end;
        for (; it != end; it.increment(error)) {
            if (error)
                break;
            if (it->is_directory(error) && fs::weakly_canonical(it->path(), error) == target) {
                it.disable_recursion_pending();
                continue;
            }
            if (it->is_regular_file(error) && isSongFile(it->path()))
                found.push_back(it->path().string());
        }
        std::sort(found.begin(), found.end());
        files.insert(files.end(), found.begin(), found.end());
    }
    return files;
}

std::string sourceIdentity(const std::string &file, int part)
{
    std::error_code error;
    fs::path absolute = fs::weakly_canonical(file, error);
    return (error ? file : absolute.string()) + (part == 2 ? " part 2" : "");
}

std::string chartSource(const fs::path &chartPath)
{
    std::string text;
    if (!readFileText(chartPath.string(), text))
        return "";
    LineReader reader = makeLineReader(text);
    std::string line;
    while (readLine(reader, line))
        if (line.rfind("SOURCE:", 0) == 0)
            return line.substr(7);
    return "";
}

// The song's folder: the first of "name", "name (2)", ... that is free or holds this source.
fs::path songFolder(const fs::path &into, const std::string &name, const std::string &identity, bool &already)
{
    for (int n = 1;; n++) {
        const fs::path folder = into / (n == 1 ? name : name + " (" + std::to_string(n) + ")");
        std::error_code error;
        if (!fs::exists(folder / "chart.txt", error)) {
            already = false;
            return folder;
        }
        if (chartSource(folder / "chart.txt") == identity) {
            already = true;
            return folder;
        }
    }
}

bool writeFileAtomically(const fs::path &path, const std::string &text)
{
    const fs::path temporary = path.string() + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out)
            return false;
    }
    std::error_code error;
    fs::rename(temporary, path, error);
    return !error;
}

struct SongImport {
    const ImportOptions &options;
    fs::path into;
    std::vector<std::string> newChartLines;
};

Outcome importSong(SongImport &run, const std::string &file, std::string &shownName)
{
    std::string bytes, why;
    if (!readFileText(file, bytes, &why))
        return {Outcome::Failed, why};
    UltraStarSong song;
    if (!readUltraStar(bytes, song, why))
        return {Outcome::Failed, why};
    ChartDraft draft;
    int shift = 0;
    if (!ultraStarDraft(song, run.options.part, draft, shift, why))
        return {Outcome::Failed, why};
    shownName = song.artist.empty() ? song.title : song.artist + " - " + song.title;

    const std::string suffix = run.options.part == 2 ? " (part 2)" : "";
    const std::string identity = sourceIdentity(file, run.options.part);
    bool already = false;
    const fs::path folder = songFolder(run.into, songFolderName(song.artist, song.title) + suffix, identity, already);
    if (already && !run.options.force)
        return {Outcome::Skipped, "already imported into " + folder.string()};

    std::string music = run.options.audio;
    if (music.empty()) {
        if (song.audio.empty())
            return {Outcome::Skipped, "no #AUDIO or #MP3 tag names the music"};
        music = findDataFile(fs::path(file).parent_path().string(), song.audio);
    }
    if (pathKind(music) != PathKind::File)
        return {Outcome::Skipped, "music file " + music + " not found"};

    const std::string folderName = folder.filename().string();
    draft.title = (song.artist.empty() ? song.title : song.title + " - " + song.artist) + suffix;
    draft.wave = folderName + "/music.ogg";
    draft.source = identity;
    const std::string chart = writeChartText(draft);
    const double error = largestTimingError(chart, draft);
    if (error < 0.0 || error > 2.0)
        return {Outcome::Failed, "the chart cannot keep every note within 2 ms of its time"};

    std::error_code fsError;
    const bool created = !fs::exists(folder, fsError);
    fs::create_directories(folder, fsError);
    if (!convertMusic(music, (folder / "music.ogg.part").string(), why) ||
        (fs::rename(folder / "music.ogg.part", folder / "music.ogg", fsError), fsError)) {
        fs::remove(folder / "music.ogg.part", fsError);
        if (created)
            fs::remove(folder, fsError);
        return {Outcome::Skipped, music + ": " + why};
    }
    if (!writeFileAtomically(folder / "chart.txt", chart))
        return {Outcome::Failed, "cannot write " + (folder / "chart.txt").string()};
    run.newChartLines.push_back(folderName + "/chart.txt");
    char shiftText[16];
    std::snprintf(shiftText, sizeof shiftText, "%+d", shift);
    return {Outcome::Imported, folder.string() + " (octave shift " + shiftText + ", level " +
                                   std::to_string(draft.level) + ")"};
}

// The new charts go after the lines already there; a chart already listed is not listed again.
bool appendToSongList(const fs::path &into, const std::vector<std::string> &chartLines)
{
    std::string text;
    readFileText((into / SongListName).string(), text);
    std::vector<std::string> listed;
    LineReader reader = makeLineReader(text);
    std::string line;
    while (readLine(reader, line))
        listed.push_back(line);
    if (!text.empty() && text.back() != '\n')
        text += '\n';
    bool changed = false;
    for (const std::string &chartLine : chartLines) {
        if (std::find(listed.begin(), listed.end(), chartLine) != listed.end())
            continue;
        text += chartLine + "\n";
        listed.push_back(chartLine);
        changed = true;
    }
    return !changed || writeFileAtomically(into / SongListName, text);
}

} // namespace

bool readImportArguments(const std::vector<std::string> &arguments, ImportOptions &options, std::string &whyNot)
{
    options = ImportOptions{};
    for (size_t i = 0; i < arguments.size(); i++) {
        const std::string &argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == "--force") {
            options.force = true;
        } else if (argument == "--into" || argument == "--audio" || argument == "--part") {
            if (!hasValue) {
                whyNot = argument + " needs a value";
                return false;
            }
            const std::string &value = arguments[++i];
            if (argument == "--into")
                options.into = value;
            else if (argument == "--audio")
                options.audio = value;
            else if (value == "1" || value == "2")
                options.part = value[0] - '0';
            else {
                whyNot = "--part is 1 or 2";
                return false;
            }
        } else if (argument.rfind("--", 0) == 0) {
            whyNot = "unknown option " + argument;
            return false;
        } else {
            options.sources.push_back(argument);
        }
    }
    if (options.sources.empty()) {
        whyNot = "no song file or folder given";
        return false;
    }
    if (options.into.empty())
        options.into = dataDirectory();
    return true;
}

int runImport(const ImportOptions &options, ImportSummary &summary)
{
    summary = ImportSummary{};
    SongImport run{options, fs::path(options.into), {}};
    std::error_code error;
    fs::create_directories(run.into, error);
    const std::vector<std::string> files = findSongFiles(options.sources, run.into);
    const bool terminal = isatty(fileno(stdout)) != 0;
    std::string report;
    for (size_t i = 0; i < files.size(); i++) {
        std::string shownName = fs::path(files[i]).filename().string();
        const Outcome outcome = importSong(run, files[i], shownName);
        if (terminal) {
            std::printf("\r\033[K[%3zu/%zu] %s", i + 1, files.size(), shownName.c_str());
            std::fflush(stdout);
        }
        if (outcome.kind == Outcome::Imported) {
            summary.imported++;
            report += "imported " + files[i] + " -> " + outcome.reason + "\n";
        } else if (outcome.kind == Outcome::Skipped) {
            summary.skipped++;
            report += "skipped " + files[i] + ": " + outcome.reason + "\n";
        } else {
            summary.failed++;
            report += "failed " + files[i] + ": " + outcome.reason + "\n";
            std::fprintf(stderr, "%slumatide-chart: %s: %s\n", terminal ? "\n" : "", files[i].c_str(),
                         outcome.reason.c_str());
        }
    }
    if (terminal && !files.empty())
        std::printf("\n");
    const fs::path reportPath = run.into / ReportName;
    if (!appendToSongList(run.into, run.newChartLines)) {
        std::fprintf(stderr, "lumatide-chart: %s: cannot be written\n", (run.into / SongListName).c_str());
        summary.failed++;
    }
    if (!writeFileAtomically(reportPath, report))
        std::fprintf(stderr, "lumatide-chart: %s: cannot be written\n", reportPath.c_str());
    std::printf("imported %d, skipped %d, failed %d (details in %s)\n", summary.imported, summary.skipped,
                summary.failed, reportPath.c_str());
    return summary.failed == 0 ? 0 : 1;
}
