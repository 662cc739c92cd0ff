#include "library/song_list.h"

#include "library/file_lookup.h"
#include "library/header_values.h"
#include "library/line_reader.h"
#include "platform/trace.h"

namespace {

// songCount is 16-bit: lines past that many are not listed.
const size_t MaxSongs = 65535;

// The whole chart is scanned, so a later TITLE or LEVEL line overrides an earlier one.
void readChartHead(const std::string &path, SongEntry &entry, TitleTexture &titleTexture)
{
    std::string text;
    if (!readFileText(path, text))
        return;
    LineReader reader = makeLineReader(text);
    std::string line;
    while (readLine(reader, line)) {
        if (startsWith(line, "TITLE:")) {
            entry.title = line.substr(6);
            titleTexture.text = entry.title;
            titleTexture.fontSize = 18;
        } else if (startsWith(line, "LEVEL:")) {
            readLevelValue(line.substr(6), entry.level);
        }
    }
}

} // namespace

bool isChartLine(const std::string &line)
{
    size_t dot = line.find('.');
    return dot != std::string::npos && line.compare(dot, 4, ".txt") == 0;
}

void readSongList(const std::string &dataDir, Catalogue &catalogue)
{
    catalogue.songs.clear();
    catalogue.titleTextures.clear();
    catalogue.songCount = 0;
    std::string text;
    if (!readFileText(findDataFile(dataDir, "songlist.txt"), text))
        return;
    LineReader reader = makeLineReader(text);
    std::string line;
    while (readLine(reader, line) && catalogue.songs.size() < MaxSongs) {
        if (!isChartLine(line))
            continue;
        catalogue.songs.emplace_back();
        catalogue.titleTextures.emplace_back();
        catalogue.songs.back().fileName = line;
        readChartHead(findDataFile(dataDir, line), catalogue.songs.back(), catalogue.titleTextures.back());
    }
    catalogue.songCount = static_cast<uint16_t>(catalogue.songs.size());
}

void loadSongList()
{
    readSongList(dataDirectory(), catalogue);
    trace("catalogue %u", catalogue.songCount);
}
