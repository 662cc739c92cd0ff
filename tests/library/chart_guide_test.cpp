// docs/charts.md teaches the chart format by example: every chart in it must be one the game
// and lumatide-chart read without a single finding, and the dump it shows must be the tool's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library_files.h"
#include "support/scratch_folder.h"

namespace {

struct Block {
    std::string kind; // the word after the opening fence
    std::string text;
};

// The fenced blocks of a Markdown file, in order.
std::vector<Block> fencedBlocks(const std::string &markdown)
{
    std::vector<Block> blocks;
    bool inside = false;
    size_t start = 0;
    while (start < markdown.size()) {
        size_t end = markdown.find('\n', start);
        if (end == std::string::npos)
            end = markdown.size();
        const std::string line = markdown.substr(start, end - start);
        if (line.rfind("```", 0) == 0) {
            if (!inside)
                blocks.push_back({line.substr(3), ""});
            inside = !inside;
        } else if (inside) {
            blocks.back().text += line + "\n";
        }
        start = end + 1;
    }
    return blocks;
}

std::string headerValue(const std::string &chart, const std::string &key)
{
    const size_t at = chart.find("\n" + key);
    if (at == std::string::npos)
        return "";
    const size_t from = at + 1 + key.size();
    return chart.substr(from, chart.find('\n', from) - from);
}

} // namespace

TEST(ChartGuide, EveryExampleChartPassesTheCheckAndTheDumpIsTheTools)
{
    const std::string guide = readWholeFile(LUMATIDE_SOURCE_DIR "/docs/charts.md");
    ASSERT_FALSE(guide.empty());
    const std::vector<Block> blocks = fencedBlocks(guide);
    ScratchFolder folder;
    int charts = 0, dumps = 0;
    std::string lastChart;
    for (const Block &block : blocks) {
        if (block.kind == "chart") {
            SCOPED_TRACE(block.text);
            const std::string path = folder.write("example" + std::to_string(charts++) + ".txt", block.text);
            const std::string music = headerValue("\n" + block.text, "WAVE:");
            ASSERT_FALSE(music.empty());
            folder.write(music, "");
            const ToolRun run = runChartTool("check " + path);
            EXPECT_EQ(run.exitCode, 0);
            EXPECT_EQ(run.output, "") << "not even a warning";
            lastChart = path;
        } else if (block.kind == "dump") {
            dumps++;
            ASSERT_FALSE(lastChart.empty()) << "a dump follows the chart it shows";
            EXPECT_EQ(runChartTool("dump " + lastChart).output, block.text);
        }
    }
    EXPECT_GE(charts, 3);
    EXPECT_EQ(dumps, 1);
}
