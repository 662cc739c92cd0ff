#pragma once
#include "platform/window.h"

// Voice done notices come before window events: takes one as a VoiceBufferDone message.
bool takeVoiceNoticeMessage(WindowMessage &out);
