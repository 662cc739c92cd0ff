#pragma once
#include "gfx/title_texture.h"
void createTitleTexture(TitleTexture &title);
void renderTitleTexture(TitleTexture &title);
void releaseTitleTexture(TitleTexture &title);
