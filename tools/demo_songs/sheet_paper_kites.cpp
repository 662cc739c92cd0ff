// Level 3: a bright tune in G major with a few eighth notes and a waltz section in 3/4.
#include "demo_sheets.h"
#include "sheet_builder.h"

SongSheet paperKitesSheet()
{
    SongSheet sheet;
    sheet.stem = "paper_kites";
    sheet.title = "Paper Kites";
    sheet.level = 3;
    sheet.bpm = 120.0;
    sheet.offset = "0.050";
    sheet.seed = 0x7A11Eu;
    sheet.style = SongStyle{BassLine::Beats, PianoPattern::Beats, true, 2000.0};

    const std::vector<SheetMeasure> theme = {
        bar("3g 3b 4d .", "G"),
        bar("4f+ . 4e 4d", "D"),
        bar("3b . 3g 3b", "Em"),
        bar("3a . . _", "C"),
        bar("3g 3b 4d 4g", "G"),
        bar("4f+ . 4e 4d", "D"),
        bar("4e . 4d 4c 3b . 3a .", "C D"),
        bar("3g . . _", "G", Groove::Fill),
    };
    const std::vector<SheetMeasure> waltz = {
        waltzBar("3g . 3b", "Em"), waltzBar("4e . 4d", "C"), waltzBar("3b . 4d", "G"),  waltzBar("4c 3b 3a", "D"),
        waltzBar("3g . 3b", "Em"), waltzBar("4e . 4g", "C"), waltzBar("4f+ . 4e", "D"), waltzBar("4d . _", "D7"),
    };
    sheet.measures = {bar("", "G C", Groove::Hats), bar("", "D", Groove::Fill)};
    append(sheet.measures, theme);
    append(sheet.measures, waltz);
    append(sheet.measures, theme);
    append(sheet.measures, {bar("", "C D"), bar("", "G", Groove::Ending)});
    return sheet;
}
