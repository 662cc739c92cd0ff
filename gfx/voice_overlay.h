#pragma once
// What voice mode adds to the screen: a meter of the voice's level under the unison icon, and
// the sung pitch of the last two seconds as a fading trail rising from the judgement line.
#include "gfx/frame_context.h"

void drawVoiceTrail(const FrameContext &frame);
void drawVoiceMeter(const FrameContext &frame);
