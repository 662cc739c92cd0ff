#include <gtest/gtest.h>

#include "library_files.h"
#include "support/scratch_folder.h"

TEST(ChartTool, DumpsTheWorkedExample)
{
    ScratchFolder folder;
    std::string chart = folder.write(
        "demo.txt",
        "TITLE:Demo\nLEVEL:3\nWAVE:demo.ogg\nBPM:120\nOFFSET:0.5\n#START\n4c 4e 4g 5c ,\n#MEASURE 3/4\n4G 40 4a ,\n#END\n");
    ToolRun run = runChartTool("dump " + chart);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output,
              "bpm 120\noffset_ms 500\nmusic demo.ogg\nms_per_beat 500\nnotes 6\njudged 6\nmeasures 2\n"
              "measure 0 500\nmeasure 1 2500\n"
              "note 0 500 0 0 0 0 1 0\n"
              "note 1 1000 4 0 0 0 2 0\n"
              "note 2 1500 7 0 0 0 3 1\n"
              "note 3 2000 12 -1 0 0 4 2\n"
              "note 4 2500 7 0 1 0 5 3\n"
              "note 5 3500 9 0 0 0 -1 4\n");
}

TEST(ChartTool, DumpShowsGhostsAndTheSpareRecord)
{
    ScratchFolder folder;
    std::string chart = folder.write("g.txt", "WAVE:g.ogg\nBPM:60\nOFFSET:-0.001\n#START\n!c 4d #e ,\n");
    ToolRun run = runChartTool("dump " + chart);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output,
              "bpm 60\noffset_ms -1\nmusic g.ogg\nms_per_beat 1000\nnotes 3\njudged 1\nmeasures 1\n"
              "measure 0 4294967295\n"
              "note 0 4294967295 -36 3 0 1 1 0\n"
              "note 1 1332 2 0 0 0 3 1\n"
              "note 2 2665 -8 0 0 1 -1 1\n");
}

// The tempo is printed as the double the game times the notes with, not rounded to 6 digits.
TEST(ChartTool, DumpShowsTheExactTempo)
{
    ScratchFolder folder;
    struct Case {
        const char *bpm;
        const char *shown;
    } cases[] = {{"133.3333", "133.3333"}, {"0.1", "0.1"}, {"1e-300", "1e-300"}, {"175", "175"}};
    for (const Case &c : cases) {
        std::string chart = folder.write("t.txt", std::string("WAVE:t.ogg\nBPM:") + c.bpm + "\n#START\n,\n");
        ToolRun run = runChartTool("dump " + chart);
        EXPECT_EQ(run.output.substr(0, run.output.find('\n')), std::string("bpm ") + c.shown);
    }
}

TEST(ChartTool, ChecksWhatAuthorsGetWrong)
{
    ScratchFolder folder;
    folder.write("ok.ogg", "");
    std::string good = folder.write("good.txt", "TITLE:Good\nLEVEL:3\nWAVE:ok.ogg\nBPM:120\n#START\n4c ,\n#END\n");
    std::string bad = folder.write("bad.txt",
                                   "LEVEL:9\nWAVE:gone.ogg\nBPM:0\n#START\n4c 4d,\n4h ,\n#MEASURE 3\n#MEASURE 3/0\n" +
                                       std::string(513, ' ') + "\n" + std::string(600, ' ') + "\n#END\n#START\n4e 4f ");
    // A measure of 171 tokens.
    std::string crowded = folder.write(
        "crowded.txt", "TITLE:C\nLEVEL:1\nWAVE:ok.ogg\nBPM:120\n#START\n" + [] {
            std::string tokens;
            for (int i = 0; i < 171; i++)
                tokens += i % 100 == 99 ? "4c \n" : "4c ";
            return tokens;
        }() + ",\n");
    ToolRun run = runChartTool("check " + good);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "");

    run = runChartTool("check " + bad + " " + good);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, bad + ":1: warning: LEVEL 9 is outside 1..7\n" + bad + ":1: warning: no TITLE line\n" + bad +
                              ":2: warning: music file 'gone.ogg' not found beside the chart\n" + bad +
                              ":3: error: BPM must be a positive number\n" + bad +
                              ":5: warning: '4d' is not a note: its accidental (blank, '+' or '-') is missing\n" + bad +
                              ":6: warning: '4h': the letter after an octave must be a to g\n" + bad +
                              ":7: warning: #MEASURE without a fraction such as 3/4: ignored\n" + bad +
                              ":8: warning: #MEASURE without a valid denominator: ignored\n" + bad +
                              ":9: warning: line longer than 511 bytes: read in pieces\n" + bad +
                              ":10: warning: line longer than 511 bytes: read in pieces\n" + bad +
                              ":12: warning: second #START ignored\n");

    run = runChartTool("check " + crowded);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, crowded + ":7: warning: measure of 171 tokens (more than 170)\n");

    std::string empty = folder.write("empty.txt", "4c ,\n");
    run = runChartTool("check " + empty);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, empty + ":1: error: no #START line: the chart has no notes\n" + empty +
                              ":1: error: no BPM line\n" + empty + ":1: error: no WAVE line\n" + empty +
                              ":1: warning: no TITLE line\n" + empty + ":1: warning: no LEVEL line\n");

    std::string dropped = folder.write("dropped.txt", "TITLE:D\nLEVEL:1\nWAVE:ok.ogg\nBPM:120\n#START\n4c ,\n4d 4e\n");
    run = runChartTool("check " + dropped);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, dropped + ":7: warning: '4e' is not a note: its accidental (blank, '+' or '-') is missing\n" +
                              dropped + ":7: warning: tokens after the last ',' are dropped\n");
}

TEST(ChartTool, Arguments)
{
    struct Case {
        const char *arguments;
        int exitCode;
    } cases[] = {
        {"", 2},
        {"dump", 2},
        {"dump a b", 2},
        {"check", 2},
        {"frobnicate x", 2},
        {"--help", 0},
        {"dump /nonexistent/chart.txt", 1},
        {"check /nonexistent/chart.txt", 1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(runChartTool(c.arguments).exitCode, c.exitCode) << c.arguments;
    EXPECT_NE(runChartTool("--help").output.find("lumatide-chart check FILE..."), std::string::npos);
}
