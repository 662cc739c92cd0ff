#pragma once
// Reading the composer's slot items: chart notes, "." holds and "_" silences.
#include <string>
#include <vector>

struct NoteItem {
    int pitch = 0;       // semitones from C of chart octave 4
    bool linked = false; // upper-case letter: slides into the next note
    bool ghost = false;  // shifted-digit octave: sounded, never judged
    std::string token;   // the three characters written into the chart
};

std::vector<std::string> splitWords(const std::string &text);

// Octave character, letter a-g (A-G linked), optional '+' or '-'. False for anything else.
bool parseNoteItem(const std::string &item, NoteItem &out);

inline bool isHold(const std::string &item) { return item == "."; }
inline bool isSilence(const std::string &item) { return item == "_"; }
