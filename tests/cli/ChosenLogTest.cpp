// A log chosen with --log, of any layout, and its archives as logrotate names them.
#include "CliRun.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

using rovex::test::Cli;
using rovex::test::Outcome;
using rovex::test::quoted;

namespace {

// The same kind of packet in the three layouts: blocked inbound to port 22 from `source`.
std::string productLine(const std::string& source)
{
    return "Dec  4 10:15:02 mymac pf: 00:00:00.1 rule 1/0(match): block in on en0: " + source
        + ".40000 > 10.0.0.1.22: tcp 0\n";
}

std::string pflogLine(const std::string& source)
{
    return "2025-03-17T14:54:08+00:00 fw pf[22382] 00:00:05.679886 rule 1/0(match): block in on igb0: " + source
        + ".49282 > 10.0.0.1.22: Flags [S], seq 1, win 1024, length 0\n";
}

std::string filterlogLine(const std::string& source)
{
    return "<134>Mar 17 14:54:08 filterlog[1]: 5,,,1000000103,igb1,match,block,in,4,0x0,,64,12345,0,DF,6,tcp,60,"
        + source + ",10.0.0.1,40000,22,0,S,1,,64240,,mss\n";
}

void write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// Compressed by the real tool, as logrotate does.
void compress(const std::string& tool, const fs::path& path, const std::string& text)
{
    write(path.string() + ".text", text);
    const std::string command = tool + " -c " + quoted(path.string() + ".text") + " > " + quoted(path.string());
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    fs::remove(path.string() + ".text");
}

int occurrencesOf(const nlohmann::json& result, const std::string& address)
{
    for (const auto& entry : result["addresses"]) {
        if (entry["theAddress"] == address)
            return entry["theOccurrences"].get<int>();
    }
    return 0;
}

} // namespace

TEST_F(Cli, StatsReadAChosenLogsArchivesInEveryNamingAndEveryLayout)
{
    const fs::path log = scratch / "fw.log";
    write(log, productLine("198.51.100.1") + pflogLine("198.51.100.2") + filterlogLine("198.51.100.3"));
    compress("bzip2", scratch / "fw.log.1.bz2", filterlogLine("203.0.113.1") + filterlogLine("203.0.113.1"));
    compress("gzip", scratch / "fw.log.2.gz", pflogLine("203.0.113.2") + pflogLine("203.0.113.2"));
    write(scratch / "fw.log.3", productLine("203.0.113.3"));
    const std::string chosen = "stats --log " + quoted(log.string()) + " --files 4 --json";

    const nlohmann::json all = nlohmann::json::parse(run(chosen + " --layouts all").out);
    EXPECT_EQ(all["count"], 4);
    for (const auto& [address, count] : {std::pair{"198.51.100.2", 1},
                                         {"198.51.100.3", 1},
                                         {"203.0.113.1", 2},
                                         {"203.0.113.2", 2},
                                         {"203.0.113.3", 1}})
        EXPECT_EQ(occurrencesOf(all, address), count) << address;
    EXPECT_EQ(all["layouts"]["filterlog"], 3);
    EXPECT_EQ(all["layouts"]["pflog"], 3);

    // The product's reading sees its own lines only, and says nothing of layouts.
    const nlohmann::json product = nlohmann::json::parse(run(chosen).out);
    EXPECT_EQ(occurrencesOf(product, "198.51.100.1"), 1);
    EXPECT_EQ(occurrencesOf(product, "203.0.113.3"), 1);
    EXPECT_EQ(occurrencesOf(product, "203.0.113.1"), 0);
    EXPECT_FALSE(product.contains("layouts"));

    // Once a FILE.0 exists the numbering starts there: archive 0 is read, archive 3 no more.
    write(scratch / "fw.log.0", productLine("192.0.2.9"));
    const nlohmann::json fromZero = nlohmann::json::parse(run(chosen).out);
    EXPECT_EQ(occurrencesOf(fromZero, "192.0.2.9"), 1);
    EXPECT_EQ(occurrencesOf(fromZero, "203.0.113.3"), 0);

    // An archive that does not decode is named in the diagnostic by its own name.
    write(scratch / "fw.log.1.gz", "not gzip");
    fs::remove(scratch / "fw.log.1.bz2");
    const Outcome broken = run(chosen);
    EXPECT_EQ(broken.exitCode, 0);
    EXPECT_NE(broken.err.find("fw.log.1.gz: not valid gzip data, read as one empty line"), std::string::npos)
        << broken.err;
}

TEST_F(Cli, SimpleAndTablesReadAChosenLogOfAnyLayout)
{
    const fs::path log = scratch / "fw.log";
    const std::string filterlog = filterlogLine("198.51.100.3");
    write(log, productLine("198.51.100.1") + filterlog);

    const Outcome simple = run("simple --log " + quoted(log.string()) + " --layouts all --json");
    ASSERT_EQ(simple.exitCode, 0) << simple.err;
    const nlohmann::json rows = nlohmann::json::parse(simple.out)["rows"];
    ASSERT_EQ(rows.size(), 2U);
    // The row keeps the line as the log holds it, and reads its fields.
    EXPECT_EQ(rows[1]["logString"], filterlog.substr(0, filterlog.size() - 1));
    EXPECT_EQ(rows[1]["logFirstAddress"], "198.51.100.3");
    EXPECT_EQ(rows[1]["logSecondPort"], "22");
    EXPECT_EQ(rows[1]["logInterface"], "igb1");
    EXPECT_EQ(nlohmann::json::parse(run("simple --log " + quoted(log.string()) + " --json").out)["rows"].size(), 1U);
    EXPECT_EQ(run("simple --log " + quoted(log.string()) + " " + quoted(log.string())).exitCode, 2);

    // tables takes --log as one more input, and knows a gzip archive by its first bytes.
    compress("gzip", scratch / "old.gz", filterlog);
    const Outcome tables = run("tables --layouts all --log " + quoted((scratch / "old.gz").string()));
    ASSERT_EQ(tables.exitCode, 0) << tables.err;
    EXPECT_NE(tables.out.find("198.51.100.3"), std::string::npos) << tables.out;
    EXPECT_NE(tables.out.find("Layouts: 0 product, 0 pflog, 1 filterlog"), std::string::npos) << tables.out;
}
