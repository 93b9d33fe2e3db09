#include "CliRun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>

namespace fs = std::filesystem;

using rovex::test::Cli;
using rovex::test::Outcome;
using rovex::test::quoted;
using rovex::test::slurp;


TEST_F(Cli, OutputsMatchTheCheckedExpectations)
{
    const Outcome json = run("tables --root data/root --ignore-ip 203.0.113.99 --ignore-port 139 --json data/mixed.log");
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
    const Outcome top = run("tables --root data/root --ignore-ip 203.0.113.99 --ignore-port 139 --top 1 data/mixed.log");
    EXPECT_NE(top.out.find("PortBlockIn (4 rows)\n          3  22 "), std::string::npos) << top.out;
    EXPECT_NE(top.out.find("ssh\n  ... 3 more\nPortBlockOut (1 row)\n"), std::string::npos) << top.out;
    EXPECT_EQ(top.out.find("6001"), std::string::npos) << top.out;
    EXPECT_EQ(run("tables --root data/root --top 0 data/mixed.log").exitCode, 2);
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

    const fs::path out = scratch / "follow.json";
    const std::string command = quoted(ROVEX_LOGS) + " follow --root " + quoted(scratch.string()) + " --seconds 4 --json >"
        + quoted(out.string()) + " 2>/dev/null &";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));

    // Rotation: the old file goes, a new one comes and is read from its first byte; one
    // of its lines arrives in two writes and counts once.
    fs::remove(log);
    {
        std::ofstream fresh(log);
        fresh << header << "pass in on en0: 203.0.113.7.5 > 10.0.0.1.443: new\n" << header << "pass in on en0: 203.0." << std::flush;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        fresh << "113.7.6 > 10.0.0.1.443: second half\n" << std::flush;
        // A line that is not UTF-8 loses only itself.
        fresh << header << "pass in on en0: 203.0.113.9.7 > 10.0.0.1.443: \xff\n"
              << header << "pass in on en0: 203.0.113.8.7 > 10.0.0.1.443: after it\n";
        for (int i = 0; i < 1500; ++i)
            fresh << header << "pass in on en0: 198.51.100." << i % 200 << '.' << i << " > 10.0.0.1.443: n\n";
        fresh << std::flush;
    }
    for (int i = 0; i < 100 && slurp(out).find("notificationCount") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
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
