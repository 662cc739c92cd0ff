#include "library/line_reader.h"

#include <cstring>

#include "platform/regular_file.h"

LineReader makeLineReader(const std::string &text, size_t maxPiece)
{
    LineReader reader;
    reader.text = &text;
    reader.maxPiece = maxPiece;
    return reader;
}

bool readLine(LineReader &reader, std::string &line)
{
    const std::string &text = *reader.text;
    line.clear();
    if (reader.position >= text.size())
        return false;
    bool previousPieceEndedLine = reader.position == 0 || text[reader.position - 1] == '\n';
    reader.continued = !previousPieceEndedLine;
    if (previousPieceEndedLine)
        reader.lineNumber++;
    // Counts the bytes as a text-mode read sees them: CR LF is one byte, the LF.
    size_t counted = 0;
    while (reader.position < text.size() && counted < reader.maxPiece) {
        char c = text[reader.position];
        bool crLf = c == '\r' && reader.position + 1 < text.size() && text[reader.position + 1] == '\n';
        reader.position += crLf ? 2 : 1;
        if (crLf || c == '\n')
            break;
        line.push_back(c);
        counted++;
    }
    size_t nul = line.find('\0');
    reader.cutAtNul = nul != std::string::npos;
    if (reader.cutAtNul)
        line.resize(nul);
    // What the LF leaves: the CR of CR CR LF, or a CR that ends the file or the piece.
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

bool readFileText(const std::string &path, std::string &text, std::string *whyNot)
{
    std::string reason;
    const bool read = readRegularFile(path, MaxTextFileBytes, text, reason) == FileStatus::Opened;
    if (!read && whyNot != nullptr)
        *whyNot = reason;
    return read;
}

bool startsWith(const std::string &line, const char *prefix)
{
    return line.compare(0, std::strlen(prefix), prefix) == 0;
}
