#include "rules/shell_state.h"

ShellState shell;
