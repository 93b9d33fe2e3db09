#include "SimTestSupport.h"
#include "SimpleLogTestSupport.h"
#include "simplelog/LogTailFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <optional>

using rovex::LogTailFile;
using rovex::simtest::TempRoot;
using rovex::simtest::writeFile;
using rovex::test::piecesOf;

namespace {

using Pieces = std::vector<std::optional<std::string>>;

Pieces readPieces(LogTailFile& file, std::uint64_t offset, std::size_t maxPieceBytes)
{
    Pieces pieces;
    const bool read = file.forEachPiece(offset, maxPieceBytes, [&pieces](std::optional<std::string_view> piece) {
        pieces.push_back(piece ? std::optional<std::string>(*piece) : std::nullopt);
    });
    EXPECT_TRUE(read) << file.failure();
    return pieces;
}

} // namespace

TEST(SimpleLogTailFile, FindsTheLastPiecesWhateverTheBlockSize)
{
    // Tiny blocks put line breaks, long pieces and the bound on every block edge.
    const TempRoot folder;
    std::mt19937 random(11);
    for (int round = 0; round < 100; ++round) {
        const std::size_t maxPieceBytes = round % 2 == 0 ? 40 : 1000;
        const std::string text = rovex::test::randomLog(random, false);
        const auto log = folder.path() / "log";
        writeFile(log, text);
        const std::vector<std::string> all = piecesOf(text);
        const std::uint64_t n = all.size();
        for (const std::uint64_t wanted : {std::uint64_t{1}, n - 1, n, n + 1, 1 + random() % (n + 2)}) {
            if (wanted == 0)
                continue;
            for (const std::size_t block : {1UL, 3UL, 7UL, 64UL, 4096UL}) {
                LogTailFile file(log, block);
                ASSERT_TRUE(file.isOpen()) << file.failure();
                const auto tail = file.findLastPieces(wanted);
                ASSERT_TRUE(tail) << file.failure();
                const std::uint64_t pieces = std::min(wanted, n);
                ASSERT_EQ(tail->pieces, pieces) << "round " << round << " wanted " << wanted << " block " << block;
                EXPECT_EQ(tail->wholeFile, wanted >= n);
                Pieces expected;
                for (auto piece = all.end() - static_cast<std::ptrdiff_t>(pieces); piece != all.end(); ++piece)
                    expected.push_back(piece->size() > maxPieceBytes ? std::nullopt : std::optional(*piece));
                ASSERT_EQ(readPieces(file, tail->offset, maxPieceBytes), expected)
                    << "round " << round << " wanted " << wanted << " block " << block;
            }
        }
    }
}

TEST(SimpleLogTailFile, ReadsTheLogAsItWasAtTheOpen)
{
    const TempRoot folder;
    const auto log = folder.path() / "log";
    writeFile(log, "one\ntwo\nthree");
    LogTailFile file(log, 4);
    std::ofstream(log, std::ios::app) << " continued\nfour\n";
    const auto tail = file.findLastPieces(2);
    ASSERT_TRUE(tail);
    EXPECT_EQ(readPieces(file, tail->offset, 100), (Pieces{"two", "three"}));

    // A log cut short under the read is a failed read, not a shorter tail.
    LogTailFile cut(log, 4);
    std::filesystem::resize_file(log, 3);
    EXPECT_FALSE(cut.findLastPieces(2));
    EXPECT_EQ(cut.failure(), "it became shorter while it was read");
}

TEST(SimpleLogTailFile, RefusesWhatIsNotARegularFileWithTheReason)
{
    const TempRoot folder;
    const LogTailFile missing(folder.path() / "missing.log");
    EXPECT_FALSE(missing.isOpen());
    EXPECT_EQ(missing.failure(), "No such file or directory");
    EXPECT_EQ(LogTailFile(folder.path()).failure(), "it is a folder");
    // A FIFO without a writer would block an ordinary open.
    const auto fifo = folder.path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(LogTailFile(fifo).failure(), "it is not a regular file");
}
