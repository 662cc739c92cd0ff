#include "chords.h"

#include "sheet_notation.h"

static int pitchClassOf(const std::string &text, size_t &at)
{
    static const int letters[] = {9, 11, 0, 2, 4, 5, 7};
    if (at >= text.size() || text[at] < 'A' || text[at] > 'G')
        return -1;
    int pitchClass = letters[text[at] - 'A'];
    ++at;
    if (at < text.size() && text[at] == '#') {
        pitchClass += 1;
        ++at;
    } else if (at < text.size() && text[at] == 'b') {
        pitchClass += 11;
        ++at;
    }
    return pitchClass % 12;
}

struct Quality {
    const char *name;
    std::vector<int> intervals;
};

bool parseChord(const std::string &symbol, ChordShape &out)
{
    static const Quality qualities[] = {
        {"maj7", {0, 4, 7, 11}}, {"m7", {0, 3, 7, 10}},   {"sus4", {0, 5, 7}},
        {"sus2", {0, 2, 7}},     {"add9", {0, 4, 7, 14}}, {"dim", {0, 3, 6}},
        {"m", {0, 3, 7}},        {"7", {0, 4, 7, 10}},    {"", {0, 4, 7}},
    };
    size_t at = 0;
    const int root = pitchClassOf(symbol, at);
    if (root < 0)
        return false;
    const size_t slash = symbol.find('/', at);
    const std::string quality = symbol.substr(at, slash == std::string::npos ? std::string::npos : slash - at);
    int bass = root;
    if (slash != std::string::npos) {
        size_t bassAt = slash + 1;
        bass = pitchClassOf(symbol, bassAt);
        if (bass < 0 || bassAt != symbol.size())
            return false;
    }
    for (const Quality &candidate : qualities) {
        if (quality == candidate.name) {
            out = ChordShape{root, bass, candidate.intervals};
            return true;
        }
    }
    return false;
}

std::vector<ChordSpan> chordSpans(const SongSheet &sheet, const std::vector<MeasureSpan> &spans)
{
    std::vector<ChordSpan> chords;
    for (size_t m = 0; m < sheet.measures.size(); ++m) {
        const std::vector<std::string> items = splitWords(sheet.measures[m].chords);
        const double shareBeats = items.empty() ? 0.0 : spans[m].beats / static_cast<double>(items.size());
        for (size_t slot = 0; slot < items.size(); ++slot) {
            const double at = slotTimeMs(spans[m], items.size(), slot);
            const double end = slotTimeMs(spans[m], items.size(), slot + 1);
            ChordShape chord;
            if (isHold(items[slot]) && !chords.empty()) {
                chords.back().endMs = end;
                chords.back().beats += shareBeats;
            } else if (parseChord(items[slot], chord)) {
                chords.push_back(ChordSpan{at, end, shareBeats, chord, sheet.measures[m].groove});
            }
        }
    }
    return chords;
}

std::vector<int> chordVoicing(const ChordShape &chord, int lowestPitch)
{
    std::vector<int> pitches;
    for (int interval : chord.intervals) {
        const int pitchClass = (chord.root + interval) % 12;
        int pitch = lowestPitch + ((pitchClass - lowestPitch) % 12 + 12) % 12;
        pitches.push_back(pitch);
    }
    return pitches;
}
