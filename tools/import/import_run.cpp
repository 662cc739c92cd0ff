#include "import_run.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>

#include "audio_conversion.h"
#include "chart_draft.h"
#include "library/file_lookup.h"
#include "library/file_replace.h"
#include "library/line_reader.h"
#include "library/song_list.h"
#include "midi_chart.h"
#include "midi_music.h"
#include "midi_reader.h"
#include "platform/paths.h"
#include "song_mapping.h"
#include "text_encoding.h"
#include "ultrastar_chart.h"
#include "ultrastar_reader.h"

namespace fs = std::filesystem;

namespace {

const char *const ReportName = "import-report.txt";

struct Outcome {
    enum Kind { Imported, Skipped, Failed } kind = Failed;
    std::string reason; // or, for an imported song, where it went
};

std::string lowerExtension(const fs::path &path) { return asciiLower(path.extension().string()); }

bool isMidiFile(const std::string &file)
{
    const std::string extension = lowerExtension(fs::path(file));
    return extension == ".mid" || extension == ".midi";
}

bool isSongFile(const fs::path &path)
{
    if (isMidiFile(path.string()))
        return true;
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
        if (startsWith(line, "SOURCE:"))
            return line.substr(7);
    return "";
}

// The song's folder: the first of "name", "name (2)", ... that is free or holds this source.
fs::path importFolder(const fs::path &into, const std::string &name, const std::string &identity, bool &already)
{
    for (int n = 1;; n++) {
        fs::path folder = into / (n == 1 ? name : name + " (" + std::to_string(n) + ")");
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

struct SongImport {
    const ImportOptions &options;
    fs::path into;
    std::vector<std::string> newChartLines;
};

// A song read from its source, before it is placed: its chart, its names, and where its music comes from.
struct ReadSong {
    ChartDraft draft;
    std::string artist;
    std::string title;
    int octaveShift = 0;
    std::string music;      // the music file to convert; empty: the MIDI song is played
    std::string whyNoMusic; // set when the music the song names is not found
    MidiSong midi;
    int melodyTrack = -1;
    std::vector<MelodyLineNote> melody;
};

bool writeSongMusic(const ReadSong &song, const std::string &target, std::string &whyNot)
{
    if (song.music.empty())
        return renderMidiMusic(song.midi, song.melodyTrack, song.melody, target, whyNot);
    if (convertMusic(song.music, target, whyNot))
        return true;
    whyNot = song.music + ": " + whyNot;
    return false;
}

// The music a song names; an empty result means none was found, and whyNot says why.
std::string musicFile(const std::string &songFile, const std::string &named, std::string &whyNot)
{
    if (named.empty()) {
        whyNot = "no #AUDIO or #MP3 tag names the music";
        return "";
    }
    std::string found = findDataFile(fs::path(songFile).parent_path().string(), named);
    if (pathKind(found) != PathKind::File) {
        whyNot = "music file " + found + " not found";
        return "";
    }
    return found;
}

bool readKaraokeSong(const SongImport &run, const std::string &file, ReadSong &song, Outcome &outcome)
{
    std::string bytes, why;
    UltraStarSong karaoke;
    if (!readFileText(file, bytes, &why) || !readUltraStar(bytes, karaoke, why)) {
        outcome = {Outcome::Failed, why};
        return false;
    }
    song.artist = karaoke.artist;
    song.title = karaoke.title;
    if (!ultraStarDraft(karaoke, run.options.part, song.draft, song.octaveShift, why)) {
        outcome = {Outcome::Failed, why};
        return false;
    }
    song.music = musicFile(file, karaoke.audio, song.whyNoMusic);
    return true;
}

// Music beside a MIDI file shares its name: song.mid and song.ogg, song.mp3, ...
std::string musicBesideMidi(const std::string &file)
{
    const fs::path path(file);
    for (const char *extension : {".ogg", ".mp3", ".flac", ".wav", ".opus", ".m4a"}) {
        std::string found = findDataFile(path.parent_path().string(), path.stem().string() + extension);
        if (pathKind(found) == PathKind::File)
            return found;
    }
    return "";
}

bool readMidiSong(const SongImport &run, const std::string &file, ReadSong &song, Outcome &outcome)
{
    std::string bytes, why;
    MidiSong &midi = song.midi;
    song.title = fs::path(file).stem().string();
    if (!readFileText(file, bytes, &why) || !readMidi(bytes, midi, why)) {
        outcome = {Outcome::Failed, why};
        return false;
    }
    song.melodyTrack = run.options.track > 0 ? run.options.track - 1 : melodyTrackIndex(midi);
    if (!trackMelody(midi, song.melodyTrack, song.melody, why) ||
        !melodyDraft(midi, song.melody, song.draft, song.octaveShift, why)) {
        outcome = {Outcome::Failed, why};
        return false;
    }
    song.music = musicBesideMidi(file);
    return true;
}

Outcome importSong(SongImport &run, const std::string &file, std::string &shownName)
{
    ReadSong song;
    Outcome outcome;
    const bool midi = isMidiFile(file);
    const bool read = midi ? readMidiSong(run, file, song, outcome) : readKaraokeSong(run, file, song, outcome);
    if (!song.title.empty() || !song.artist.empty())
        shownName = song.artist.empty() ? song.title : song.artist + " - " + song.title;
    if (!read)
        return outcome;
    if (!run.options.audio.empty())
        song.music = run.options.audio;
    else if (!song.whyNoMusic.empty())
        return {Outcome::Skipped, song.whyNoMusic};

    const bool secondPart = run.options.part == 2 && !midi;
    const std::string suffix = secondPart ? " (part 2)" : "";
    const std::string identity = sourceIdentity(file, secondPart ? 2 : 1) +
                                 (midi && run.options.track > 0 ? " track " + std::to_string(run.options.track) : "");
    bool already = false;
    const fs::path folder = importFolder(run.into, songFolderName(song.artist, song.title) + suffix, identity, already);
    if (already && !run.options.force)
        return {Outcome::Skipped, "already imported into " + folder.string()};

    const std::string folderName = folder.filename().string();
    song.draft.title = (song.artist.empty() ? song.title : song.title + " - " + song.artist) + suffix;
    song.draft.wave = folderName + "/music.ogg";
    song.draft.source = identity;
    const std::string chart = writeChartText(song.draft);
    const double error = largestTimingError(chart, song.draft);
    if (error < 0.0 || error > 2.0)
        return {Outcome::Failed, "the chart cannot keep every note within 2 ms of its time"};

    std::error_code fsError;
    const bool created = !fs::exists(folder, fsError);
    fs::create_directories(folder, fsError);
    if (fsError)
        return {Outcome::Failed, "cannot make " + folder.string() + " (" + fsError.message() + ")"};
    // Only the source's faults skip a song: a folder that takes no file fails it.
    if (!std::ofstream(folder / "music.ogg.part", std::ios::binary | std::ios::trunc)) {
        if (created)
            fs::remove(folder, fsError);
        return {Outcome::Failed, "cannot write into " + folder.string()};
    }
    std::string why;
    if (!writeSongMusic(song, (folder / "music.ogg.part").string(), why) ||
        !renameOver((folder / "music.ogg.part").string(), (folder / "music.ogg").string(), why)) {
        fs::remove(folder / "music.ogg.part", fsError);
        if (created)
            fs::remove(folder, fsError);
        return {Outcome::Skipped, why};
    }
    std::string written;
    if (!replaceFileText((folder / "chart.txt").string(), chart, written, why))
        return {Outcome::Failed, "cannot write " + (folder / "chart.txt").string() + " (" + why + ")"};
    run.newChartLines.push_back(folderName + "/chart.txt");
    char shiftText[16];
    std::snprintf(shiftText, sizeof shiftText, "%+d", song.octaveShift);
    return {Outcome::Imported,
            folder.string() + " (octave shift " + shiftText + ", level " + std::to_string(song.draft.level) + ")"};
}

// The new charts go after the lines already there; a chart already listed is not listed again.
bool appendToSongList(const fs::path &into, const std::vector<std::string> &chartLines, std::string &whyNot)
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
    std::string written;
    return !changed || replaceFileText((into / SongListName).string(), text, written, whyNot);
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
        } else if (argument == "--into" || argument == "--audio" || argument == "--part" || argument == "--track") {
            if (!hasValue) {
                whyNot = argument + " needs a value";
                return false;
            }
            const std::string &value = arguments[++i];
            if (argument == "--into")
                options.into = value;
            else if (argument == "--audio")
                options.audio = value;
            else if (argument == "--track") {
                options.track = std::atoi(value.c_str());
                if (options.track < 1 || value.find_first_not_of("0123456789") != std::string::npos) {
                    whyNot = "--track is a track number from 1";
                    return false;
                }
            } else if (value == "1" || value == "2")
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
        options.into = userSongsDirectory();
    return true;
}

int runImport(const ImportOptions &options, ImportSummary &summary)
{
    summary = ImportSummary{};
    SongImport run{options, fs::path(options.into), {}};
    std::error_code error;
    fs::create_directories(run.into, error);
    if (error)
        std::fprintf(stderr, "lumatide-chart: %s: cannot be made (%s)\n", run.into.c_str(), error.message().c_str());
    const std::vector<std::string> files = findSongFiles(options.sources, run.into);
    const bool terminal = isatty(fileno(stdout)) != 0;
    std::string report;
    for (size_t i = 0; i < files.size(); i++) {
        std::string shownName = fs::path(files[i]).filename().string();
        Outcome outcome;
        try {
            outcome = importSong(run, files[i], shownName);
        } catch (const std::exception &exception) {
            outcome = {Outcome::Failed, std::string("the import broke off (") + exception.what() + ")"};
        }
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
    std::string why, written;
    if (!appendToSongList(run.into, run.newChartLines, why)) {
        std::fprintf(stderr, "lumatide-chart: %s: cannot be written (%s)\n", (run.into / SongListName).c_str(),
                     why.c_str());
        summary.failed++;
    }
    if (!replaceFileText(reportPath.string(), report, written, why)) {
        std::fprintf(stderr, "lumatide-chart: %s: cannot be written (%s)\n", reportPath.c_str(), why.c_str());
        summary.failed++;
    }
    std::printf("imported %d, skipped %d, failed %d (details in %s)\n", summary.imported, summary.skipped,
                summary.failed, reportPath.c_str());
    return summary.failed == 0 ? 0 : 1;
}
