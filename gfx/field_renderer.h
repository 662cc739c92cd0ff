#pragma once
// The layers of the play field that stay visible behind every screen.
#include "gfx/frame_context.h"

void drawBackground();
void drawBackgroundCube(const FrameContext &frame);
void drawPointerBand(const FrameContext &frame);
void drawSemitoneStripes(const FrameContext &frame);
void drawKeyboard(const FrameContext &frame);
void drawJudgementLine(const FrameContext &frame);
void drawHitEffects(const FrameContext &frame);
void drawLinkEffect(const FrameContext &frame);
void drawFullComboGlow(const FrameContext &frame);
