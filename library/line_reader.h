#pragma once
#include <cstddef>
#include <string>

// Lines as the game reads its text files: CR LF counts as LF, and a line is taken in pieces of at
// most maxPiece bytes including its LF, so a longer line reads as several lines. The line end
// (LF, CR LF or a final CR) is removed from every piece.
struct LineReader {
    const std::string *text = nullptr;
    size_t maxPiece = 511;
    size_t position = 0;
    int lineNumber = 0;      // 1-based line of the file that the last piece came from
    bool continued = false;  // the last piece is not the start of its line
};

LineReader makeLineReader(const std::string &text, size_t maxPiece = 511);
bool readLine(LineReader &reader, std::string &line);

// Reads a whole file; false when it cannot be opened or read.
bool readFileText(const std::string &path, std::string &text);

bool startsWith(const std::string &line, const char *prefix);
