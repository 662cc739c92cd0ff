#pragma once
void updateMenus();
