#include "StatsRoot.h"
#include "stats/LogEntryCount.h"
#include "stats/StatsRun.h"
#include "stats/StatsTally.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>

using rovex::StatsQuery;
using rovex::StatsResult;
using rovex::test::pfLine;
using rovex::test::StatsRoot;

namespace fs = std::filesystem;

namespace {

std::string lines(const std::string& address, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += pfLine("block", "in", address + ".40000", "10.0.0.1.22") + "\n";
    return text;
}

std::int64_t countOf(const StatsResult& result, const std::string& address)
{
    for (const auto& entry : result.addresses) {
        if (entry.theAddress == address)
            return entry.theOccurrences;
    }
    return 0;
}

} // namespace

TEST_F(StatsRoot, ReadsTheLiveLogThenTheArchivesAndOnlyAsManyAsAsked)
{
    writeLiveLog(lines("198.51.100.1", 3)); // its final "\n" gives one empty line
    writeArchive(0, lines("198.51.100.2", 2));
    writeArchive(1, lines("198.51.100.3", 1) + "no newline at the end");

    const StatsResult one = rovex::runStatistics(rovex::LogArchives::productLog(root), 1, StatsQuery{});
    EXPECT_EQ(one.lineCount, 4);
    EXPECT_EQ(one.counted, 3);
    EXPECT_EQ(countOf(one, "198.51.100.2"), 0);

    const StatsResult all = rovex::runStatistics(rovex::LogArchives::productLog(root), 3, StatsQuery{});
    EXPECT_EQ(all.lineCount, 4 + 3 + 2);
    EXPECT_EQ(all.counted, 3 + 2 + 2);
    EXPECT_EQ(all.selected, 6);
    EXPECT_EQ(countOf(all, "198.51.100.3"), 1);
    EXPECT_TRUE(all.diagnostics.empty());
}

TEST_F(StatsRoot, ReadsMultiStreamArchivesToTheirEnd)
{
    writeLiveLog("");
    // lbzip2 at level 1 cuts this into several blocks; two bzip2 outputs one after the
    // other are two streams.
    std::string big;
    for (int i = 0; i < 4000; ++i)
        big += pfLine("block", "in", "198.51.100." + std::to_string(i % 200) + ".40000", "10.0.0.1.22") + "\n";
    writeArchive(0, big, "lbzip2 -1 -c");
    writeArchive(1, lines("198.51.100.201", 5));
    writeArchive(2, lines("198.51.100.202", 7));
    {
        std::ofstream joined(archivePath(1), std::ios::binary | std::ios::app);
        std::ifstream second(archivePath(2), std::ios::binary);
        joined << second.rdbuf();
    }
    StatsQuery query;
    query.limit = 1000;
    const StatsResult result = rovex::runStatistics(rovex::LogArchives::productLog(root), 3, query);
    EXPECT_TRUE(result.diagnostics.empty());
    EXPECT_EQ(result.selected, 4000 + 5 + 7);
    EXPECT_EQ(countOf(result, "198.51.100.202"), 7);
    EXPECT_EQ(countOf(result, "198.51.100.0"), 20);
    // One empty live line and one final empty line per archive; the joined archive's first
    // stream ends with "\n", so the second stream's first line starts afresh.
    EXPECT_EQ(result.lineCount, 1 + 4001 + 13);
}

TEST_F(StatsRoot, AnArchiveThatDoesNotDecodeFullyIsOneEmptyLineAndOneDiagnostic)
{
    writeLiveLog(lines("198.51.100.1", 1));
    std::string big;
    for (int i = 0; i < 3000; ++i)
        big += pfLine("block", "in", "198.51.100." + std::to_string(i % 250) + ".40000", "10.0.0.1.22") + "\n";
    writeArchive(0, big);
    fs::resize_file(archivePath(0), fs::file_size(archivePath(0)) - 20); // truncated
    std::ofstream(archivePath(1), std::ios::binary) << "BZh9 not really";
    // 2 is missing, 3 is a FIFO, 4 a folder.
    ASSERT_EQ(::mkfifo(archivePath(3).c_str(), 0600), 0);
    fs::create_directory(archivePath(4));
    writeArchive(5, lines("198.51.100.6", 2));

    const StatsResult result = rovex::runStatistics(rovex::LogArchives::productLog(root), 7, StatsQuery{});
    EXPECT_EQ(result.selected, 1 + 2);
    EXPECT_EQ(result.lineCount, 2 + 5 + 3);
    ASSERT_EQ(result.diagnostics.size(), 5U);
    EXPECT_EQ(result.diagnostics[0].rfind("pffirewall.log.0.bz2: ", 0), 0U) << result.diagnostics[0];
    EXPECT_EQ(result.diagnostics[3].rfind("pffirewall.log.3.bz2: ", 0), 0U) << result.diagnostics[3];
}

TEST_F(StatsRoot, WithoutARegularLiveLogNothingIsRead)
{
    writeArchive(0, lines("198.51.100.2", 2));
    StatsResult result = rovex::runStatistics(rovex::LogArchives::productLog(root), 2, StatsQuery{});
    EXPECT_TRUE(result.missing);
    EXPECT_EQ(result.lineCount, 0);
    EXPECT_TRUE(result.diagnostics.empty());
    EXPECT_TRUE(result.boxes.ipBox && result.boxes.portBox && result.boxes.dangerBox);

    ASSERT_EQ(::mkfifo((logFolder() / "pffirewall.log").c_str(), 0600), 0);
    result = rovex::runStatistics(rovex::LogArchives::productLog(root), 2, StatsQuery{});
    EXPECT_TRUE(result.missing);
}

TEST_F(StatsRoot, InvalidTextSpoilsOnlyItsOwnLine)
{
    writeLiveLog(lines("198.51.100.1", 1) + pfLine("block", "in", "198.51.100.\xff.1", "10.0.0.1.22") + "\n"
                 + std::string(3 << 20, 'x') + "\n" + lines("198.51.100.2", 1));
    writeArchive(0, "\xc3\x28\n" + lines("198.51.100.3", 1));
    const StatsResult result = rovex::runStatistics(rovex::LogArchives::productLog(root), 2, StatsQuery{});
    EXPECT_EQ(result.selected, 3);
    EXPECT_EQ(result.lineCount, 5 + 3);
    EXPECT_EQ(result.counted, 3);
}

TEST_F(StatsRoot, CountsTheLogEntriesOfTheFolderWithoutFollowingLinks)
{
    EXPECT_EQ(rovex::countLogEntries(root / "nowhere"), 0);
    writeLiveLog("");
    for (int n = 0; n < 5; ++n)
        std::ofstream(archivePath(n)) << "";
    std::ofstream(logFolder() / "other.log") << "";
    fs::create_directories(logFolder() / "old");
    std::ofstream(logFolder() / "old/pffirewall.log.9.bz2") << "";
    fs::create_directory_symlink(logFolder() / "old", logFolder() / "linked");
    EXPECT_EQ(rovex::countLogEntries(root), 7);

    fs::create_directories(logFolder() / "closed");
    std::ofstream(logFolder() / "closed/pffirewall.log.8.bz2") << "";
    fs::permissions(logFolder() / "closed", fs::perms::none);
    const std::int64_t withClosed = rovex::countLogEntries(root);
    fs::permissions(logFolder() / "closed", fs::perms::owner_all);
    // Root may read the closed folder anyway; a user may not, and the walk goes on.
    EXPECT_TRUE(withClosed == 7 || withClosed == 8) << withClosed;
}

// A window shows the lines read while the run goes on: the counter follows every task
// (ranges of the live log on both threads, and archives) in whole steps, never past the end.
TEST_F(StatsRoot, ReportsTheLinesReadWhileItRuns)
{
    const int step = static_cast<int>(rovex::StatsTally::reportEvery);
    writeLiveLog(lines("198.51.100.1", 2 * step));
    writeArchive(0, lines("198.51.100.2", step));
    std::atomic<std::int64_t> linesRead{0};
    rovex::StatsRunOptions options;
    options.linesRead = &linesRead;
    options.minimumRangeBytes = 1 << 16; // the live log split over the two threads
    const StatsResult result = rovex::runStatistics(rovex::LogArchives::productLog(root), 2, StatsQuery{}, options);
    EXPECT_EQ(linesRead.load() % step, 0);
    EXPECT_GE(linesRead.load(), 2 * step);
    EXPECT_LE(linesRead.load(), result.lineCount);
}
