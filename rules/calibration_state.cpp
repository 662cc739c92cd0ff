#include "rules/calibration_state.h"

CalibrationState calibration;
