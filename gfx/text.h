#pragma once
// Draws text from the font image: glyphHeight x advance pixel cells from (x, y), the top-left
// corner in client pixels. Two-byte Shift-JIS stars and arrows are single glyphs.
void drawText(int glyphHeight, const char *text, int byteLength, int x, int y, int advance);
