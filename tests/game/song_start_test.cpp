#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "game/song_start.h"
#include "library/chart_parser.h"

TEST(SongStart, SilentLengthRunsToTheNextMeasurePlusASecond)
{
    struct Case {
        const char *name;
        const char *body;
        const char *offset;
        uint32_t lengthMs;
    };
    const Case cases[] = {
        {"two 4/4 measures", "4c 4e ,\n4g ,\n", "0", 2000 + 2000 + 1000},
        {"last measure in 3/4", "4c ,\n#MEASURE 3/4\n4c 4d 4e ,\n", "0.5", 500 + 2000 + 1500 + 1000},
        {"empty measures count", "4c ,\n,\n,\n", "0", 3 * 2000 + 1000},
        {"no measures", "", "0", 1000},
        {"first measure before clock zero", "4c ,\n", "-1.5", 500 + 1000},
    };
    for (const Case &c : cases) {
        Chart chart;
        const std::string text = std::string("BPM:120\nWAVE:x.ogg\nOFFSET:") + c.offset + "\n#START\n" + c.body + "#END\n";
        parseChartText(text, "/nonexistent", 1, chart);
        EXPECT_EQ(silentSongLengthMs(chart), c.lengthMs) << c.name;
    }
    // A tempo near zero or a huge #MEASURE makes a measure longer than the clock can count: the
    // song then runs as long as the clock goes.
    struct Extreme {
        const char *name;
        std::string header;
        std::string body;
    };
    const Extreme extremes[] = {
        {"tempo of 1e-300", "BPM:1e-300\n", "4c ,\n"},
        {"tempo of 1e-300, second measure", "BPM:1e-300\n", "4c ,\n4c ,\n"},
        {"#MEASURE of 10^23 whole notes", "BPM:120\n", "#MEASURE 1" + std::string(23, '0') + "/1\n4c ,\n"},
        {"#MEASURE of 10^300 whole notes", "BPM:120\n", "#MEASURE 1" + std::string(300, '0') + "/1\n4c ,\n"},
    };
    for (const Extreme &c : extremes) {
        Chart chart;
        parseChartText(c.header + "WAVE:x.ogg\n#START\n" + c.body + "#END\n", "/nonexistent", 1, chart);
        ASSERT_GT(chart.measureCount, 0) << c.name;
        EXPECT_EQ(silentSongLengthMs(chart), UINT32_MAX) << c.name;
    }
    Chart noTempo;
    parseChartText("WAVE:x.ogg\n#START\n4c ,\n#END\n", "/nonexistent", 1, noTempo);
    EXPECT_EQ(silentSongLengthMs(noTempo), 1000u) << "a chart without a tempo is empty";
}
