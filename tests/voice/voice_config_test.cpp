// The voice settings of conf.ini: what each value gives and which values are refused aloud.
#include <gtest/gtest.h>

#include <fstream>

#include "app/apply_player_settings.h"
#include "audio/voice_capture.h"
#include "game/input_mode.h"
#include "rules/voice_mode_state.h"
#include "support/scratch_folder.h"

TEST(VoiceConfig, EachValueGivesItsSettingAndABadOneTheDefaultWithOneLine)
{
    struct Row {
        const char *name;
        const char *text;
        int input, tone;
        double gateDb;
        const char *warning; // a part of the one stderr line, or null for none
    } rows[] = {
        {"fresh file", "[config]\nBufferLength=20\n", InputMouse, 0, DefaultVoiceGateDb, nullptr},
        {"voice", "[config]\nInput=voice\n", InputVoice, 0, DefaultVoiceGateDb, nullptr},
        {"voice with its tone", "[config]\nInput=voice\nVoiceTone=1\n", InputVoice, 1, DefaultVoiceGateDb, nullptr},
        {"mouse said", "[config]\nInput=mouse\nVoiceGate=-50\n", InputMouse, 0, -50.0, nullptr},
        {"gate with a fraction", "[config]\nVoiceGate=-42.5\n", InputMouse, 0, -42.5, nullptr},
        {"unknown input", "[config]\nInput=keyboard\n", InputMouse, 0, DefaultVoiceGateDb, "Input \"keyboard\""},
        {"tone not 0 or 1", "[config]\nVoiceTone=yes\n", InputMouse, 0, DefaultVoiceGateDb, "VoiceTone \"yes\""},
        {"gate above -5", "[config]\nVoiceGate=0\n", InputMouse, 0, DefaultVoiceGateDb, "VoiceGate \"0\""},
        {"gate not a number", "[config]\nVoiceGate=loud\n", InputMouse, 0, DefaultVoiceGateDb, "VoiceGate \"loud\""},
        {"gate with a unit", "[config]\nVoiceGate=-40dB\n", InputMouse, 0, DefaultVoiceGateDb, "VoiceGate \"-40dB\""},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        ScratchFolder folder;
        const std::string path = folder.path + "/conf.ini";
        std::ofstream(path) << row.text;
        testing::internal::CaptureStderr();
        applyPlayerSettings(loadPlayerSettings(path));
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(voiceMode.input, row.input);
        EXPECT_EQ(voiceMode.toneInVoiceMode, row.tone);
        EXPECT_EQ(voiceMode.gateDb, row.gateDb);
        if (row.input == InputVoice) {
            EXPECT_TRUE(voiceDrivesPlay());
            EXPECT_EQ(voiceReadout.gateDb.load(), float(row.gateDb));
        }
        if (row.warning == nullptr) {
            EXPECT_EQ(said, "");
        } else {
            EXPECT_EQ(said.rfind("lumatide: conf.ini: ", 0), 0u) << said;
            EXPECT_NE(said.find(row.warning), std::string::npos) << said;
            EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
        }
        setInputMode(InputMouse);
    }
}

// VoiceTone and Unison are both 0-or-1 keys, so a value one takes the other takes too.
TEST(VoiceConfig, VoiceToneTakesTheValuesUnisonTakes)
{
    for (const char *text : {"1", "+1", "01", "0", "2", "-1", "yes", "1.0"}) {
        SCOPED_TRACE(text);
        ScratchFolder folder;
        const std::string path = folder.path + "/conf.ini";
        std::ofstream(path) << "[config]\nUnison=" << text << "\nVoiceTone=" << text << "\n";
        testing::internal::CaptureStderr();
        const PlayerSettings player = loadPlayerSettings(path);
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(player.voiceTone, player.unison);
    }
}
