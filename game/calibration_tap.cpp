#include "game/calibration_tap.h"

#include <cstdlib>

#include "game/voice_play.h"
#include "platform/trace.h"
#include "rules/calibration_state.h"
#include "rules/calibration_stats.h"
#include "rules/voice_mode_state.h"

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

void takeSungTaps(uint32_t heardMs)
{
    if (!voiceDrivesPlay())
        return;
    if (readSungKey().freshPress)
        calibrationTap(heardMs - static_cast<uint32_t>(voiceDelayMs()));
}
