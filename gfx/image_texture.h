#pragma once

// Loads img/<fileName> of the content folder (platform/paths.h) into a new texture (0 x 0 when
// the image is missing or unreadable). Needs the current GL context. Always returns 0.
int loadImageTexture(const char *fileName, unsigned *textureOut);
