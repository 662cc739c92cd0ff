#include <gtest/gtest.h>

#include <vector>

#include "library/line_reader.h"

TEST(LineReader, SplitsLikeATextModeReadOf511BytePieces)
{
    const std::string long511(511, 'x');
    const std::string long510(510, 'y');
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"\n", {""}},
        {"a\nb", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\n", {"a\rb"}},
        {"abc\r", {"abc"}},
        {long510 + "\r\n" + "z", {long510, "z"}},
        // The LF is one of the 511 bytes: a 511-byte line reads as itself and an empty line.
        {long511 + "\n", {long511, ""}},
        {long511 + "ab\n", {long511, "ab"}},
    };
    for (const Case &c : cases) {
        LineReader reader = makeLineReader(c.text);
        std::vector<std::string> lines;
        std::string line;
        while (readLine(reader, line))
            lines.push_back(line);
        EXPECT_EQ(lines, c.lines) << c.text.substr(0, 20);
    }
}

TEST(LineReader, NumbersLinesAndMarksContinuations)
{
    std::string text = std::string(600, 'x') + "\nshort\n";
    LineReader reader = makeLineReader(text);
    std::string line;
    ASSERT_TRUE(readLine(reader, line));
    EXPECT_EQ(reader.lineNumber, 1);
    EXPECT_FALSE(reader.continued);
    ASSERT_TRUE(readLine(reader, line));
    EXPECT_EQ(line.size(), 89u);
    EXPECT_EQ(reader.lineNumber, 1);
    EXPECT_TRUE(reader.continued);
    ASSERT_TRUE(readLine(reader, line));
    EXPECT_EQ(line, "short");
    EXPECT_EQ(reader.lineNumber, 2);
    EXPECT_FALSE(reader.continued);
}
