#include "CliRun.h"
#include "FileEvents.h"
#include "PlainPfReading.h"
#include "SpawnedProcess.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <sys/inotify.h>

namespace fs = std::filesystem;

using rovex::test::Cli;
using rovex::test::FileEvents;
using rovex::test::Outcome;
using rovex::test::PlainRows;
using rovex::test::plainTables;
using rovex::test::quoted;
using rovex::test::slurp;
using rovex::test::SpawnedProcess;

TEST_F(Cli, OutputsMatchTheCheckedExpectations)
{
    const Outcome json = run(
        "tables --root data/root --ignore-ip 203.0.113.99 --ignore-port 139 --json data/mixed.log");
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_EQ(json.out, slurp(dataFolder() / "expected/tables.json"));

    Outcome text = run("tables --root data/root --ignore-ip 203.0.113.99 --ignore-port 139 data/mixed.log");
    text.out = std::regex_replace(text.out, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)"), "YYYY-MM-DD hh:mm:ss");
    EXPECT_EQ(text.out, slurp(dataFolder() / "expected/tables.txt"));

    const Outcome country = run("country --root data/root --json 203.0.113.7 198.51.100.9 198.51.100.200 192.0.2.5 "
                                "10.0.0.1 fe80::1 not-an-address");
    EXPECT_EQ(country.out, slurp(dataFolder() / "expected/country.json"));
    // The database's progress lines stay off the JSON.
    EXPECT_EQ(country.err, "READING ROVEX COUNTRY DATABASE\nimported 3 nations\n");

    EXPECT_EQ(run("services --root data/root").out, slurp(dataFolder() / "expected/services.json"));

    // --top keeps the first rows of each table and says how many more there are.
    const Outcome top = run(
        "tables --root data/root --ignore-ip 203.0.113.99 --ignore-port 139 --top 1 data/mixed.log");
    EXPECT_NE(top.out.find("PortBlockIn (4 rows)\n          3  22 "), std::string::npos) << top.out;
    EXPECT_NE(top.out.find("ssh\n  ... 3 more\nPortBlockOut (1 row)\n"), std::string::npos) << top.out;
    EXPECT_EQ(top.out.find("6001"), std::string::npos) << top.out;
    EXPECT_EQ(run("tables --root data/root --top 0 data/mixed.log").exitCode, 2);
}

TEST_F(Cli, TablesAgreeWithAPlainReadingOfTheLog)
{
    const auto expected = plainTables(slurp(dataFolder() / "data/mixed.log"), {"203.0.113.99", "139"});
    ASSERT_EQ(expected.size(), 8U); // the test log reaches every table
    // The checked-in expected file holds the same output (the snapshot case above).
    const Outcome out = run("tables --root data/root --ignore-ip 203.0.113.99 --ignore-port 139 --json data/mixed.log");
    const nlohmann::json json = nlohmann::json::parse(out.out);
    const auto& tables = json.at("tables");
    ASSERT_EQ(tables.size(), 8U);
    for (const auto& [table, rows] : tables.items()) {
        PlainRows seen;
        for (const auto& row : rows)
            seen.emplace_back(row.at("name"), row.at("count"));
        EXPECT_EQ(seen, expected.at(table)) << table;
    }
}

// An IPv4 address as a number; nothing for any other text.
std::optional<std::uint32_t> ipv4(const std::string& text)
{
    std::uint32_t value = 0;
    int parts = 0;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, '.'); ++parts) {
        if (part.empty() || part.size() > 3 || part.find_first_not_of("0123456789") != std::string::npos
            || std::stoul(part) > 255)
            return std::nullopt;
        value = value << 8 | static_cast<std::uint32_t>(std::stoul(part));
    }
    return parts == 4 ? std::optional(value) : std::nullopt;
}

TEST_F(Cli, CountriesAgreeWithAPlainReadingOfTheZoneFiles)
{
    // code -> blocks (base, prefix length), read from the "xx-aggregated.zone" files
    std::map<std::string, std::vector<std::pair<std::uint32_t, int>>> zones;
    for (const auto& file :
         fs::directory_iterator(dataFolder() / "data/root/Library/Application Support/Rovex/Nations/aggregated")) {
        std::istringstream lines(slurp(file.path()));
        for (std::string line; std::getline(lines, line);) {
            const std::size_t slash = line.find('/');
            zones[file.path().filename().string().substr(0, 2)].emplace_back(*ipv4(line.substr(0, slash)),
                                                                             std::stoi(line.substr(slash + 1)));
        }
    }
    ASSERT_EQ(zones.size(), 3U);
    const Outcome out = run("country --root data/root --json 203.0.113.7 198.51.100.9 198.51.100.200 192.0.2.5 "
                            "10.0.0.1 fe80::1 not-an-address");
    const nlohmann::json rows = nlohmann::json::parse(out.out);
    ASSERT_EQ(rows.size(), 7U);
    for (const auto& row : rows) {
        // Where blocks of several codes hold the address, the last code in ascending order.
        std::string expected;
        const auto address = ipv4(row.at("address"));
        for (const auto& [code, blocks] : zones)
            for (const auto& [base, bits] : blocks)
                if (address && (bits == 0 || ((*address ^ base) >> (32 - bits)) == 0))
                    expected = code;
        EXPECT_EQ(row.at("country"), expected) << row.at("address");
    }
}

TEST_F(Cli, StandardInputAndSeveralFilesReadAsSeparateLogs)
{
    // Each file's last line stands alone, even without "\n": concatenating two files must
    // not glue the first one's last line to the second one's first.
    const std::string line = "Dec  4 10:15:01 mymac pf: 00:00:00.1 rule 1/0(match): block in on en0: "
                             "203.0.113.7.1 > 10.0.0.1.22: Flags [S]";
    std::ofstream(scratch / "a.log") << line;
    std::ofstream(scratch / "b.log") << line << '\n';
    const Outcome files = run("tables --root data/root --json " + quoted((scratch / "a.log").string()) + " "
                              + quoted((scratch / "b.log").string()));
    EXPECT_NE(files.out.find(R"("name": "22",
        "count": 2)"),
              std::string::npos)
        << files.out;

    const Outcome piped = run("tables --root data/root --json", (scratch / "b.log").string());
    EXPECT_NE(piped.out.find(R"("203.0.113.7": 1)"), std::string::npos) << piped.out;
}

TEST_F(Cli, RotatedArchivesGivenAsFilesAreDecodedInProcess)
{
    const std::string archive = (scratch / "pffirewall.log.0.bz2").string();
    const std::string log = (dataFolder() / "data/mixed.log").string();
    ASSERT_EQ(std::system(("bzip2 -c " + quoted(log) + " > " + quoted(archive)).c_str()), 0);
    const Outcome plain = run("tables --root data/root --json data/mixed.log");
    const Outcome decoded = run("tables --root data/root --json " + quoted(archive));
    ASSERT_EQ(decoded.exitCode, 0) << decoded.err;
    EXPECT_EQ(decoded.out, plain.out);

    // A damaged archive fails as a whole, in one line, instead of counting as text.
    const std::string whole = slurp(archive);
    std::ofstream(scratch / "cut.bz2", std::ios::binary) << whole.substr(0, whole.size() / 2);
    const Outcome cut = run("tables --root data/root " + quoted((scratch / "cut.bz2").string()));
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_TRUE(
        cut.err.ends_with("\nrovex-logs: cannot read " + (scratch / "cut.bz2").string() + ": unexpected end of file\n"))
        << cut.err;
    EXPECT_EQ(cut.out, "");
}

TEST_F(Cli, LayoutsAllReadsPflogTextAndFilterlogBesideTheProductsLines)
{
    std::ofstream(scratch / "mixed.log")
        << "Dec  4 10:15:01 mymac pf: 00:00:00.1 rule 1/0(match): block in on en0: 203.0.113.7.1 > 10.0.0.1.22: "
           "Flags [S]\n"
        << "2025-03-17T14:54:08+00:00 fw pf[22382] 00:00:05.679886 rule 1/0(match): block in on igb0: "
           "147.185.132.40.49282 > 70.35.182.103.5984: Flags [S], seq 1, win 1024, length 0\n"
        << "<134>Mar 17 14:54:08 filterlog[1]: 5,,,1000000103,igb1,match,block,in,4,0x0,,64,12345,0,DF,6,tcp,60,"
           "198.51.100.9,192.168.1.1,40000,443,0,S,1,,64240,,mss\n"
        << "not a firewall line at all\n";
    const std::string file = quoted((scratch / "mixed.log").string());
    // The runs may straddle a second: rows are compared without their first-seen time.
    const auto withoutTimes = [](const std::string& text) {
        return std::regex_replace(text, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)"), "TIME");
    };
    const Outcome product = run("tables --root data/root " + file);
    EXPECT_EQ(withoutTimes(product.out), withoutTimes(run("tables --root data/root --layouts product " + file).out));
    EXPECT_EQ(product.out.find("Layouts:"), std::string::npos) << "the product's output stays as it was";

    const Outcome all = run("tables --root data/root --layouts all " + file);
    ASSERT_EQ(all.exitCode, 0) << all.err;
    for (const char* row : {"203.0.113.7", "147.185.132.40", "198.51.100.9", "5984", "443"})
        EXPECT_NE(all.out.find(row), std::string::npos) << row << "\n" << all.out;
    EXPECT_NE(all.out.find("Layouts: 1 product, 1 pflog, 1 filterlog, 1 unread\n"), std::string::npos) << all.out;

    EXPECT_EQ(run("tables --layouts most " + file).exitCode, 2);
}

TEST_F(Cli, BadInputIsOneClearLineAndAFailingExit)
{
    const Outcome unknown = run("tables --colour data/mixed.log");
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.err, "rovex-logs: unknown option --colour (see rovex-logs --help)\n");

    const Outcome noRoot = run("tables --root /nonexistent/root data/mixed.log");
    EXPECT_EQ(noRoot.exitCode, 1);
    EXPECT_EQ(noRoot.err, "rovex-logs: root folder /nonexistent/root does not exist\n");

    const Outcome unreadable = run("tables --root data/root data/no-such.log");
    EXPECT_EQ(unreadable.exitCode, 1);
    EXPECT_EQ(unreadable.err, "rovex-logs: cannot read data/no-such.log: No such file or directory\n");
    EXPECT_EQ(unreadable.out, ""); // nothing half-printed

    EXPECT_EQ(run("country --root data/root").exitCode, 2);
    EXPECT_EQ(run("frobnicate").exitCode, 2);
    EXPECT_EQ(run("follow --root data/root --seconds soon").exitCode, 2);
}

TEST_F(Cli, FollowCountsOnlyWhatTheLogGainsWhileFollowed)
{
    const fs::path log = scratch / "var/log/pffirewall.log";
    fs::create_directories(log.parent_path());
    const std::string header = "Dec  4 10:15:01 mymac pf: 00:00:00.1 rule 1/0(match): ";
    std::ofstream(log) << header << "block in on en0: 192.0.2.1.1 > 10.0.0.1.23: old traffic\n";
    // The library watches passed traffic to 443: more notifications than follow keeps.
    fs::copy(dataFolder() / "data/root/Library", scratch / "Library", fs::copy_options::recursive);

    // Each step waits for the follower's own file events, not for time: its opening the
    // log, its reading, its taking up the next file. --seconds is only a safety net; the
    // test stops it.
    FileEvents events;
    ASSERT_TRUE(events.watch(log, IN_OPEN));
    const fs::path out = scratch / "follow.json";
    SpawnedProcess follow({ROVEX_LOGS, "follow", "--root", scratch.string(), "--seconds", "600", "--json"}, out,
                          scratch / "follow.err");
    // Opened and placed at its end: the old line is not new traffic.
    ASSERT_TRUE(events.next(IN_OPEN)) << slurp(scratch / "follow.err");

    // Rotation: the old file goes, a new one comes and is read from its first byte; one
    // of its lines arrives in two writes, the second after the first was read, and counts once.
    fs::remove(log);
    {
        std::ofstream fresh(log);
        ASSERT_TRUE(events.watch(log, IN_ACCESS));
        fresh << header << "pass in on en0: 203.0.113.7.5 > 10.0.0.1.443: new\n"
              << header << "pass in on en0: 203.0." << std::flush;
        ASSERT_TRUE(events.next(IN_ACCESS));
        fresh << "113.7.6 > 10.0.0.1.443: second half\n" << std::flush;
        // A line that is not UTF-8 loses only itself.
        fresh << header << "pass in on en0: 203.0.113.9.7 > 10.0.0.1.443: \xff\n"
              << header << "pass in on en0: 203.0.113.8.7 > 10.0.0.1.443: after it\n";
        for (int i = 0; i < 1500; ++i)
            fresh << header << "pass in on en0: 198.51.100." << i % 200 << '.' << i << " > 10.0.0.1.443: n\n";
    }
    // One more rotation: the follower leaves a file only once it has read it to its end,
    // so when it opens the next one, everything above has been counted.
    const fs::path next = log.parent_path() / "next";
    std::ofstream(next).close();
    ASSERT_TRUE(events.watch(next, IN_OPEN));
    fs::rename(next, log);
    ASSERT_TRUE(events.next(IN_OPEN));
    EXPECT_EQ(follow.stop(SIGTERM), 0) << slurp(scratch / "follow.err");

    const std::string result = slurp(out);
    EXPECT_NE(result.find(R"("203.0.113.7": 2)"), std::string::npos) << result;
    EXPECT_NE(result.find(R"("203.0.113.8": 1)"), std::string::npos) << result;
    EXPECT_EQ(result.find("203.0.113.9"), std::string::npos) << result;
    EXPECT_EQ(result.find("192.0.2.1"), std::string::npos) << result;
    EXPECT_EQ(result.find("\"23\""), std::string::npos) << result;

    // The last 1,000 notifications are kept, and the count of all.
    const auto json = nlohmann::json::parse(result, nullptr, false);
    ASSERT_FALSE(json.is_discarded()) << result;
    EXPECT_EQ(json["notificationCount"], 1503);
    ASSERT_EQ(json["notifications"].size(), 1000U);
    EXPECT_EQ(json["notifications"][0]["subtitle"], "198.51.100.100 port 443");
    EXPECT_EQ(json["notifications"][999]["subtitle"], "198.51.100.99 port 443");
}
