#pragma once
#include "platform/window.h"

// Takes one waiting voice done notice as a VoiceBufferDone message.
bool takeVoiceNoticeMessage(WindowMessage &out);
