#include "rules/menu_state.h"

MenuState menu;
