// Level 5: A minor at a brisk tempo, eighth notes, slides (upper-case notes) and ghost pickups.
#include "demo_sheets.h"
#include "sheet_builder.h"

SongSheet glassHarborSheet()
{
    SongSheet sheet;
    sheet.stem = "glass_harbor";
    sheet.title = "Glass Harbor";
    sheet.level = 5;
    sheet.bpm = 140.0;
    sheet.offset = "0.080";
    sheet.seed = 0x6A55u;
    sheet.style = SongStyle{BassLine::Eighths, PianoPattern::Offbeats, true, 1400.0};

    const std::vector<SheetMeasure> verse = {
        bar("3a . 4c . 4E . 4d .", "Am"),  bar("4c . 3a . _ . $c $d", "F"),
        bar("4e . 4e . 4G . 4e .", "C"),   bar("4d . . . 3b . 4D .", "G"),
        bar("4c . 3a . 4c . 4e .", "Am"),  bar("4f . 4e . 4d . 4c .", "F"),
        bar("4d . 4c . 3B . . .", "Dm E"), bar("3a . . . _ . #e #g+", "Am", Groove::Fill),
    };
    const std::vector<SheetMeasure> chorus = {
        bar("3a . 4c . 4f . 4e .", "F", Groove::Drive),  bar("4d . . . 4D . 4e .", "G", Groove::Drive),
        bar("4g . 4e . 4d . 3b .", "Em", Groove::Drive), bar("4c . . . 3a . . _", "Am", Groove::Drive),
        bar("3a . 4d . 4f . 4A .", "Dm", Groove::Drive), bar("4g . . . 4f . 4d .", "G", Groove::Drive),
        bar("4e . 4c . 4g . 4e .", "C", Groove::Drive),
    };
    sheet.measures = {bar("", "Am", Groove::Hats), bar("", "F G", Groove::Fill)};
    append(sheet.measures, verse);
    append(sheet.measures, chorus);
    append(sheet.measures, {bar("4E . . . 4d . 3b .", "E7", Groove::Fill)});
    append(sheet.measures, verse);
    append(sheet.measures, chorus);
    append(sheet.measures, {
                               bar("4e . 4d . 4c . 3B .", "E7", Groove::Drive),
                               bar("3a . . . . . _ _", "Am", Groove::Fill),
                               bar("", "F G"),
                               bar("", "Am", Groove::Ending),
                           });
    return sheet;
}
