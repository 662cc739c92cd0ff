#include "game/calibration_tap.h"

#include <cstdlib>

#include "platform/trace.h"
#include "rules/calibration_state.h"
#include "rules/calibration_stats.h"

void calibrationTap(uint32_t heardMs)
{
    const int tapMs = static_cast<int>(heardMs);
    const int offset = tapOffsetMs(tapMs, FirstMeasuredClickMs, ClickIntervalMs, MeasuredClicks);
    if (std::abs(offset) > ClickIntervalMs / 2 || calibration.tapCount >= CalibrationState::MaxTaps)
        return;
    calibration.offsets[calibration.tapCount++] = offset;
    calibration.medianMs = medianOf(calibration.offsets, calibration.tapCount);
    calibration.spreadMs = medianAbsoluteDeviation(calibration.offsets, calibration.tapCount);
    trace("calibrate tap %d offset=%d", tapMs, offset);
}
