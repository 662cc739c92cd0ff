#include "gfx/title_textures.h"

void createTitleTexture(TitleTexture &) {}
void renderTitleTexture(TitleTexture &) {}
void releaseTitleTexture(TitleTexture &) {}
