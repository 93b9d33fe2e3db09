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

std::string line(const std::string& action, const std::string& direction, const std::string& source,
                 const std::string& target)
{
    return "Dec  4 10:15:02 mymac pf: 00:00:00.1 rule 1/0(match): " + action + " " + direction + " on en0: " + source
        + " > " + target + ": tcp 0\n";
}

std::string repeated(const std::string& text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

} // namespace

TEST_F(Cli, StatsReportsTheLeadingAddressesAndPortsOfTheLogAndItsArchives)
{
    const fs::path log = scratch / "var/log/pffirewall.log";
    fs::create_directories(log.parent_path());
    std::ofstream(log) << repeated(line("block", "in", "198.51.100.1.4000", "10.0.0.1.22"), 3)
                       << repeated(line("block", "in", "198.51.100.2.4000", "10.0.0.2.443"), 2)
                       << line("pass", "in", "198.51.100.3.4000", "10.0.0.1.22");
    const fs::path plain = scratch / "archived";
    std::ofstream(plain) << repeated(line("block", "in", "198.51.100.2.4000", "10.0.0.3.22"), 4);
    ASSERT_EQ(std::system(("bzip2 -c " + quoted(plain.string()) + " > " + quoted(log.string() + ".0.bz2")).c_str()), 0);

    // Archive 1 is not there: one empty line and one line on standard error.
    const Outcome json = run("stats --json --files 3 --limit 1 --port 22 --port-direction out --root "
                             + quoted(scratch.string()));
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(json.err, "rovex-logs: pffirewall.log.1.bz2: missing or not a regular file, read as one empty line\n");
    const nlohmann::json result = nlohmann::json::parse(json.out);
    EXPECT_EQ(result["missing"], false);
    EXPECT_EQ(result["count"], 2);
    EXPECT_EQ(result["lineCount"], 7 + 5 + 1);
    EXPECT_EQ(result["counted"], 10);
    EXPECT_EQ(result["selected"], 9);
    ASSERT_EQ(result["addresses"].size(), 1U);
    EXPECT_EQ(result["addresses"][0]["theAddress"], "198.51.100.2");
    EXPECT_EQ(result["addresses"][0]["maxOccurrences"], 6);
    EXPECT_EQ(result["addresses"][0]["rgb"], nlohmann::json::array({246, 34, 29}));
    EXPECT_EQ(result["ports"][0]["portText"], "22");
    EXPECT_EQ(result["ports"][0]["theOccurrences"], 7);
    EXPECT_EQ(result["portSlices"][0]["theRadius"], 90);
    EXPECT_EQ(result["boxes"], nlohmann::json({{"ipBox", true}, {"portBox", true}, {"dangerBox", false}}));
    const nlohmann::json& onPort = result["ipsForPort"];
    EXPECT_EQ(onPort["parserDirection"], "out");
    ASSERT_EQ(onPort["entries"].size(), 1U); // its limit follows --limit, its total does not
    EXPECT_EQ(onPort["entries"][0],
              nlohmann::json({{"theAddress", "10.0.0.3"}, {"theOccurrences", 4}, {"maxOccurrences", 7}}));

    const Outcome text = run("stats --root " + quoted(scratch.string()));
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_NE(text.out.find("198.51.100.1"), std::string::npos) << text.out;
    EXPECT_EQ(text.out.find("ipsForPort"), std::string::npos);

    const Outcome empty = run("stats --json --action pass --direction out --root " + quoted(scratch.string()));
    const nlohmann::json none = nlohmann::json::parse(empty.out);
    EXPECT_EQ(none["empty"], true);
    EXPECT_EQ(none["boxes"], nlohmann::json({{"ipBox", false}, {"portBox", false}, {"dangerBox", false}}));
    EXPECT_TRUE(none["addresses"].empty() && !none.contains("ipsForPort"));
}

TEST_F(Cli, StatsSaysWhenTheLiveLogIsMissing)
{
    fs::create_directories(scratch / "var/log");
    const Outcome json = run("stats --json --files 2 --root " + quoted(scratch.string()));
    EXPECT_EQ(json.exitCode, 1);
    EXPECT_EQ(nlohmann::json::parse(json.out), nlohmann::json({{"missing", true}, {"count", 0}}));
    EXPECT_EQ(json.err, "rovex-logs: no live log at " + (scratch / "var/log/pffirewall.log").string() + "\n");

    const Outcome text = run("stats --root " + quoted(scratch.string()));
    EXPECT_EQ(text.exitCode, 1);
    EXPECT_TRUE(text.out.empty());
}

TEST_F(Cli, StatsRefusesBadOptionsInOneLine)
{
    for (const std::string options : {"--files 0", "--files x", "--limit -1", "--action drop", "--direction up",
                                      "--port 22 --port-limit 0", "--port-direction in", "extra"}) {
        const Outcome bad = run("stats --root " + quoted(scratch.string()) + " " + options);
        EXPECT_EQ(bad.exitCode, 2) << options;
        EXPECT_EQ(std::count(bad.err.begin(), bad.err.end(), '\n'), 1) << bad.err;
    }
}
