#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/chart_parser.h"

using namespace std::string_literals;

namespace {

// The findings of a chart as "LINE: error|warning: message".
std::vector<std::string> findingsOf(const std::string &text)
{
    Chart chart;
    ChartReport report;
    parseChartText(text, LUMATIDE_SOURCE_DIR, 1, chart, &report);
    std::vector<std::string> lines;
    for (const ChartFinding &finding : report.findings)
        lines.push_back(std::to_string(finding.line) + ": " + (finding.error ? "error: " : "warning: ") +
                        finding.message);
    return lines;
}

// A chart with every key and a file for its music, so only what a case adds is reported.
const std::string Head = "TITLE:T\nLEVEL:1\nWAVE:CMakeLists.txt\nBPM:120\n#START\n";

} // namespace

TEST(ChartChecks, LinesReadInPiecesAndTheLinesAfterThem)
{
    const std::string x511(511, 'x');
    struct Case {
        const char *name;
        std::string text;
        std::vector<std::string> findings;
    } cases[] = {
        // The LF of a 511-byte line is read as an empty line of its own, which changes nothing.
        {"511 bytes", Head + x511 + "\n4h ,\n", {"7: warning: '4h': the letter after an octave must be a to g"}},
        {"511 bytes and CR LF",
         Head + x511 + "\r\n4h ,\n",
         {"7: warning: '4h': the letter after an octave must be a to g"}},
        {"510 bytes and CR CR LF",
         Head + std::string(510, 'x') + "\r\r\n4h ,\n",
         {"7: warning: '4h': the letter after an octave must be a to g"}},
        {"512 bytes",
         Head + x511 + "y\n4h ,\n",
         {"6: warning: line longer than 511 bytes: read in pieces",
          "7: warning: '4h': the letter after an octave must be a to g"}},
        // Three pieces of one line are still one line, reported once.
        {"1200 bytes",
         Head + std::string(1200, 'x') + "\n4h ,\n",
         {"6: warning: line longer than 511 bytes: read in pieces",
          "7: warning: '4h': the letter after an octave must be a to g"}},
        {"a long header line",
         "TITLE:" + std::string(600, 'T') + "\nLEVEL:1\nWAVE:CMakeLists.txt\nBPM:120\n#START\n4h ,\n",
         {"1: warning: line longer than 511 bytes: read in pieces",
          "6: warning: '4h': the letter after an octave must be a to g"}},
        {"a NUL byte",
         Head + "4c ,\0 4h ,\n4h ,\n"s,
         {"6: warning: NUL byte: the rest of the line is not read",
          "7: warning: '4h': the letter after an octave must be a to g"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(findingsOf(c.text), c.findings);
    }
}

TEST(ChartChecks, NotesAndRestsWithoutTheirAccidental)
{
    struct Case {
        std::string body;
        std::vector<std::string> findings;
    } cases[] = {
        {"4d,\n", {"6: warning: '4d' is not a note: its accidental (blank, '+' or '-') is missing"}},
        {"4c 4D\n,\n", {"6: warning: '4D' is not a note: its accidental (blank, '+' or '-') is missing"}},
        {"40,\n", {"6: warning: '40' is a rest without its blank: it takes no slot"}},
        {"4c 40\n,\n", {"6: warning: '40' is a rest without its blank: it takes no slot"}},
        {"4c 40 4d ,\n", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.body);
        EXPECT_EQ(findingsOf(Head + c.body), c.findings);
    }
}
