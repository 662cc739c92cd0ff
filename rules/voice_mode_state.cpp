#include "rules/voice_mode_state.h"

VoiceModeState voiceMode;
