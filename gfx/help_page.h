#pragma once
// The help page F1 opens over the title and select screens: the keys, what the field shows, and
// the rules, with the numbers taken from the rule constants.
#include "gfx/text_rows.h"

struct FrameContext;
struct FieldMetrics;

struct HelpPageLayout : TextRowList<24> {};

// Every row of the page, centred as one block on the window.
void layoutHelpPage(const FieldMetrics &metrics, HelpPageLayout &out);

// An opaque dark sheet over the whole field with the page on it.
void drawHelpPage(const FrameContext &frame);
