#include "audio/tone_voice.h"

ToneVoice voices[VoiceCount];
