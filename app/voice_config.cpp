#include "app/voice_config.h"

#include <cstdio>
#include <cstdlib>

#include "audio/voice_capture.h"
#include "game/input_mode.h"
#include "platform/ini.h"
#include "rules/voice_mode_state.h"

namespace {

// Below -90 dBFS every room's hiss opens the gate; above -5 only a scream does.
constexpr double QuietestGateDb = -90.0;
constexpr double LoudestGateDb = -5.0;

int readInput(const std::string &iniPath)
{
    const std::string text = iniReadString(iniPath, "config", "Input", "mouse");
    if (text == "mouse")
        return InputMouse;
    if (text == "voice")
        return InputVoice;
    std::fprintf(stderr, "lumatide: conf.ini: Input \"%s\" is neither mouse nor voice; using mouse\n", text.c_str());
    return InputMouse;
}

int readVoiceTone(const std::string &iniPath)
{
    const std::string text = iniReadString(iniPath, "config", "VoiceTone", "0");
    if (text == "0" || text == "1")
        return text == "1" ? 1 : 0;
    std::fprintf(stderr, "lumatide: conf.ini: VoiceTone \"%s\" is neither 0 nor 1; using 0\n", text.c_str());
    return 0;
}

double readVoiceGate(const std::string &iniPath)
{
    const std::string text = iniReadString(iniPath, "config", "VoiceGate", "");
    if (text.empty())
        return DefaultVoiceGateDb;
    char *end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || !(value >= QuietestGateDb && value <= LoudestGateDb)) {
        std::fprintf(stderr, "lumatide: conf.ini: VoiceGate \"%s\" is not a level from %.0f to %.0f dBFS; using %.0f\n",
                     text.c_str(), QuietestGateDb, LoudestGateDb, DefaultVoiceGateDb);
        return DefaultVoiceGateDb;
    }
    return value;
}

} // namespace

void loadVoiceConfig(const std::string &iniPath)
{
    voiceMode.toneInVoiceMode = readVoiceTone(iniPath);
    voiceMode.gateDb = readVoiceGate(iniPath);
    setInputMode(readInput(iniPath));
}
