#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// A private root folder per test with the log folder in it, and the real bzip2 tools to
// write archives.
namespace rovex::test {

// A pf line of the usual layout: fields 8 to 14 as given, the header before them.
std::string pfLine(const std::string& action, const std::string& direction, const std::string& source,
                   const std::string& target);

class StatsRoot : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path logFolder() const { return root / "var/log"; }
    void writeLiveLog(const std::string& text) const;
    // Archive n written by the tool ("bzip2 -c" or "lbzip2 -1 -c") from the text.
    void writeArchive(int n, const std::string& text, const std::string& tool = "bzip2 -c") const;
    std::filesystem::path archivePath(int n) const;

    std::filesystem::path root;
};

} // namespace rovex::test
