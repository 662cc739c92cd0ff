#include "ultrastar_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "library/header_values.h"
#include "library/line_reader.h"
#include "text_encoding.h"

namespace {

const double LowestBpm = 1.0;
const double HighestBpm = 100000.0;
const double LongestGapMs = 3600000.0;
// Beats past this lie days away at any tempo read, so they are held here, where sums of them
// cannot overflow, and the song is refused for its length.
const long FarthestBeat = 1000000000000L;
const long LowestPitch = -60;
const long HighestPitch = 67;

long heldBeat(long beat) { return std::clamp(beat, -FarthestBeat, FarthestBeat); }

std::string trimmed(const std::string &text)
{
    size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos)
        return "";
    size_t end = text.find_last_not_of(" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

// "287,5" and "287.5" alike; a value that is no number reads as 0.
bool readNumber(std::string text, double &value)
{
    std::replace(text.begin(), text.end(), ',', '.');
    value = 0.0;
    return readDecimal(text, value);
}

std::string declaredEncoding(const std::string &bytes)
{
    LineReader reader = makeLineReader(bytes, std::string::npos);
    std::string line;
    while (readLine(reader, line)) {
        if (asciiUpper(line.substr(0, 10)) == "#ENCODING:")
            return trimmed(line.substr(10));
    }
    return "";
}

// Reads the fields of a note line after its type: beat, length, pitch, then the syllable. Returns
// why the line is no note, or nothing.
std::string readNoteLine(const std::string &line, UltraStarNote &note)
{
    const char *at = line.c_str() + 1;
    char *end = nullptr;
    long numbers[3];
    for (long &number : numbers) {
        number = std::strtol(at, &end, 10);
        if (end == at)
            return "a note line without beat, length and pitch";
        at = end;
    }
    // Pitch 0 is middle C; a note off the 128 MIDI keys is damage, not a tune, and sums of such
    // numbers would overflow.
    if (numbers[2] < LowestPitch || numbers[2] > HighestPitch)
        return "pitch " + std::to_string(numbers[2]) + " is off the 128 MIDI keys";
    note.type = line[0];
    note.beat = numbers[0];
    note.pitch = static_cast<int>(numbers[2]);
    std::string syllable = at;
    if (!syllable.empty() && syllable[0] == ' ')
        syllable.erase(0, 1); // the separator; any further blank belongs to the syllable
    syllable = trimmed(syllable);
    note.continues = !syllable.empty() && syllable[0] == '~';
    return "";
}

} // namespace

bool looksLikeUltraStar(const std::string &bytes)
{
    const bool marked = hasUtf8Mark(bytes);
    const std::string text = marked ? bytes.substr(3) : bytes;
    LineReader reader = makeLineReader(text, std::string::npos);
    std::string raw;
    while (readLine(reader, raw)) {
        const std::string line = asciiUpper(trimmed(raw));
        if (line.empty())
            continue;
        if (line[0] != '#')
            return false;
        for (const char *tag : {"#TITLE:", "#ARTIST:", "#BPM:", "#MP3:", "#AUDIO:", "#GAP:"})
            if (line.rfind(tag, 0) == 0)
                return true;
    }
    return false;
}

bool readUltraStar(const std::string &bytes, UltraStarSong &song, std::string &whyNot)
{
    const std::string text = songTextAsUtf8(bytes, declaredEncoding(bytes));
    song = UltraStarSong{};
    bool relative = false;
    bool sawBpm = false;
    std::string mp3;
    int part = 0;
    long phraseStart = 0;
    LineReader reader = makeLineReader(text, std::string::npos);
    std::string raw;
    while (readLine(reader, raw)) {
        const std::string line = trimmed(raw);
        if (line.empty())
            continue;
        if (line[0] == '#') {
            const size_t colon = line.find(':');
            if (colon == std::string::npos)
                continue;
            const std::string tag = asciiUpper(line.substr(1, colon - 1));
            const std::string value = trimmed(line.substr(colon + 1));
            if (tag == "TITLE")
                song.title = value;
            else if (tag == "ARTIST")
                song.artist = value;
            else if (tag == "AUDIO")
                song.audio = value;
            else if (tag == "MP3")
                mp3 = value;
            else if (tag == "BPM")
                sawBpm = readNumber(value, song.bpm);
            else if (tag == "GAP")
                readNumber(value, song.gapMs);
            else if (tag == "RELATIVE")
                relative = asciiUpper(value) == "YES";
            continue;
        }
        const char type = line[0];
        if (type == 'E')
            break;
        if (type == 'P') {
            part = std::atoi(line.c_str() + 1) == 2 ? 1 : 0;
            phraseStart = 0;
        } else if (type == '-') {
            if (relative) {
                char *end = nullptr;
                const long first = std::strtol(line.c_str() + 1, &end, 10);
                char *after = nullptr;
                const long second = std::strtol(end, &after, 10);
                phraseStart = heldBeat(phraseStart + heldBeat(after != end ? second : first));
            }
        } else if (type == ':' || type == '*' || type == 'F' || type == 'R' || type == 'G') {
            UltraStarNote note;
            const std::string fault = readNoteLine(line, note);
            if (!fault.empty()) {
                whyNot = "line " + std::to_string(reader.lineNumber) + ": " + fault;
                return false;
            }
            note.beat = heldBeat(note.beat) + phraseStart;
            song.parts[part].push_back(note);
        }
    }
    if (song.audio.empty())
        song.audio = mp3;
    if (!sawBpm || !(song.bpm > 0.0)) {
        whyNot = "no usable #BPM";
        return false;
    }
    // Karaoke files write a few hundred; far outside, no chart tempo or measure is sound.
    if (!(song.bpm >= LowestBpm && song.bpm <= HighestBpm)) {
        char text[96];
        std::snprintf(text, sizeof text, "#BPM:%g is outside %g..%g", song.bpm, LowestBpm, HighestBpm);
        whyNot = text;
        return false;
    }
    // A gap that far would leave note times too coarse to place within a millisecond.
    if (!(std::fabs(song.gapMs) <= LongestGapMs)) {
        char text[96];
        std::snprintf(text, sizeof text, "#GAP:%g is beyond an hour", song.gapMs);
        whyNot = text;
        return false;
    }
    if (song.parts[0].empty() && song.parts[1].empty()) {
        whyNot = "no notes";
        return false;
    }
    return true;
}
