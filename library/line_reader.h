#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The game reads its song list and charts into a 512-byte buffer: a line of the file is taken in
// pieces of at most this many bytes, its LF included.
const size_t LinePieceBytes = 511;

// Lines as the game reads its text files. A text-mode read turns CR LF into LF and a line is taken
// in pieces of at most maxPiece bytes including its LF, so a longer line reads as several lines.
// The final LF, CR LF or CR of a piece is removed, and a piece ends at its first NUL byte, as the
// C string it is read into does.
struct LineReader {
    const std::string *text = nullptr;
    size_t maxPiece = LinePieceBytes;
    size_t position = 0;
    int lineNumber = 0;     // 1-based line of the file that the last piece came from
    bool continued = false; // the last piece is not the start of its line
    bool cutAtNul = false;  // the last piece held a NUL byte and was cut there
};

LineReader makeLineReader(const std::string &text, size_t maxPiece = LinePieceBytes);
bool readLine(LineReader &reader, std::string &line);

// Far above any real song list or chart; a larger file is not one of them.
const uint64_t MaxTextFileBytes = uint64_t(16) << 20;

// Reads a whole song list or chart without ever waiting on it; false when it is missing, not a
// regular file, larger than MaxTextFileBytes or unreadable, with the reason in whyNot when given.
bool readFileText(const std::string &path, std::string &text, std::string *whyNot = nullptr);

bool startsWith(const std::string &line, const char *prefix);
