#include "rules/help_state.h"

HelpState help;
