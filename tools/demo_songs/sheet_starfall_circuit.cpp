// Level 7, the extra song: E minor at full speed, runs of eighth notes, wide leaps and slides.
#include "demo_sheets.h"
#include "sheet_builder.h"

SongSheet starfallCircuitSheet()
{
    SongSheet sheet;
    sheet.stem = "starfall_circuit";
    sheet.title = "Starfall Circuit";
    sheet.level = 7;
    sheet.bpm = 170.0;
    sheet.offset = "0.060";
    sheet.seed = 0x57A2Fu;
    sheet.style = SongStyle{BassLine::Eighths, PianoPattern::Arpeggio, true, 2400.0};

    const std::vector<SheetMeasure> verse = {
        bar("3b . 4e . 4g . 4f+ 4e", "Em", Groove::Drive), bar("4g . . 4e 4c . 4e .", "C", Groove::Drive),
        bar("4d . 3b . 4d . 4g .", "G", Groove::Drive),    bar("4f+ . . . 4A . . .", "D", Groove::Drive),
        bar("4b . 4a . 4g . 4e .", "Em", Groove::Drive),   bar("4g . 4e . 4c . 4e .", "C", Groove::Drive),
        bar("4d . 4c . 3b . 3a .", "Am D", Groove::Drive), bar("3b . . . _ . $d+ $e", "B7", Groove::Fill),
    };
    const std::vector<SheetMeasure> chorus = {
        bar("4g . 4f+ 4g . 4a 4b .", "Cmaj7", Groove::Drive), bar("4a . 4g . 4D . 4e .", "D", Groove::Drive),
        bar("4b . 4g . 4e . 4d .", "Em", Groove::Drive),      bar("4e . . . 3B . 4d .", "C", Groove::Drive),
        bar("3a 4c 4e . 4a . 4g .", "Am", Groove::Drive),     bar("4f+ . 4e . 4d . 4f+ .", "D", Groove::Drive),
        bar("4g . 4f+ . 4e . 4d+ .", "Em B7", Groove::Drive),
    };
    const std::vector<SheetMeasure> breakdown = {
        bar("3G . . . 3b . . .", "C", Groove::HalfTime),      bar("4c . . . 4D . . .", "D", Groove::HalfTime),
        bar("4e . . . 3b . 4e .", "Em", Groove::HalfTime),    bar("4d . . . _ . . .", "Bm", Groove::HalfTime),
        bar("3G . . . 3b . . .", "C", Groove::HalfTime),      bar("4c . . . 4E . . .", "D", Groove::HalfTime),
        bar("4f+ . 4e . 4d+ . 4e .", "B7", Groove::HalfTime), bar("4f+ . . . _ . $b $b", "B7", Groove::Fill),
    };
    sheet.measures = {bar("", "Em", Groove::Hats), bar("", "C D", Groove::Fill)};
    append(sheet.measures, verse);
    append(sheet.measures, chorus);
    append(sheet.measures, {bar("4e . . . _ . . .", "Em", Groove::Fill)});
    append(sheet.measures, breakdown);
    append(sheet.measures, verse);
    append(sheet.measures, chorus);
    append(sheet.measures, {
                               bar("4e . . . . . _ _", "Em", Groove::Fill),
                               bar("", "C D"),
                               bar("", "Em", Groove::Ending),
                           });
    return sheet;
}
