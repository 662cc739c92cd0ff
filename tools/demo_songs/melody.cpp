#include "melody.h"

#include "sheet_notation.h"

std::vector<MelodyNote> melodyNotes(const SongSheet &sheet, const std::vector<MeasureSpan> &spans)
{
    std::vector<MelodyNote> notes;
    bool sounding = false;
    for (size_t m = 0; m < sheet.measures.size(); ++m) {
        const std::vector<std::string> items = splitWords(sheet.measures[m].melody);
        for (size_t slot = 0; slot < items.size(); ++slot) {
            const double at = slotTimeMs(spans[m], items.size(), slot);
            NoteItem note;
            if (parseNoteItem(items[slot], note)) {
                if (sounding)
                    notes.back().endMs = at;
                notes.push_back(MelodyNote{at, at, note.pitch, note.linked, note.ghost});
                sounding = true;
            } else if (isSilence(items[slot]) && sounding) {
                notes.back().endMs = at;
                sounding = false;
            }
        }
    }
    if (sounding && !spans.empty())
        notes.back().endMs = spans.back().startMs + spans.back().lengthMs;
    return notes;
}
