// Composes, renders and encodes the demo songs, writing into the given folder each song's chart and
// music and the song list that names the charts.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "chart_writer.h"
#include "demo_sheets.h"
#include "mixdown.h"
#include "ogg_writer.h"
#include "sheet_checks.h"
#include "song_timing.h"

static const float VorbisQuality = 0.35f;

static bool writeText(const std::string &path, const std::string &text)
{
    std::ofstream file(path, std::ios::binary);
    file << text;
    return static_cast<bool>(file.flush());
}

static bool cannotWrite(const std::string &path)
{
    std::fprintf(stderr, "demo songs: cannot write %s\n", path.c_str());
    return false;
}

static bool writeSong(const SongSheet &sheet, int serial, const std::string &folder)
{
    const std::string chartPath = folder + "/" + sheet.stem + ".txt";
    if (!writeText(chartPath, chartText(sheet)))
        return cannotWrite(chartPath);
    const StereoBuffer music = mixdown(renderStems(sheet), beatMs(sheet));
    const std::string musicPath = folder + "/" + sheet.stem + ".ogg";
    if (!writeOggVorbis(musicPath, music, VorbisQuality, serial))
        return cannotWrite(musicPath);
    std::printf("%s.txt  level %d  %g BPM  %.1f s  %s\n", sheet.stem.c_str(), sheet.level, sheet.bpm,
                static_cast<double>(music.left.size()) / SampleRate, sheet.title.c_str());
    return true;
}

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const auto started = std::chrono::steady_clock::now();
    const std::vector<SongSheet> sheets = demoSongSheets();

    bool sound = true;
    for (const SongSheet &sheet : sheets)
        for (const std::string &problem : sheetProblems(sheet)) {
            std::fprintf(stderr, "demo songs: %s\n", problem.c_str());
            sound = false;
        }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        std::fprintf(stderr, "demo songs: cannot create %s: %s\n", folder.c_str(), error.message().c_str());
    if (!sound || error)
        return 1;

    // Songs are independent: two at a time halves the build time on two cores and keeps the memory
    // of the rendered stems bounded. Each song's bytes do not depend on the order.
    std::vector<char> written(sheets.size(), 0);
    std::atomic<size_t> nextSong{0};
    const auto work = [&] {
        for (size_t i = nextSong++; i < sheets.size(); i = nextSong++)
            written[i] = writeSong(sheets[i], static_cast<int>(i + 1), folder);
    };
    std::thread helper(work);
    work();
    helper.join();

    std::string songList;
    for (size_t i = 0; i < sheets.size(); ++i) {
        sound = sound && written[i];
        songList += sheets[i].stem + ".txt\n";
    }
    if (!sound)
        return 1;
    const std::string songListPath = folder + "/songlist.txt";
    if (!writeText(songListPath, songList)) {
        cannotWrite(songListPath);
        return 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("demo songs written to %s in %.1f s\n", folder.c_str(), seconds);
    return 0;
}
