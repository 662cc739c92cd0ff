#include "game/menus.h"

void updateMenus() {}
