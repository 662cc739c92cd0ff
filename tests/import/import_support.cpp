#include "import_support.h"

#include <sndfile.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>

std::string ultraStarText(const std::vector<std::string> &header, const std::vector<SongNote> &notes)
{
    std::string text;
    for (const std::string &line : header)
        text += line + "\n";
    for (const SongNote &note : notes) {
        text += note.type;
        text += " " + std::to_string(note.beat) + " 2 " + std::to_string(note.pitch) + " " + note.syllable + "\n";
    }
    return text + "E\n";
}

bool writeTone(const std::string &path, int format, int sampleRate, int channels, double seconds)
{
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = format;
    if (!sf_format_check(&info))
        return false;
    SNDFILE *file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr)
        return false;
    const sf_count_t frames = static_cast<sf_count_t>(seconds * sampleRate);
    std::vector<float> samples(static_cast<size_t>(frames * channels));
    for (sf_count_t i = 0; i < frames; i++)
        for (int c = 0; c < channels; c++)
            samples[static_cast<size_t>(i * channels + c)] =
                0.3f * static_cast<float>(std::sin(2 * M_PI * (440.0 + 110.0 * c) * static_cast<double>(i) / sampleRate));
    const bool written = sf_writef_float(file, samples.data(), frames) == frames;
    return sf_close(file) == 0 && written;
}

ToolRun runChartTool(const std::string &arguments)
{
    ToolRun run;
    const std::string command = std::string(LUMATIDE_BUILD_DIR "/lumatide-chart ") + arguments + " 2>/dev/null";
    FILE *pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.output.append(buffer, got);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string quoted(const std::string &text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}
