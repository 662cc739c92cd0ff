#include <gtest/gtest.h>

#include <vector>

#include "library/line_reader.h"

using namespace std::string_literals;

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
        // Text mode makes CR CR LF a CR and an LF; then the final CR LF goes.
        {"x.ogg\r\r\n", {"x.ogg"}},
        {"a\r\r\r\nb\r\r", {"a\r", "b\r"}},
        // A line ends at its first NUL byte, as it does for a C string.
        {"a\0.txt\nb\0\r\n"s, {"a", "b"}},
        {"\0x\n"s, {""}},
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
