// Importing karaoke songs: one four-minute mp3 song (mostly the Vorbis encoder), and a folder of
// 200 songs whose music is already Ogg Vorbis (the reading, charting and copying).
#include <benchmark/benchmark.h>

#include <sndfile.h>

#include <cmath>
#include <string>
#include <vector>

#include "import_run.h"
#include "tests/support/scratch_folder.h"

namespace {

// A karaoke song of one syllable every 3 beats at 287.5 BPM (about 6 a second) for the given time.
std::string songText(int n, const std::string &music, double seconds)
{
    std::string text = "#TITLE:Song " + std::to_string(n) + "\n#ARTIST:Bench\n#MP3:" + music +
                       "\n#BPM:287,5\n#GAP:1500\n";
    const long beats = static_cast<long>(seconds * 1000 / (15000 / 287.5));
    for (long beat = 0; beat < beats; beat += 3)
        text += ": " + std::to_string(beat) + " 2 " + std::to_string(beat % 19 - 4) + " la\n";
    return text + "E\n";
}

// Two detuned tones and a little noise, so the encoder has real work.
bool writeMusic(const std::string &path, int format, double seconds)
{
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = 2;
    info.format = format;
    SNDFILE *file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr)
        return false;
    std::vector<float> block(2 * 4410);
    unsigned noise = 1;
    const long frames = static_cast<long>(seconds * 44100);
    for (long at = 0; at < frames; at += 4410) {
        for (size_t i = 0; i < 4410; i++) {
            const double t = static_cast<double>(at + static_cast<long>(i)) / 44100;
            noise = noise * 1103515245 + 12345;
            const double hiss = 0.05 * ((noise >> 16) / 32768.0 - 1.0);
            block[2 * i] = static_cast<float>(0.3 * std::sin(2 * M_PI * 220 * t) + hiss);
            block[2 * i + 1] = static_cast<float>(0.3 * std::sin(2 * M_PI * 331 * t) + hiss);
        }
        sf_writef_float(file, block.data(), 4410);
    }
    return sf_close(file) == 0;
}

// Imports source into the folder `into` each iteration, over the songs already there.
void importAgainAndAgain(benchmark::State &state, const std::string &source, const std::string &into, int songs)
{
    ImportOptions options;
    options.sources = {source};
    options.into = into;
    options.force = true;
    for (auto _ : state) {
        ImportSummary summary;
        runImport(options, summary);
        if (summary.imported != songs)
            state.SkipWithError("not every song was imported");
    }
}

void importFourMinuteMp3(benchmark::State &state)
{
    ScratchFolder folder;
    if (!writeMusic(folder.file("song.mp3"), SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 240.0)) {
        state.SkipWithError("libsndfile cannot write mp3 here");
        return;
    }
    folder.write("song.txt", songText(0, "song.mp3", 240.0));
    importAgainAndAgain(state, folder.file("song.txt"), folder.file("songs"), 1);
}

void importTwoHundredSongs(benchmark::State &state)
{
    ScratchFolder folder;
    if (!writeMusic(folder.file("music.ogg"), SF_FORMAT_OGG | SF_FORMAT_VORBIS, 10.0)) {
        state.SkipWithError("libsndfile cannot write Ogg Vorbis here");
        return;
    }
    const std::string music = readWholeFile(folder.file("music.ogg"));
    for (int n = 0; n < 200; n++) {
        const std::string dir = "in/song" + std::to_string(n) + "/";
        folder.write(dir + "song.txt", songText(n, "music.ogg", 180.0));
        folder.write(dir + "music.ogg", music);
    }
    importAgainAndAgain(state, folder.file("in"), folder.file("songs"), 200);
}

} // namespace

BENCHMARK(importFourMinuteMp3)->Unit(benchmark::kSecond)->Iterations(2)->UseRealTime();
BENCHMARK(importTwoHundredSongs)->Unit(benchmark::kSecond)->Iterations(2)->UseRealTime();
