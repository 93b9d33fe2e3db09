// The rovex-sim executable run as a real process into a private root.
#include "SimTestSupport.h"
#include "firewall/FixedPaths.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <csignal>
#include <map>
#include <thread>

namespace rovex {
namespace {

namespace fs = std::filesystem;
using namespace simtest;

void expectLogLines(const std::vector<std::string>& lines, const std::string& where)
{
    for (const std::string& line : lines)
        EXPECT_EQ(layoutProblem(line), "") << where << ": " << line;
}

TEST(SimTool, LogRotatesIntoArchivesThatBzip2Reads)
{
    const TempRoot root;
    const ProcessResult result = runProcess({simExecutable(), "log", "--root", root.path().string(), "--rate", "200",
                                             "--seconds", "2.5", "--rotate-every", "1", "--archives", "2",
                                             "--seed", "3"},
                                            root.path());
    ASSERT_EQ(result.exitCode, 0) << result.err;

    // Rotations at 1 s and 2 s: archive 1 holds the first second, archive 0 the next.
    std::vector<std::string> all;
    for (const fs::path& file : {paths::archive(root.path(), 1), paths::archive(root.path(), 0)}) {
        ASSERT_TRUE(fs::exists(file)) << file;
        const std::string text = bunzip(file, root.path());
        EXPECT_TRUE(text.ends_with('\n')) << file;
        const std::vector<std::string> lines = linesOf(text);
        EXPECT_GT(lines.size(), 100u) << file;
        expectLogLines(lines, file.filename().string());
        all.insert(all.end(), lines.begin(), lines.end());
    }
    EXPECT_FALSE(fs::exists(paths::archive(root.path(), 2)));
    const std::string live = readFile(paths::underRoot(root.path(), paths::pfLog));
    EXPECT_TRUE(live.ends_with('\n'));
    const std::vector<std::string> liveLines = linesOf(live);
    expectLogLines(liveLines, "live log");
    all.insert(all.end(), liveLines.begin(), liveLines.end());

    // Nothing lost or doubled across the rotations: rate x seconds lines in all.
    EXPECT_EQ(all.size(), 500u);
    bool icmp = false;
    bool dhcp = false;
    for (const std::string& line : all) {
        const std::vector<std::string> fields = pfFields(line);
        icmp = icmp || fields[15].starts_with("ICMP");
        dhcp = dhcp || fields[12] == "0.0.0.0.68";
    }
    EXPECT_TRUE(icmp);
    EXPECT_TRUE(dhcp);
}

TEST(SimTool, StopSignalLeavesTheLastLineComplete)
{
    const TempRoot root;
    const fs::path log = paths::underRoot(root.path(), paths::pfLog);
    ChildProcess sim({simExecutable(), "log", "--root", root.path().string(), "--rate", "20000", "--seconds", "0",
                      "--split-writes"},
                     root.path());
    for (int wait = 0; wait < 500 && !(fs::exists(log) && fs::file_size(log) > 100'000); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    sim.signal(SIGTERM);
    const ProcessResult result = sim.wait();
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("wrote "), std::string::npos);
    const std::string text = readFile(log);
    ASSERT_FALSE(text.empty());
    EXPECT_TRUE(text.ends_with('\n'));
    const std::vector<std::string> lines = linesOf(text);
    expectLogLines(lines, "log");
}

nlohmann::json readPlistWithPython(const fs::path& file, const fs::path& scratch)
{
    const ProcessResult result = runProcess(
        {"python3", "-c", "import json, plistlib, sys; print(json.dumps(plistlib.load(open(sys.argv[1], 'rb'))))",
         file.string()},
        scratch);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return nlohmann::json::parse(result.out);
}

void expectLibrary(const nlohmann::json& library)
{
    ASSERT_TRUE(library.is_array());
    std::map<std::string, nlohmann::json> services;
    int blacklists = 0;
    for (const nlohmann::json& entry : library) {
        if (entry.at("rovexClassName") == "RXService") {
            for (const char* key : {"serviceName", "serviceDescription", "serviceImage", "servicePorts"})
                EXPECT_TRUE(entry.at(key).is_string()) << key;
            EXPECT_TRUE(entry.at("serviceNotifyInbound").is_boolean());
            EXPECT_TRUE(entry.at("serviceNotifyInboundBlock").is_boolean());
            services[entry.at("serviceName")] = entry;
            continue;
        }
        ASSERT_EQ(entry.at("rovexClassName"), "RXGroup");
        EXPECT_TRUE(entry.at("groupName").is_string());
        EXPECT_EQ(entry.at("groupInterface"), "all");
        for (const char* key : {"groupIsDefault", "groupIsBlacklisted", "groupIsEveryone"})
            EXPECT_TRUE(entry.at(key).is_boolean()) << key;
        const nlohmann::json& addresses = entry.at("groupAddresses");
        ASSERT_TRUE(addresses.is_array());
        for (const nlohmann::json& address : addresses)
            EXPECT_TRUE(address.is_string());
        EXPECT_TRUE(entry.at("groupNumberOfRecords").is_number_integer());
        EXPECT_EQ(entry.at("groupNumberOfRecords"), addresses.size());
        blacklists += entry.at("groupIsBlacklisted") == true ? 1 : 0;
    }
    EXPECT_EQ(blacklists, 1);
    EXPECT_EQ(services.at("SSH").at("servicePorts"), "22");
    EXPECT_EQ(services.at("SSH").at("serviceImage"), "ssh");
    EXPECT_EQ(services.at("SSH").at("serviceNotifyInboundBlock"), true);
    EXPECT_EQ(services.at("HTTP").at("servicePorts"), "80 8080");
    EXPECT_EQ(services.at("HTTP").at("serviceNotifyInbound"), true);
    EXPECT_EQ(services.at("X11").at("servicePorts"), "6000:6063");
    EXPECT_EQ(services.at("Dynamic ports").at("servicePorts"), "49152:65535");
    EXPECT_EQ(services.at("RDP").at("serviceNotifyInbound"), true);
    EXPECT_EQ(services.at("RDP").at("serviceNotifyInboundBlock"), true);
}

TEST(SimTool, LibraryIsAPropertyListInBothFormats)
{
    const TempRoot root;
    const fs::path file = paths::underRoot(root.path(), paths::library);
    const std::vector<std::string> command{simExecutable(), "library", "--root", root.path().string()};
    ASSERT_EQ(runProcess(command, root.path()).exitCode, 0);
    EXPECT_TRUE(readFile(file).starts_with("<?xml"));
    const nlohmann::json xml = readPlistWithPython(file, root.path());
    expectLibrary(xml);

    std::vector<std::string> binaryCommand = command;
    binaryCommand.push_back("--binary");
    ASSERT_EQ(runProcess(binaryCommand, root.path()).exitCode, 0);
    EXPECT_TRUE(readFile(file).starts_with("bplist00"));
    EXPECT_EQ(readPlistWithPython(file, root.path()), xml);
    // A second reader: libplist's own tool turns the binary file back into XML.
    const fs::path converted = root.path() / "converted.plist";
    ASSERT_EQ(runProcess({"plistutil", "-i", file.string(), "-o", converted.string(), "-f", "xml"}, root.path()).exitCode, 0);
    EXPECT_EQ(readPlistWithPython(converted, root.path()), xml);
}

TEST(SimTool, NationsFromATorGeoipSource)
{
    const TempRoot root;
    const fs::path source = root.path() / "geoip";
    writeFile(source,
              "# comment line\n"
              "16777217,16777222,DE\n"        // 1.0.0.1 - 1.0.0.6
              "167772288,167772415,IT\n"      // 10.0.0.128 - 10.0.0.255
              "167772416,167772543,FR\n"      // 10.0.1.0 - 10.0.1.127: touches IT, other country
              "\n"
              "167772160,167772287,it\n"      // 10.0.0.0 - 10.0.0.127: joins the IT range above
              "3758096384,3758096639,??\n"    // no country
              "3232235520,3232235775,FR\r\n"); // 192.168.0.0/24
    const ProcessResult result = runProcess(
        {simExecutable(), "nations", "--root", root.path().string(), "--source", source.string()}, root.path());
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("3 country files, 7 blocks"), std::string::npos) << result.out;

    const fs::path folder = paths::underRoot(root.path(), paths::nations);
    EXPECT_EQ(readFile(folder / "de-aggregated.zone"), "1.0.0.1/32\n1.0.0.2/31\n1.0.0.4/31\n1.0.0.6/32\n");
    EXPECT_EQ(readFile(folder / "it-aggregated.zone"), "10.0.0.0/24\n");
    EXPECT_EQ(readFile(folder / "fr-aggregated.zone"), "10.0.1.0/25\n192.168.0.0/24\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 3);
}

TEST(SimTool, FailuresAndBadUsageSayWhatIsWrong)
{
    const TempRoot root;
    const std::string sim = simExecutable();
    const std::string dir = root.path().string();
    const std::vector<std::vector<std::string>> badUsage{
        {sim},
        {sim, "frobnicate", "--root", dir},
        {sim, "library"},
        {sim, "log", "--root", dir, "--rate", "fast", "--seconds", "1"},
        {sim, "log", "--root", dir, "--rate", "10", "--seconds", "-1"},
        {sim, "log", "--root", dir, "--rate", "10"},
        {sim, "library", "--root", dir, "--colour"},
        {sim, "nations", "--root"},
    };
    for (const std::vector<std::string>& command : badUsage) {
        const ProcessResult result = runProcess(command, root.path());
        EXPECT_EQ(result.exitCode, 2) << command.back();
        EXPECT_TRUE(result.err.starts_with("rovex-sim: ")) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }

    const ProcessResult missing = runProcess({sim, "nations", "--root", dir, "--source", dir + "/no-such-file"}, root.path());
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("tor-geoipdb"), std::string::npos) << missing.err;

    writeFile(root.path() / "broken", "1,2,AU\n3,x,AU\n");
    const ProcessResult broken = runProcess({sim, "nations", "--root", dir, "--source", dir + "/broken"}, root.path());
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_NE(broken.err.find("line 2"), std::string::npos) << broken.err;

    const ProcessResult help = runProcess({sim, "--help"}, root.path());
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("rovex-sim log --root DIR"), std::string::npos);

    // A root that does not exist yet is created.
    const ProcessResult nested = runProcess({sim, "library", "--root", dir + "/new/root"}, root.path());
    EXPECT_EQ(nested.exitCode, 0) << nested.err;
    EXPECT_TRUE(fs::exists(paths::underRoot(root.path() / "new/root", paths::library)));
}

} // namespace
} // namespace rovex
