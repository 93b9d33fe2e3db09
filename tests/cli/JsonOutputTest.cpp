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
using rovex::test::slurp;

namespace {

using Json = nlohmann::json;

const std::string replacement = "\xEF\xBF\xBD";

// A name that needs every kind of JSON escape, and names whose "x" becomes a byte that is
// not UTF-8 once the list is written.
constexpr const char* library = R"PY([
    {"rovexClassName": "RXService", "serviceName": "Say \"hi\" \\ to\ttab\nand line",
     "serviceImage": "badximage", "servicePorts": "22",
     "serviceNotifyInbound": False, "serviceNotifyInboundBlock": True},
    {"rovexClassName": "RXService", "serviceName": "BADxNAME", "serviceImage": "web",
     "servicePorts": "80", "serviceNotifyInbound": True, "serviceNotifyInboundBlock": False},
])PY";

const std::string quotedName = "Say \"hi\" \\ to\ttab\nand line";

const std::string header = "Dec  4 10:15:01 mymac pf: 00:00:00.1 rule 1/0(match): ";

} // namespace

class CliJsonOutput : public Cli, public ::testing::WithParamInterface<const char*> {
protected:
    // The library file of a root in the scratch folder, written by python's plistlib in the
    // format given, then with each "x" of the names turned into the byte 0xFF.
    fs::path writeRoot(const std::string& format)
    {
        const fs::path root = scratch / "root";
        const fs::path plist = root / "Library/Preferences/rovexid.rovexlibrary.plist";
        fs::create_directories(plist.parent_path());
        std::ofstream(scratch / "write.py")
            << "import plistlib, sys\n"
            << "data = plistlib.dumps(" << library << ", fmt=plistlib." << format << ")\n"
            << "data = data.replace(b'badximage', b'bad\\xffimage').replace(b'BADxNAME', b'BAD\\xffNAME')\n"
            << "open(sys.argv[1], 'wb').write(data)\n";
        const std::string command = "python3 -I " + quoted((scratch / "write.py").string()) + " "
            + quoted(plist.string());
        EXPECT_EQ(std::system(command.c_str()), 0);
        return root;
    }
};

INSTANTIATE_TEST_SUITE_P(Formats, CliJsonOutput, ::testing::Values("FMT_XML", "FMT_BINARY"));

TEST_P(CliJsonOutput, ServicesEscapeNamesAndReplaceBytesThatAreNotUtf8)
{
    const fs::path root = writeRoot(GetParam());
    const Outcome services = run("services --root " + quoted(root.string()));
    ASSERT_EQ(services.exitCode, 0) << services.err;
    const Json json = Json::parse(services.out);
    EXPECT_EQ(json["allServices"], Json::parse(R"({"22": "bad)" + replacement + R"(image", "80": "web"})"));
    ASSERT_EQ(json["notifyBlock"].size(), 1U) << services.out;
    EXPECT_EQ(json["notifyBlock"][0]["serviceName"], quotedName);
    EXPECT_EQ(json["notifyBlock"][0]["serviceImage"], "bad" + replacement + "image");
    ASSERT_EQ(json["notify"].size(), 1U) << services.out;
    EXPECT_EQ(json["notify"][0]["serviceName"], "BAD" + replacement + "NAME");
}

TEST_P(CliJsonOutput, TablesCarryTheLibrarysOddNamesIntoRowsAndNotifications)
{
    const fs::path root = writeRoot(GetParam());
    std::ofstream(scratch / "in.log") << header << "block in on en0: 203.0.113.7.1 > 10.0.0.1.22: a\n"
                                      << header << "pass in on en0: 203.0.113.8.1 > 10.0.0.1.80: b\n";
    const Outcome tables = run("tables --json --root " + quoted(root.string()) + " "
                               + quoted((scratch / "in.log").string()));
    ASSERT_EQ(tables.exitCode, 0) << tables.err;
    const Json json = Json::parse(tables.out);
    EXPECT_EQ(json["tables"]["PortBlockIn"][0]["image"], "bad" + replacement + "image");
    EXPECT_EQ(json["occurrences"]["PortPassIn"], Json::parse(R"({"80": {"203.0.113.8": 1}})"));
    ASSERT_EQ(json["notifications"].size(), 2U) << tables.out;
    EXPECT_EQ(json["notifications"][0]["informativeText"], " " + quotedName);
    EXPECT_EQ(json["notifications"][0]["image"], "bad" + replacement + "image");
    EXPECT_EQ(json["notifications"][1]["informativeText"], " BAD" + replacement + "NAME");
    // The count of all notifications belongs to follow, which keeps only the last ones.
    EXPECT_FALSE(json.contains("notificationCount"));
}

TEST_F(Cli, CountryReplacesBytesThatAreNotUtf8InAddressesAndZoneNames)
{
    const fs::path zones = scratch / "Library/Application Support/Rovex/Nations/aggregated";
    fs::create_directories(zones);
    std::ofstream(zones / "it-aggregated.zone") << "203.0.113.0/24\n";
    std::ofstream(zones / "q\xff-aggregated.zone") << "198.51.100.0/24\n";
    const Outcome country = run("country --json --root " + quoted(scratch.string())
                                + " 203.0.113.7 '203.0.113.\xff' 198.51.100.1");
    ASSERT_EQ(country.exitCode, 0) << country.err;
    const Json json = Json::parse(country.out);
    ASSERT_EQ(json.size(), 3U) << country.out;
    EXPECT_EQ(json[0], Json::parse(R"({"address": "203.0.113.7", "country": "it", "nation": "Italy"})"));
    EXPECT_EQ(json[1]["address"], "203.0.113." + replacement);
    EXPECT_EQ(json[1]["country"], "");
    EXPECT_EQ(json[2]["country"], "q" + replacement);
}

// Bad usage is one line on standard error and exit 2; a root that is not there is exit 1.
TEST_F(Cli, UsageErrorsAreOneLineAndTheirExitCode)
{
    const std::string see = " (see rovex-logs --help)\n";
    const struct {
        std::string arguments;
        int exitCode;
        std::string err;
    } cases[] = {
        {"frobnicate", 2, "rovex-logs: unknown command frobnicate" + see},
        {"country --root data/root --colour 203.0.113.7", 2, "rovex-logs: unknown option --colour" + see},
        {"tables --root", 2, "rovex-logs: option --root needs a value" + see},
        {"country --root data/root --json", 2, "rovex-logs: country needs at least one address" + see},
        {"host", 2, "rovex-logs: host needs at least one address" + see},
        {"services --root data/root extra", 2, "rovex-logs: services takes no operand" + see},
        {"follow --root data/root --seconds 0", 2,
         "rovex-logs: --seconds needs a whole number of seconds from 1" + see},
        {"follow --root data/root --seconds soon", 2,
         "rovex-logs: --seconds needs a whole number of seconds from 1" + see},
        {"tables --root data/root --top -3", 2, "rovex-logs: --top needs a whole number of rows from 1" + see},
        {"simple --root data/root a.log b.log", 2, "rovex-logs: simple reads one log at the most" + see},
        {"services --root /nonexistent/root", 1, "rovex-logs: root folder /nonexistent/root does not exist\n"},
        {"country --root /nonexistent/root 203.0.113.7", 1,
         "rovex-logs: root folder /nonexistent/root does not exist\n"},
        {"follow --root /nonexistent/root --json", 1, "rovex-logs: root folder /nonexistent/root does not exist\n"},
    };
    for (const auto& [arguments, exitCode, err] : cases) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.exitCode, exitCode) << arguments;
        EXPECT_EQ(outcome.err, err) << arguments;
        EXPECT_EQ(outcome.out, "") << arguments;
    }
}
