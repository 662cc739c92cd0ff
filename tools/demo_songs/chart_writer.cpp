#include "chart_writer.h"

#include <cstdio>

#include "sheet_notation.h"

// Fewest equal slots that still put every note of the measure on its own slot; the chart has no
// lengths, so holds and silences between notes need not be written.
static std::vector<std::string> chartTokens(const std::vector<std::string> &items)
{
    std::vector<NoteItem> notes(items.size());
    std::vector<bool> isNote(items.size());
    for (size_t i = 0; i < items.size(); ++i)
        isNote[i] = parseNoteItem(items[i], notes[i]);
    for (size_t slots = 1; slots <= items.size(); ++slots) {
        if (items.size() % slots != 0)
            continue;
        const size_t step = items.size() / slots;
        bool fits = true;
        for (size_t i = 0; i < items.size() && fits; ++i)
            fits = !isNote[i] || i % step == 0;
        if (!fits)
            continue;
        std::vector<std::string> tokens;
        for (size_t i = 0; i < items.size(); i += step)
            tokens.push_back(isNote[i] ? notes[i].token : "40 ");
        return tokens;
    }
    return {};
}

static bool hasNote(const std::vector<std::string> &items)
{
    NoteItem note;
    for (const std::string &item : items)
        if (parseNoteItem(item, note))
            return true;
    return false;
}

std::string chartText(const SongSheet &sheet)
{
    char bpm[64];
    std::snprintf(bpm, sizeof bpm, "%.17g", sheet.bpm);
    std::string text = "TITLE:" + sheet.title + "\nLEVEL:" + std::to_string(sheet.level) + "\nWAVE:" + sheet.stem +
                       ".ogg\nBPM:" + bpm + "\nOFFSET:" + sheet.offset + "\n#START\n";
    int top = 4;
    int bottom = 4;
    for (const SheetMeasure &measure : sheet.measures) {
        if (measure.meterTop != top || measure.meterBottom != bottom) {
            top = measure.meterTop;
            bottom = measure.meterBottom;
            text += "#MEASURE " + std::to_string(top) + "/" + std::to_string(bottom) + "\n";
        }
        const std::vector<std::string> items = splitWords(measure.melody);
        // A blank after a sharp or flat keeps the next token or the ',' apart for the reader's eye.
        if (hasNote(items))
            for (const std::string &token : chartTokens(items))
                text += token.back() == ' ' ? token : token + " ";
        text += ",\n";
    }
    return text + "#END\n";
}
