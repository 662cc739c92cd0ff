// Level 1: a slow, gentle tune in C major, quarter and half notes moving mostly by step.
#include "demo_sheets.h"
#include "sheet_builder.h"

SongSheet sunnySpotSheet()
{
    SongSheet sheet;
    sheet.stem = "hidamari";
    sheet.title = "ひだまりの歌";
    sheet.level = 1;
    sheet.bpm = 90.0;
    sheet.offset = "0.100";
    sheet.seed = 0x1D4A3u;
    sheet.style = SongStyle{BassLine::Beats, PianoPattern::Arpeggio, true, 1500.0};

    const std::vector<SheetMeasure> verse = {
        bar("3g . 3e 3g", "C", Groove::HalfTime),   bar("4d . 3b .", "G", Groove::HalfTime),
        bar("4c 3b 3a 3g", "Am", Groove::HalfTime), bar("3a . . _", "F", Groove::HalfTime),
        bar("3g . 3e 3c", "C", Groove::HalfTime),   bar("3f 3a 4c 3a", "F", Groove::HalfTime),
        bar("3g . 3d 3f", "G", Groove::HalfTime),   bar("3e . . _", "C", Groove::Fill),
    };
    const std::vector<SheetMeasure> bridge = {
        bar("3a . 4c .", "F"),  bar("4d . 3b .", "G"),  bar("3b . 3g .", "Em"),   bar("4c . . _", "Am"),
        bar("3a . 3f 3a", "F"), bar("3g . 3e 3g", "C"), bar("3f 3e 3d 3f", "Dm"), bar("3g . 3b _", "G", Groove::Fill),
    };
    const std::vector<SheetMeasure> close = {
        bar("3g . 3e 3g", "C"), bar("4d . 3b .", "G"), bar("3a 4c 3b 3d", "F G"),
        bar("3c . . _", "C"),   bar("", "F G"),        bar("", "C", Groove::Ending),
    };
    sheet.measures = {bar("", "C", Groove::Hats)};
    append(sheet.measures, verse);
    append(sheet.measures, bridge);
    append(sheet.measures, close);
    return sheet;
}
