#include "gfx/voice_overlay.h"

#include <algorithm>

#include "gfx/draw_calls.h"
#include "rules/atomic_access.h"
#include "rules/menu_state.h"
#include "rules/play_state.h"
#include "rules/voice_mode_state.h"
#include "rules/voice_pitch.h"
#include "rules/window_state.h"

namespace {
// The meter's scale: silence at the bottom, full scale at the top.
constexpr double MeterFloorDb = -90.0;
} // namespace

void drawVoiceTrail(const FrameContext &frame)
{
    if (frame.state != Play || !voiceDrivesPlay())
        return;
    const FieldMetrics &m = frame.metrics;
    const int octave = loadRelaxed(play.octave);
    float xy[2 * VoiceTrailPoints];
    float colours[4 * VoiceTrailPoints];
    int count = 0;
    // Oldest first, so the strip runs in time order.
    for (int i = 0; i < VoiceTrailPoints; i++) {
        const VoiceTrailPoint &point = voiceMode.trail[(voiceMode.trailNext + i) % VoiceTrailPoints];
        const uint32_t age = frame.nowMs - point.timeMs;
        if (point.timeMs == 0 || age >= VoiceTrailMs)
            continue;
        const double x = pointerXForPitch(point.pitch, m.width, m.fieldMargin, octave);
        const double fresh = 1.0 - double(age) / VoiceTrailMs;
        xy[2 * count] = float((x - m.half) / m.half);
        xy[2 * count + 1] = float(m.judgeLineY + (1.0 - fresh) * (m.aspect - m.judgeLineY));
        const float rgba[4] = {1.0f, 0.5f, 0.1f, float(0.9 * fresh)};
        std::copy(rgba, rgba + 4, colours + 4 * count);
        count++;
    }
    if (count < 2)
        return;
    // Orange laid over the field, not added to it: added, it would pale to the pointer band's
    // white wherever the two meet.
    useNormalBlend();
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, 0, colours);
    glLineWidth(3.0f);
    drawShape(GL_LINE_STRIP, xy, count);
    glLineWidth(1.0f);
    glDisableClientState(GL_COLOR_ARRAY);
    useAdditiveBlend();
}

void drawVoiceMeter(const FrameContext &frame)
{
    if ((frame.state != Select && frame.state != Play) || voiceMode.input != InputVoice)
        return;
    const ScreenControl &unison = window.controls[ControlUnison - 1];
    // A level bar as wide as the icon, just under it: it moves with the icon during the lead-in.
    const double left = unison.centreX - unison.halfWidth;
    const double right = unison.centreX + unison.halfWidth;
    const double top = unison.centreY - unison.halfHeight * 1.2;
    const double bottom = top - unison.halfHeight * 0.4;
    const double share = std::clamp((voiceMode.levelDb - MeterFloorDb) / -MeterFloorDb, 0.0, 1.0);
    const double gateShare = std::clamp((voiceMode.gateDb - MeterFloorDb) / -MeterFloorDb, 0.0, 1.0);
    // A dark backing keeps the bar readable on the light header of the play screen.
    const double pad = unison.halfHeight * 0.15;
    glColor4d(0.1, 0.1, 0.12, 0.85);
    drawRectangle(GL_TRIANGLE_FAN, left - pad, bottom - pad, right + pad, top + pad);
    if (voiceMode.levelDb >= voiceMode.gateDb)
        glColor4d(0.3, 0.95, 0.4, 1.0);
    else
        glColor4d(0.6, 0.6, 0.6, 0.9);
    drawRectangle(GL_TRIANGLE_FAN, left, bottom, left + share * (right - left), top);
    // The gate as a tick across the bar.
    const double gateX = left + gateShare * (right - left);
    glColor4d(1.0, 0.85, 0.3, 1.0);
    drawLine(gateX, bottom, gateX, top, 1.0f);
    // Without a device the frame is red: the mouse plays.
    if (voiceMode.captureOpen == 1)
        glColor4d(0.85, 0.85, 0.85, 0.9);
    else
        glColor4d(1.0, 0.25, 0.2, 1.0);
    drawRectangle(GL_LINE_LOOP, left, bottom, right, top);
}
