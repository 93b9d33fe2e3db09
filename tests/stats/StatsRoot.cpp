#include "StatsRoot.h"

#include <cstdlib>
#include <fstream>

#include <unistd.h>

namespace rovex::test {

std::string pfLine(const std::string& action, const std::string& direction, const std::string& source,
                   const std::string& target)
{
    return "Dec  4 10:15:02 mymac pf: 00:00:00.1 rule 1/0(match): " + action + " " + direction + " on en0: " + source
        + " > " + target + ": tcp 0";
}

void StatsRoot::SetUp()
{
    root = std::filesystem::temp_directory_path()
        / ("rovex-stats-" + std::to_string(::getpid()) + "-"
           + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(logFolder());
}

void StatsRoot::TearDown() { std::filesystem::remove_all(root); }

void StatsRoot::writeLiveLog(const std::string& text) const
{
    std::ofstream(logFolder() / "pffirewall.log", std::ios::binary) << text;
}

std::filesystem::path StatsRoot::archivePath(int n) const
{
    return logFolder() / ("pffirewall.log." + std::to_string(n) + ".bz2");
}

void StatsRoot::writeArchive(int n, const std::string& text, const std::string& tool) const
{
    const std::filesystem::path plain = root / ("plain-" + std::to_string(n));
    std::ofstream(plain, std::ios::binary) << text;
    const std::string command = tool + " '" + plain.string() + "' > '" + archivePath(n).string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::filesystem::remove(plain);
}

} // namespace rovex::test
