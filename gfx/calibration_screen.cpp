#include "gfx/calibration_screen.h"

#include <GL/gl.h>
#include <algorithm>

#include "gfx/draw_calls.h"
#include "gfx/frame_context.h"
#include "gfx/text_rows.h"
#include "rules/calibration_state.h"
#include "rules/calibration_stats.h"

namespace {

constexpr double ScaleHalfWidth = 0.75;
constexpr double DotHalfSize = 0.012;
constexpr double LightHalfSize = 0.03;
constexpr double LightSpan = 0.85; // the row of click lights reaches from -0.85 to +0.85

void fillRectangle(double x, double y, double halfWidth, double halfHeight)
{
    float quad[8];
    centredQuad(halfWidth, halfHeight, quad);
    for (int i = 0; i < 8; i += 2) {
        quad[i] += static_cast<float>(x);
        quad[i + 1] += static_cast<float>(y);
    }
    drawShape(GL_TRIANGLE_FAN, quad, 4);
}

using CalibrationTexts = TextRowList<10>;

// Centres a laid-out row on pixel column x, its top at y.
void placeCentred(TextRow &row, int x, int y)
{
    row.x = centredOn(x, row);
    row.y = y;
}

void drawHeader(const FieldMetrics &m)
{
    const double bandY = 0.5 * m.aspect;
    glColor4d(0.8, 0.8, 0.8, 0.8);
    fillRectangle(0.0, bandY, 1.0, 0.1);
}

// Count-in lights in grey, then one per measured click; a light fills when its click is heard.
void drawClickLights(const FieldMetrics &m)
{
    const double y = calibrationLightsY(m.aspect);
    const double step = 2.0 * LightSpan / (AllClicks - 1);
    for (int i = 0; i < AllClicks; i++) {
        const double x = -LightSpan + i * step;
        const bool heard = i < calibration.clicksHeard;
        if (i < CountInClicks)
            glColor4d(0.7, 0.7, 0.7, heard ? 0.9 : 0.25);
        else
            glColor4d(0.95, 0.55, 0.2, heard ? 0.95 : 0.25);
        fillRectangle(x, y, LightHalfSize, LightHalfSize);
    }
}

void drawScale(const FieldMetrics &m)
{
    const double y = calibrationScaleY(m.aspect);
    glColor4d(0.9, 0.9, 0.9, 0.9);
    drawLine(-ScaleHalfWidth, y, ScaleHalfWidth, y, 2.0f);
    for (int ms = -OffsetScaleMs; ms <= OffsetScaleMs; ms += 50) {
        const double reach = ms == 0 ? 0.06 : 0.03;
        const double x = calibrationScaleX(ms);
        drawLine(x, y - reach, x, y + reach, ms == 0 ? 3.0f : 1.0f);
    }
    glColor4d(0.95, 0.55, 0.2, 0.8);
    for (int i = 0; i < calibration.tapCount; i++) {
        const bool latest = i == calibration.tapCount - 1;
        const double size = latest ? 2.0 * DotHalfSize : DotHalfSize;
        fillRectangle(calibrationScaleX(calibration.offsets[i]), y, size, size);
    }
    if (calibration.tapCount > 0) {
        glColor4d(0.3, 0.7, 1.0, 1.0);
        const double x = calibrationScaleX(calibration.medianMs);
        drawLine(x, y - 0.09, x, y + 0.09, 3.0f);
    }
}

void drawTexts(const FieldMetrics &m)
{
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    CalibrationTexts texts;
    const int centre = m.width / 2;
    const int headerRow = rowYAt(m, 0.5 * m.aspect, 0);
    placeCentred(addRow(texts, 30, 30, nullptr, "CALIBRATION"), centre, headerRow - 15);
    placeCentred(addRow(texts, 15, 15, nullptr, "TAP SPACE ON EVERY CLICK"), centre, headerRow + 45);

    const int scaleRow = rowYAt(m, calibrationScaleY(m.aspect), 0);
    const int labelRow = scaleRow + 20;
    static const int labelled[3] = {-OffsetScaleMs, 0, OffsetScaleMs};
    for (int ms : labelled)
        placeCentred(addRow(texts, 15, 15, nullptr, ms > 0 ? "+%d" : "%d", ms), columnXAt(m, calibrationScaleX(ms), 0),
                     labelRow);
    placeCentred(addRow(texts, 15, 15, nullptr, "EARLY"), columnXAt(m, -ScaleHalfWidth / 2, 0), scaleRow - 30);
    placeCentred(addRow(texts, 15, 15, nullptr, "LATE"), columnXAt(m, ScaleHalfWidth / 2, 0), scaleRow - 30);

    TextRow &figures = calibration.tapCount > 0 ? addRow(texts, 15, 15, nullptr, "MEDIAN %+d MS  SPREAD %d MS  TAPS %d",
                                                         roundedMs(calibration.medianMs),
                                                         roundedMs(calibration.spreadMs), calibration.tapCount)
                                                : addRow(texts, 15, 15, nullptr, "TAPS 0");
    placeCentred(figures, centre, labelRow + 25);

    const int missingTaps = MinimumCalibrationTaps - calibration.tapCount;
    TextRow &keys = missingTaps <= 0 ? addRow(texts, 20, 20, nullptr, "ENTER:SAVE  ESC:BACK")
                                     : addRow(texts, 20, 20, nullptr, "%d MORE TAPS TO SAVE  ESC:BACK", missingTaps);
    placeCentred(keys, centre, rowYAt(m, -0.7 * m.aspect, 0));
    drawTextRows(texts.rows, texts.rowCount);
}

} // namespace

double calibrationScaleX(double offsetMs)
{
    const double clamped = std::clamp(offsetMs, double(-OffsetScaleMs), double(OffsetScaleMs));
    return clamped / OffsetScaleMs * ScaleHalfWidth;
}

double calibrationLightsY(double aspect) { return 0.12 * aspect; }

double calibrationScaleY(double aspect) { return -0.09 * aspect; }

void drawCalibrationScreen(const FrameContext &frame)
{
    const FieldMetrics &m = frame.metrics;
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    drawHeader(m);
    drawClickLights(m);
    drawScale(m);
    drawTexts(m);
}
