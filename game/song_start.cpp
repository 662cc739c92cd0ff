#include "game/song_start.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "audio/music_stream.h"
#include "game/play_reset.h"
#include "game/song_chart.h"
#include "library/catalogue.h"
#include "library/chart.h"
#include "library/chart_parser.h"
#include "library/header_values.h"
#include "platform/timer.h"
#include "platform/trace.h"
#include "rules/atomic_access.h"
#include "rules/credit_state.h"
#include "rules/menu_state.h"
#include "rules/play_state.h"

namespace {

constexpr uint32_t SilentTailMs = 1000;
constexpr uint32_t LongestSongMs = std::numeric_limits<uint32_t>::max();

void reportUnplayableMusic(const std::string &chartPath)
{
    if (chart.musicPath.empty())
        std::fprintf(stderr, "lumatide: %s: no WAVE line names its music; the song runs without it\n",
                     chartPath.c_str());
    else if (music.openFailure.empty())
        std::fprintf(stderr, "lumatide: %s: cannot play its music \"%s\"; the song runs without it\n",
                     chartPath.c_str(), chart.musicPath.c_str());
    else
        std::fprintf(stderr, "lumatide: %s: cannot play its music \"%s\" (%s); the song runs without it\n",
                     chartPath.c_str(), chart.musicPath.c_str(), music.openFailure.c_str());
}

void openMusic(const std::string &chartPath, bool chartRead)
{
    music.gain = 1.0;
    if (music.openFile(chart.musicPath.c_str()) == 0 && music.open() == 0)
        return;
    // A chart that could not be read has been named already, with the reason its song is silent.
    if (chartRead)
        reportUnplayableMusic(chartPath);
    music.openSilent(silentSongLengthMs(chart));
}

} // namespace

uint32_t silentSongLengthMs(const Chart &chart)
{
    if (chart.measureCount == 0 || !isPlayableBpm(chart.bpm))
        return SilentTailMs;
    const double lastStart = static_cast<int32_t>(chart.measureTimes[chart.measureCount - 1]);
    const double lastLength = std::trunc(measureLengthMs(chart.bpm, chart.measureLength));
    const double length = std::max(lastStart + lastLength, 0.0) + SilentTailMs;
    // A tempo near zero or a huge #MEASURE gives a measure longer than the clock can count: the
    // song runs as long as the clock goes.
    return length < LongestSongMs ? static_cast<uint32_t>(length) : LongestSongMs;
}

void startSong(bool autoplay)
{
    SongEntry &entry = catalogue.songs[menu.selectedSong];
    menu.autoplay = autoplay ? 1 : 0;
    std::string chartPath;
    const bool chartRead = parseChart(&chartPath);
    openMusic(chartPath, chartRead);
    storeRelaxed(menu.state, Play);
    storeRelaxed(play.keyHeldFrames, -1);
    play.playStartTime = timerNowMs();
    play.phaseStartTime = 0;
    if (!autoplay)
        entry.played = 1;
    resetPlayState();
    trace("song start %s autoplay=%d stage=%d", entry.fileName.c_str(), menu.autoplay, credit.stage);
}
