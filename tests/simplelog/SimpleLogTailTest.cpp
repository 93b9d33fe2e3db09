#include "SimTestSupport.h"
#include "SimpleLogTestSupport.h"
#include "simplelog/SimpleLogLineReader.h"
#include "simplelog/SimpleLogTail.h"
#include "text/Utf8.h"

#include <gtest/gtest.h>

#include <limits>

using rovex::readSimpleLogTail;
using rovex::ServiceImages;
using rovex::SimpleLogTail;
using rovex::simtest::TempRoot;
using rovex::simtest::writeFile;
using rovex::test::rowFields;

namespace {

struct Reading {
    std::vector<std::vector<std::string>> rows;
    std::int64_t limiter = 0;
    std::uint64_t invalidLines = 0;

    bool operator==(const Reading&) const = default;
};

Reading readingOf(const SimpleLogTail& tail)
{
    Reading reading{{}, tail.limiter, tail.invalidLines};
    for (const rovex::RXSimpleLog& row : tail.rows)
        reading.rows.push_back(rowFields(row));
    return reading;
}

// Every "  " turned into " " in one pass from the left, as a plain replace loop.
std::string halved(std::string text)
{
    for (std::size_t at = text.find("  "); at != std::string::npos; at = text.find("  ", at + 1))
        text.replace(at, 2, " ");
    return text;
}

// The on-demand read done the plain way: the whole text halved and cut at every "\n", the
// limiter capped at the number of pieces, the last pieces read in order. Two decided
// departures: a line that is not UTF-8 is skipped alone, and so is one beyond the bound.
Reading wholeFileReading(const std::string& text, std::int64_t limiter, const ServiceImages& services)
{
    const std::vector<std::string> raw = rovex::test::piecesOf(text);
    const std::vector<std::string> normal = rovex::test::piecesOf(halved(text));
    const auto n = static_cast<std::int64_t>(raw.size());
    Reading reading;
    reading.limiter = limiter >= n ? n : limiter;
    for (std::int64_t i = n - std::max<std::int64_t>(reading.limiter, 0); i < n; ++i) {
        const std::string& line = raw[static_cast<std::size_t>(i)];
        if (line.size() > rovex::maxSimpleLogLineBytes)
            continue;
        if (!rovex::isValidUtf8(line)) {
            ++reading.invalidLines;
            continue;
        }
        auto row = readSimpleLogLine(line, rovex::SimpleLogRoad::OnDemand, services).row;
        if (row) {
            reading.rows.push_back(rowFields(*row));
            reading.rows.back()[0] = normal[static_cast<std::size_t>(i)]; // logString: the halved text's piece
        }
    }
    return reading;
}

} // namespace

TEST(SimpleLogTail, GivesWhatTheWholeFileReadingGives)
{
    const TempRoot folder;
    const ServiceImages services{{"22", "ssh"}, {"80", "http"}};
    std::mt19937 random(5);
    for (int round = 0; round < 200; ++round) {
        const std::string text = rovex::test::randomLog(random, true);
        const auto log = folder.path() / "pffirewall.log";
        writeFile(log, text);
        const auto n = static_cast<std::int64_t>(rovex::test::piecesOf(text).size());
        for (const std::int64_t limiter :
             {std::int64_t{0}, std::int64_t{1}, n - 1, n, n + 1, static_cast<std::int64_t>(1 + random() % 45),
              std::int64_t{500}, std::numeric_limits<std::int64_t>::max(), std::int64_t{-3}}) {
            std::string error;
            const auto tail = readSimpleLogTail(log, limiter, services, &error);
            ASSERT_TRUE(tail) << error;
            ASSERT_EQ(readingOf(*tail), wholeFileReading(text, limiter, services))
                << "round " << round << ", limiter " << limiter;
        }
    }
}

TEST(SimpleLogTail, LimiterFollowsTheNumberOfPieces)
{
    const TempRoot folder;
    std::string text;
    for (int i = 0; i < 10; ++i)
        text += "Dec  4 10:00:0" + std::to_string(i)
            + " mymac pf: 00:00:00.1 rule 1/0(match): block in on en0: "
              "10.0.0.5.4321 > 10.0.0.1.22: tcp\n";
    const auto log = folder.path() / "pffirewall.log";
    writeFile(log, text);

    // Ten lines and the empty piece after the last "\n".
    const auto all = readSimpleLogTail(log, 500, {});
    ASSERT_TRUE(all);
    EXPECT_EQ(all->limiter, 11);
    ASSERT_EQ(all->rows.size(), 10U);
    EXPECT_EQ(all->rows.front().logTime(), "10:00:00");
    EXPECT_EQ(all->rows.back().logTime(), "10:00:09");

    const auto lastTwo = readSimpleLogTail(log, 3, {});
    EXPECT_EQ(lastTwo->limiter, 3);
    ASSERT_EQ(lastTwo->rows.size(), 2U);
    EXPECT_EQ(lastTwo->rows.front().logTime(), "10:00:08");

    const auto none = readSimpleLogTail(log, 0, {});
    EXPECT_EQ(none->limiter, 0);
    EXPECT_TRUE(none->rows.empty());

    // An empty log is one empty piece.
    writeFile(log, "");
    EXPECT_EQ(readSimpleLogTail(log, 500, {})->limiter, 1);
}

TEST(SimpleLogTail, AMissingLogGivesNothingAndTheReason)
{
    const TempRoot folder;
    std::string error;
    EXPECT_FALSE(readSimpleLogTail(folder.path() / "var/log/pffirewall.log", 500, {}, &error));
    EXPECT_EQ(error, "No such file or directory");
    // Even a read of no line needs the log.
    EXPECT_FALSE(readSimpleLogTail(folder.path() / "var/log/pffirewall.log", 0, {}));
}
