#include "sheet_notation.h"

#include <cstring>
#include <sstream>

std::vector<std::string> splitWords(const std::string &text)
{
    std::vector<std::string> words;
    std::istringstream stream(text);
    std::string word;
    while (stream >> word)
        words.push_back(word);
    return words;
}

static int octaveOf(char c, bool &ghost)
{
    if (c >= '0' && c <= '9') {
        ghost = false;
        return c - '0';
    }
    static const char shiftedDigits[] = "!\"#$%&'()";
    if (const char *at = std::strchr(shiftedDigits, c); at && c != '\0') {
        ghost = true;
        return static_cast<int>(at - shiftedDigits) + 1;
    }
    return -1;
}

static int semitoneOf(char letter)
{
    static const int semitones[] = {9, 11, 0, 2, 4, 5, 7}; // a b c d e f g
    if (letter >= 'a' && letter <= 'g')
        return semitones[letter - 'a'];
    if (letter >= 'A' && letter <= 'G')
        return semitones[letter - 'A'];
    return -1;
}

bool parseNoteItem(const std::string &item, NoteItem &out)
{
    if (item.size() < 2 || item.size() > 3)
        return false;
    bool ghost = false;
    const int octave = octaveOf(item[0], ghost);
    const int semitone = semitoneOf(item[1]);
    if (octave < 0 || semitone < 0)
        return false;
    int accidental = 0;
    if (item.size() == 3) {
        if (item[2] == '+')
            accidental = 1;
        else if (item[2] == '-')
            accidental = -1;
        else
            return false;
    }
    out.pitch = semitone + 12 * (octave - 4) + accidental;
    out.linked = item[1] >= 'A' && item[1] <= 'G';
    out.ghost = ghost;
    out.token = item.size() == 3 ? item : item + " ";
    return true;
}
