#pragma once
// Never wiped: whether the help page covers the title or select screen. Opened by F1 and closed
// by any key (game/); read by the renderer, which draws the page over the field.
struct HelpState {
    int shown = 0;
};

extern HelpState help;
