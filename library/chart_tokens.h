#pragma once
#include <string>

// A note token: octave character, letter (or '0' for a rest) and accidental, three bytes in a row.
struct NoteToken {
    int octave = 0;
    int ghost = 0; // octave written with a shifted digit
    char letter = 0;
    char accidental = 0;
};

inline bool readOctave(char c, int &octave, int &ghost)
{
    if (c >= '0' && c <= '9') {
        octave = c - '0';
        ghost = 0;
        return true;
    }
    if (c >= '!' && c <= ')') {
        octave = c - 32;
        ghost = 1;
        return true;
    }
    return false;
}

inline bool isNoteLetter(char c) { return (c >= 'a' && c <= 'g') || (c >= 'A' && c <= 'G'); }

inline bool isAccidental(char c) { return c == ' ' || c == '+' || c == '-'; }

inline bool isRest(const NoteToken &token) { return token.letter == '0'; }

inline bool tokenAt(const std::string &line, size_t i, NoteToken &token)
{
    if (i + 2 >= line.size())
        return false;
    char letter = line[i + 1];
    if (!(isNoteLetter(letter) || letter == '0') || !isAccidental(line[i + 2]))
        return false;
    if (!readOctave(line[i], token.octave, token.ghost))
        return false;
    token.letter = letter;
    token.accidental = line[i + 2];
    return true;
}

// Semitones from C of octave 4.
inline double tokenPitch(const NoteToken &token)
{
    static const int semitones[7] = {9, 11, 0, 2, 4, 5, 7}; // a b c d e f g
    char lower = token.letter >= 'a' ? token.letter : static_cast<char>(token.letter + 32);
    double pitch = semitones[lower - 'a'] + 12 * (token.octave - 4);
    if (token.accidental == '+')
        pitch += 1;
    else if (token.accidental == '-')
        pitch -= 1;
    return pitch;
}
