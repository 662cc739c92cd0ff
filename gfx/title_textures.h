#pragma once
// The GL half of a title texture; each call needs the current GL context.
#include "library/title_texture.h"

// Lays out the title, makes its texture and draws the title into it.
void createTitleTexture(TitleTexture &title);
// Redraws the title into the texture it already has.
void renderTitleTexture(TitleTexture &title);
// Gives back the title's texture, pixels and font; the record keeps its text, ready to be made again.
void releaseTitleTexture(TitleTexture &title);
