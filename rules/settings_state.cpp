#include "rules/settings_state.h"

SettingsState settings;
