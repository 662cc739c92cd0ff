#pragma once
#include <string>

// The voice settings of conf.ini at iniPath, [config]: Input=mouse|voice (default mouse),
// VoiceTone=0|1 (default 0: in voice mode the player hears their own voice, not the tone) and
// VoiceGate in dBFS (default DefaultVoiceGateDb). A value that cannot be used gives the default
// and one stderr line. Voice mode opens the capture device at once.
void loadVoiceConfig(const std::string &iniPath);
