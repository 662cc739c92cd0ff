#include "app/config.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/ini.h"
#include "platform/regular_file.h"
#include "rules/scroll_speed.h"
#include "rules/settings_state.h"
#include "rules/wave_type.h"

// The whole value as a decimal integer (blanks around it allowed); false when it is anything else.
// Values beyond long long come out as its limits, which still sort on the right side of the range.
static bool parseInteger(const std::string &text, long long &value)
{
    const char *begin = text.c_str();
    char *end = nullptr;
    value = std::strtoll(begin, &end, 10);
    if (end == begin)
        return false;
    while (*end == ' ' || *end == '\t')
        end++;
    return *end == '\0';
}

// The whole value as a decimal fraction (blanks around it allowed); false when it is anything else.
static bool parseDecimal(const std::string &text, double &value)
{
    const char *begin = text.c_str();
    char *end = nullptr;
    value = std::strtod(begin, &end);
    if (end == begin)
        return false;
    while (*end == ' ' || *end == '\t')
        end++;
    return *end == '\0';
}

enum class SettingsFile { Missing, Readable, Unreadable };

// Only a settings file that is surely not there is created. One that is there but cannot be read
// (no permission, a folder, a pipe, a link to nothing, over MaxIniBytes) is the user's and stays
// as it is; reason says why.
static SettingsFile settingsFile(const std::string &path, std::string &reason)
{
    struct stat info;
    if (lstat(path.c_str(), &info) != 0) {
        const int error = errno;
        reason = std::strerror(error);
        return error == ENOENT ? SettingsFile::Missing : SettingsFile::Unreadable;
    }
    RegularFile file = openRegularFile(path, MaxIniBytes);
    closeRegularFile(file);
    if (file.status == FileStatus::Opened)
        return SettingsFile::Readable;
    reason = file.status == FileStatus::Missing ? "a link to a missing file" : file.reason;
    return SettingsFile::Unreadable;
}

int loadBufferLengthMs(const std::string &iniPath)
{
    std::string reason;
    switch (settingsFile(iniPath, reason)) {
    case SettingsFile::Missing:
        iniWriteString(iniPath, "config", "BufferLength", std::to_string(DefaultBufferLengthMs));
        return DefaultBufferLengthMs;
    case SettingsFile::Unreadable:
        std::fprintf(stderr, "lumatide: %s: %s; using BufferLength %d\n", iniPath.c_str(), reason.c_str(),
                     DefaultBufferLengthMs);
        return DefaultBufferLengthMs;
    case SettingsFile::Readable:
        break;
    }
    const std::string text = iniReadString(iniPath, "config", "BufferLength", std::to_string(DefaultBufferLengthMs));
    long long value = 0;
    if (!parseInteger(text, value) || value < 1) {
        std::fprintf(stderr,
                     "lumatide: conf.ini: BufferLength \"%s\" is not a positive number of milliseconds; using %d\n",
                     text.c_str(), DefaultBufferLengthMs);
        return DefaultBufferLengthMs;
    }
    if (value > MaximumBufferLengthMs) {
        std::fprintf(stderr, "lumatide: conf.ini: BufferLength %s is too long; using %d\n", text.c_str(),
                     MaximumBufferLengthMs);
        return MaximumBufferLengthMs;
    }
    return static_cast<int>(value);
}

namespace {

// A value line can hold no line break, so this stands for a key that is not there.
const char *const MissingKey = "\n";

struct WholeNumberKey {
    const char *name;
    int lowest, highest;
    int PlayerSettings::*field;
};

const WholeNumberKey WholeNumberKeys[] = {
    {"Wave", 0, WaveTypeCount - 1, &PlayerSettings::wave},
    {"Unison", 0, 1, &PlayerSettings::unison},
    {"MusicVolume", 0, DefaultVolume, &PlayerSettings::musicVolume},
    {"ToneVolume", 0, DefaultVolume, &PlayerSettings::toneVolume},
    {"AudioOffset", -MaximumAudioOffsetMs, MaximumAudioOffsetMs, &PlayerSettings::audioOffsetMs},
    {"FullScreen", 0, 1, &PlayerSettings::fullScreen},
    {"VoiceTone", 0, 1, &PlayerSettings::voiceTone},
};

// Below -90 dBFS every room's hiss opens the gate; above -5 only a scream does.
constexpr double QuietestGateDb = -90.0;
constexpr double LoudestGateDb = -5.0;

void readWholeNumber(const std::string &iniPath, const WholeNumberKey &key, PlayerSettings &out)
{
    const std::string text = iniReadString(iniPath, "config", key.name, MissingKey);
    if (text == MissingKey)
        return;
    long long value = 0;
    if (parseInteger(text, value) && value >= key.lowest && value <= key.highest) {
        out.*key.field = static_cast<int>(value);
        return;
    }
    std::fprintf(stderr, "lumatide: conf.ini: %s \"%s\" is not a whole number from %d to %d; using %d\n", key.name,
                 text.c_str(), key.lowest, key.highest, out.*key.field);
}

void readScrollSpeed(const std::string &iniPath, PlayerSettings &out)
{
    const std::string text = iniReadString(iniPath, "config", "ScrollSpeed", MissingKey);
    if (text == MissingKey)
        return;
    double value = 0.0;
    if (parseDecimal(text, value) && isScrollSpeed(value)) {
        out.scrollSpeed = value;
        return;
    }
    std::fprintf(stderr, "lumatide: conf.ini: ScrollSpeed \"%s\" is not one of 1.0, 1.5 ... 4.0; using %.1f\n",
                 text.c_str(), out.scrollSpeed);
}

void readInput(const std::string &iniPath, PlayerSettings &out)
{
    const std::string text = iniReadString(iniPath, "config", "Input", "mouse");
    if (text == "mouse" || text == "voice") {
        out.input = text == "voice" ? InputVoice : InputMouse;
        return;
    }
    std::fprintf(stderr, "lumatide: conf.ini: Input \"%s\" is neither mouse nor voice; using mouse\n", text.c_str());
}

// An empty value is taken as no value, as it always was.
void readVoiceGate(const std::string &iniPath, PlayerSettings &out)
{
    const std::string text = iniReadString(iniPath, "config", "VoiceGate", "");
    if (text.empty())
        return;
    double value = 0.0;
    if (parseDecimal(text, value) && value >= QuietestGateDb && value <= LoudestGateDb) {
        out.voiceGateDb = value;
        return;
    }
    std::fprintf(stderr, "lumatide: conf.ini: VoiceGate \"%s\" is not a level from %.0f to %.0f dBFS; using %.0f\n",
                 text.c_str(), QuietestGateDb, LoudestGateDb, out.voiceGateDb);
}

} // namespace

PlayerSettings loadPlayerSettings(const std::string &iniPath)
{
    PlayerSettings out;
    for (const WholeNumberKey &key : WholeNumberKeys)
        readWholeNumber(iniPath, key, out);
    readScrollSpeed(iniPath, out);
    readVoiceGate(iniPath, out);
    readInput(iniPath, out);
    return out;
}
