#pragma once
// The help page F1 opens over the title and select screens: the keys, what the field shows, and
// the rules, with the numbers taken from the rule constants.
#include "gfx/screen_texts.h"

struct FrameContext;
struct FieldMetrics;

struct HelpPageLayout {
    static constexpr int Capacity = 24;
    TextRow rows[Capacity];
    int rowCount = 0;
    TextRow spareRow; // a row past Capacity is laid out here and never drawn
};

// Every row of the page, centred as one block on the window.
void layoutHelpPage(const FieldMetrics &metrics, HelpPageLayout &out);

// An opaque dark sheet over the whole field with the page on it.
void drawHelpPage(const FrameContext &frame);
