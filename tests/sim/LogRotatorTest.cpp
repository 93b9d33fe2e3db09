#include "sim/LogLineGenerator.h"
#include "sim/LogRotator.h"

#include "SimTestSupport.h"
#include "firewall/FixedPaths.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <stdexcept>

namespace rovex {
namespace {

namespace fs = std::filesystem;
using simtest::bunzip;
using simtest::readFile;
using simtest::TempRoot;
using simtest::writeFile;

TEST(LogRotator, ShiftsArchivesAndRecreatesTheLog)
{
    const TempRoot root;
    const fs::path log = paths::underRoot(root.path(), paths::pfLog);
    const LogRotator rotator(root.path(), 2);
    // Several megabytes: more than one read chunk and more than one bzip2 block.
    LogLineGenerator generator(3, 5000);
    std::string first;
    while (first.size() < 3'500'000) {
        generator.appendLine(first);
        first.push_back('\n');
    }
    writeFile(log, first);
    const int oldLog = open(log.c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(oldLog, 0);
    rotator.rotate();
    EXPECT_TRUE(bunzip(paths::archive(root.path(), 0), root.path()) == first);
    // Deleted and created again, not emptied in place: a writer still holding the old
    // file no longer reaches the log.
    EXPECT_EQ(write(oldLog, "late\n", 5), 5);
    close(oldLog);
    EXPECT_TRUE(fs::exists(log));
    EXPECT_EQ(fs::file_size(log), 0u);

    writeFile(log, "second\n");
    rotator.rotate();
    writeFile(log, "third\n");
    rotator.rotate();
    EXPECT_EQ(bunzip(paths::archive(root.path(), 0), root.path()), "third\n");
    EXPECT_EQ(bunzip(paths::archive(root.path(), 1), root.path()), "second\n");
    EXPECT_FALSE(fs::exists(paths::archive(root.path(), 2)));
    EXPECT_EQ(fs::file_size(log), 0u);
    // Nothing else is left in the folder: no temporary file of a compression.
    EXPECT_EQ(std::distance(fs::directory_iterator(log.parent_path()), fs::directory_iterator()), 3);

    // Without archives the log only starts anew; those already there stay as they are.
    writeFile(log, "dropped\n");
    LogRotator(root.path(), 0).rotate();
    EXPECT_EQ(fs::file_size(log), 0u);
    EXPECT_EQ(bunzip(paths::archive(root.path(), 0), root.path()), "third\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(log.parent_path()), fs::directory_iterator()), 3);
}

TEST(LogRotator, FailedCompressionKeepsTheArchives)
{
    const TempRoot root;
    const fs::path log = paths::underRoot(root.path(), paths::pfLog);
    writeFile(log, "older\n");
    const LogRotator rotator(root.path(), 3);
    rotator.rotate();
    // A log that cannot be read: its lines must not cost the archives already there.
    fs::remove(log);
    fs::create_directory(log);
    EXPECT_ANY_THROW(rotator.rotate());
    EXPECT_EQ(bunzip(paths::archive(root.path(), 0), root.path()), "older\n");
    EXPECT_FALSE(fs::exists(paths::archive(root.path(), 1)));
    EXPECT_EQ(std::distance(fs::directory_iterator(log.parent_path()), fs::directory_iterator()), 2);
}

} // namespace
} // namespace rovex
