#include "rules/settings_state.h"

#include <algorithm>

SettingsState settings;

int steppedVolume(int volume, int steps) { return std::clamp(volume + steps * VolumeStep, 0, DefaultVolume); }
