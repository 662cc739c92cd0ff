#include "song_mapping.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

int outsideField(const std::vector<int> &pitches, int shift)
{
    return static_cast<int>(std::count_if(pitches.begin(), pitches.end(), [shift](int pitch) {
        const int shifted = pitch + 12 * shift;
        return shifted < -12 || shifted > 11;
    }));
}

} // namespace

int octaveShiftForField(const std::vector<int> &pitches)
{
    int best = 0;
    int bestOutside = outsideField(pitches, 0);
    for (int distance = 1; distance <= 6; distance++) {
        for (int shift : {distance, -distance}) {
            const int outside = outsideField(pitches, shift);
            if (outside < bestOutside) {
                best = shift;
                bestOutside = outside;
            }
        }
    }
    return best;
}

int tempoFolds(double bpm, int mostHalvings, int mostDoublings)
{
    int folds = 0;
    while (bpm > 200.0 && folds < mostHalvings) {
        bpm /= 2;
        folds++;
    }
    while (bpm < 60.0 && -folds < mostDoublings) {
        bpm *= 2;
        folds--;
    }
    return folds;
}

int importedLevel(const ChartDraft &draft)
{
    int count = 0;
    double first = 0.0, last = 0.0;
    int lowest = 0, highest = 0;
    for (const DraftMeasure &measure : draft.measures) {
        for (const DraftNote &note : measure.notes) {
            if (note.ghost)
                continue;
            if (count == 0) {
                first = note.exactMs;
                lowest = highest = note.pitch;
            }
            last = note.exactMs;
            lowest = std::min(lowest, note.pitch);
            highest = std::max(highest, note.pitch);
            count++;
        }
    }
    if (count < 2)
        return 1;
    const double notesPerSecond = (count - 1) * 1000.0 / std::max(last - first, 1000.0);
    const int range = highest - lowest;
    if (notesPerSecond >= 5.0 && range >= 24)
        return 7;
    const int level = 1 + static_cast<int>(std::floor(0.8 * notesPerSecond + range / 16.0));
    return std::clamp(level, 1, 6);
}

std::string songFolderName(const std::string &artist, const std::string &title)
{
    std::string name = artist.empty() ? title : artist + " - " + title;
    std::string safe;
    for (char c : name) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || std::string("/\\:*?\"<>|.").find(c) != std::string::npos)
            safe += '_';
        else
            safe += c;
    }
    size_t begin = safe.find_first_not_of(" _");
    if (begin == std::string::npos)
        return "Untitled";
    safe = safe.substr(begin);
    if (safe.size() > 120) {
        size_t cut = 120;
        while (cut > 0 && (static_cast<unsigned char>(safe[cut]) & 0xC0) == 0x80)
            cut--; // never split a UTF-8 character
        safe.resize(cut);
    }
    while (!safe.empty() && safe.back() == ' ')
        safe.pop_back();
    return safe;
}

bool withinSoundLength(double firstNoteMs, double lastNoteMs, std::string &whyNot)
{
    const double HourMs = 3600000.0;
    const double farthest = std::fabs(firstNoteMs) > std::fabs(lastNoteMs) ? firstNoteMs : lastNoteMs;
    if (std::fabs(firstNoteMs) <= HourMs && std::fabs(lastNoteMs) <= HourMs)
        return true;
    char text[96];
    if (!std::isfinite(farthest)) {
        std::snprintf(text, sizeof text, "notes run to %s, beyond an hour",
                      farthest != farthest ? "nowhere" : "infinity");
    } else {
        const double seconds = std::floor(std::fabs(farthest) / 1000.0);
        std::snprintf(text, sizeof text, "notes run to %s%.0f:%02d:%02d, beyond an hour", farthest < 0 ? "-" : "",
                      std::floor(seconds / 3600.0), static_cast<int>(std::fmod(seconds, 3600.0)) / 60,
                      static_cast<int>(std::fmod(seconds, 60.0)));
    }
    whyNot = text;
    return false;
}
