#include "library/song_list.h"

#include <cstdio>

#include "library/file_lookup.h"
#include "library/header_values.h"
#include "library/line_reader.h"
#include "platform/paths.h"
#include "platform/trace.h"

namespace {

// songCount is 16-bit: lines past that many are not listed.
const size_t MaxSongs = 65535;

// The whole chart is scanned, so a later TITLE or LEVEL line overrides an earlier one.
void readChartHead(const std::string &path, SongEntry &entry, TitleTexture &titleTexture)
{
    std::string text, reason;
    if (!readFileText(path, text, &reason)) {
        std::fprintf(stderr, "lumatide: %s: %s; the song is listed without its title and level\n", path.c_str(),
                     reason.c_str());
        return;
    }
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

// An empty select screen says nothing by itself; this line says where the songs should be.
void reportNoSongs(const std::string &listPath, const std::string &reason)
{
    std::fprintf(stderr, "lumatide: %s: %s; no songs to play (list one chart file name per line, e.g. song1.txt)\n",
                 listPath.c_str(), reason.c_str());
}

// One entry per chart line of the list's text, after those already in the catalogue; the count
// of entries added.
size_t addChartLines(const std::string &text, const std::string &folder, bool playersOwn, Catalogue &catalogue)
{
    const size_t before = catalogue.songs.size();
    LineReader reader = makeLineReader(text);
    std::string line;
    while (readLine(reader, line) && catalogue.songs.size() < MaxSongs) {
        if (!isChartLine(line))
            continue;
        catalogue.songs.emplace_back();
        catalogue.titleTextures.emplace_back();
        catalogue.songs.back().fileName = line;
        catalogue.songs.back().playersOwn = playersOwn;
        readChartHead(findDataFile(folder, line), catalogue.songs.back(), catalogue.titleTextures.back());
    }
    catalogue.songCount = static_cast<uint16_t>(catalogue.songs.size());
    return catalogue.songs.size() - before;
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
    const std::string listPath = findDataFile(dataDir, SongListName);
    std::string text, reason;
    if (!readFileText(listPath, text, &reason)) {
        reportNoSongs(listPath, reason);
        return;
    }
    if (addChartLines(text, dataDir, false, catalogue) == 0)
        reportNoSongs(listPath, text.empty() ? "empty" : "names no chart file");
}

void addPlayersSongList(const std::string &songsDir, Catalogue &catalogue)
{
    const std::string listPath = findDataFile(songsDir, SongListName);
    if (pathKind(listPath) == PathKind::Missing)
        return;
    std::string text, reason;
    if (!readFileText(listPath, text, &reason))
        std::fprintf(stderr, "lumatide: %s: %s; your own songs are not listed\n", listPath.c_str(), reason.c_str());
    else if (addChartLines(text, songsDir, true, catalogue) == 0 && catalogue.songs.size() < MaxSongs)
        std::fprintf(stderr, "lumatide: %s: %s; list one chart file name per line, e.g. mysong.txt\n", listPath.c_str(),
                     text.empty() ? "empty" : "names no chart file");
}

void loadSongList()
{
    readSongList(dataDirectory(), catalogue);
    addPlayersSongList(userSongsDirectory(), catalogue);
    trace("catalogue %u", catalogue.songCount);
}
