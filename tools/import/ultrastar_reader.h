#pragma once
// Karaoke song files: a header of #TAG:value lines, then one timed, pitched syllable a line.
#include <string>
#include <vector>

struct UltraStarNote {
    char type = ':';        // ':' normal, '*' golden, 'F' freestyle, 'R' rap, 'G' golden rap
    long beat = 0;          // absolute, relative mode already resolved
    int pitch = 0;          // 0 is middle C
    bool continues = false; // the syllable carries on the previous note ('~')
};

struct UltraStarSong {
    std::string title; // UTF-8
    std::string artist;
    std::string audio; // #AUDIO, else #MP3, as written (UTF-8)
    double bpm = 0.0;
    double gapMs = 0.0;
    std::vector<UltraStarNote> parts[2]; // duet parts 1 and 2; a solo song has only part 1
};

// False, with the reason, when the text is no usable song: no BPM, or no notes.
bool readUltraStar(const std::string &bytes, UltraStarSong &song, std::string &whyNot);

// True when the text begins like a karaoke song file (its first tag line names one of the tags).
bool looksLikeUltraStar(const std::string &bytes);
