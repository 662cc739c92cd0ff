#pragma once
#include <cstdint>
#include <string>

// One catalogue record per chart line of the song list. Titles and file names keep the bytes
// the files hold (UTF-8 or CP932); decoding for display happens when the title is rendered.
struct SongEntry {
    std::string fileName; // the song-list line as written, relative to the folder of its list
    std::string title;    // text after "TITLE:" in the chart
    uint16_t level = 1;
    int played = 0;          // 1 once started in this credit without AUTOPLAY
    bool playersOwn = false; // listed by the player's own songs/songlist.txt, not the bundled one
};
