#pragma once
// The texts of each screen and the judgement pop-up, laid out as rows that drawText draws, and
// the song-title picture. Layout reads the game context and the frame's clock only, so tests can
// check every position and every timed appearance without drawing.

#include "gfx/text_rows.h"

struct FrameContext;

// The busiest screens have 12 rows: the ranking, and a song's end with every play row shown.
struct ScreenTextLayout : TextRowList<12> {
    bool showsTitlePicture = false;
    double titlePictureY = 0.0; // view units
};

// Ordinal of a zero-based place: 1ST, 2ND, 3RD, 4TH ...
void placeOrdinal(int place, char *out, int size);

// Glyphs of a text: a 0x81 byte and the byte after it make one symbol.
int glyphCount(const char *text, int length);

// The pop-up rows: the judgement word and the combo.
void layoutJudgementPopup(const FrameContext &frame, ScreenTextLayout &out);
// Every text row of the current screen, in drawing order, and where the title picture goes.
void layoutScreenTexts(const FrameContext &frame, ScreenTextLayout &out);

// The pop-up, drawn over the notes and under the keyboard.
void drawJudgementPopup(const FrameContext &frame);
// The texts and the song-title picture, drawn last, over everything else.
void drawScreenTexts(const FrameContext &frame);
