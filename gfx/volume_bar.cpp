#include "gfx/volume_bar.h"

#include <GL/gl.h>

#include <cstdio>

#include "gfx/draw_calls.h"
#include "gfx/text.h"
#include "rules/settings_state.h"

namespace {

constexpr uint32_t VolumeBarShownMs = 1000;
constexpr int LabelGlyphHeight = 15;
constexpr int LabelAdvance = 10;
constexpr int TopPx = 8;
constexpr int LeftPx = 12;
constexpr int BarWidthPx = 120;
constexpr int BarHeightPx = 8;
constexpr int LabelGapPx = 4;
constexpr int BackingPx = 6;

// A rectangle given in client pixels (top-left origin), drawn in view units.
void pixelRectangle(const FieldMetrics &m, double left, double top, double width, double height, GLenum mode)
{
    drawRectangle(mode, left / m.half - 1.0, m.aspect - (top + height) / m.half, (left + width) / m.half - 1.0,
                  m.aspect - top / m.half);
}

} // namespace

void drawVolumeBar(const FrameContext &frame)
{
    if (settings.volumeShown == VolumeShown::None || frame.nowMs - settings.volumeChangeTime >= VolumeBarShownMs)
        return;
    const bool music = settings.volumeShown == VolumeShown::Music;
    const int volume = (music ? settings.musicVolume : settings.toneVolume).load(std::memory_order_relaxed);
    const FieldMetrics &m = frame.metrics;

    // A dark backing keeps the white bar readable over the light title and select screens.
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glColor4d(0.0, 0.0, 0.0, 0.6);
    pixelRectangle(m, LeftPx - BackingPx, TopPx - BackingPx, BarWidthPx + 2 * BackingPx,
                   LabelGlyphHeight + LabelGapPx + BarHeightPx + 2 * BackingPx, GL_TRIANGLE_FAN);

    char label[24];
    const int length = std::snprintf(label, sizeof label, "%s %d", music ? "MUSIC" : "TONE", volume);
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glColor4d(1.0, 1.0, 1.0, 1.0);
    drawText(LabelGlyphHeight, label, length, LeftPx, TopPx, LabelAdvance);

    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    const double barTop = TopPx + LabelGlyphHeight + LabelGapPx;
    glColor4d(1.0, 1.0, 1.0, 0.9);
    pixelRectangle(m, LeftPx, barTop, BarWidthPx * volume / double(DefaultVolume), BarHeightPx, GL_TRIANGLE_FAN);
    pixelRectangle(m, LeftPx, barTop, BarWidthPx, BarHeightPx, GL_LINE_LOOP);
}
