// The rovex-sim executable run as a real process into a private root.
#include "FileEvents.h"
#include "SimTestSupport.h"
#include "SpawnedProcess.h"
#include "firewall/FixedPaths.h"
#include "firewall/RXReadRovexConf.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <csignal>
#include <regex>
#include <utility>

#include <sys/inotify.h>

namespace rovex {
namespace {

namespace fs = std::filesystem;
using namespace simtest;

// The report of a log run: the lines it wrote and the rotations it made.
std::pair<std::size_t, std::size_t> logReport(const std::string& out)
{
    std::smatch found;
    if (!std::regex_search(out, found, std::regex(R"(wrote (\d+) lines to .*, (\d+) rotations)")))
        return {0, 0};
    return {std::stoul(found[1]), std::stoul(found[2])};
}

TEST(SimTool, LogRotatesIntoArchivesThatBzip2Reads)
{
    const TempRoot root;
    const fs::path log = paths::underRoot(root.path(), paths::pfLog);
    fs::create_directories(log.parent_path());
    test::FileEvents events;
    ASSERT_TRUE(events.watch(log.parent_path(), IN_CREATE | IN_MOVED_TO));
    // Runs until stopped, and is stopped once a second archive is there: however slowly
    // the machine runs, at least two rotations happened. Room for more archives than it
    // can make before the stop, so that none is dropped.
    test::SpawnedProcess sim({simExecutable, "log", "--root", root.path().string(), "--rate", "200", "--seconds", "0",
                              "--rotate-every", "1", "--archives", "50", "--seed", "3"},
                             root.path() / "sim.out", root.path() / "sim.err");
    ASSERT_TRUE(events.waitUntil([&] { return fs::exists(paths::archive(root.path(), 1)); }));
    ASSERT_EQ(sim.stop(SIGTERM), 0) << readFile(root.path() / "sim.err");
    const auto [written, rotations] = logReport(readFile(root.path() / "sim.out"));
    ASSERT_GE(rotations, 2u) << readFile(root.path() / "sim.out");
    ASSERT_LE(rotations, 50u);

    // Oldest archive first, then the live log: every rotation left a non-empty archive.
    std::string all;
    for (std::size_t archive = rotations; archive-- > 0;) {
        const std::string text = bunzip(paths::archive(root.path(), static_cast<int>(archive)), root.path());
        EXPECT_FALSE(text.empty()) << archive;
        all += text;
    }
    all += readFile(log);
    // Nothing lost, doubled or torn across the rotations: as many whole lines as it wrote.
    EXPECT_TRUE(all.ends_with('\n'));
    const std::vector<std::string> lines = linesOf(all);
    EXPECT_EQ(lines.size(), written);
    for (const std::string& line : lines)
        EXPECT_EQ(layoutProblem(line), "") << line;

    // A run that ends by itself writes exactly rate x seconds lines, however late its turns.
    const TempRoot timed;
    const ProcessResult full = runProcess(
        {simExecutable, "log", "--root", timed.path().string(), "--rate", "200", "--seconds", "0.5"}, timed.path());
    ASSERT_EQ(full.exitCode, 0) << full.err;
    EXPECT_EQ(logReport(full.out).first, 100u) << full.out;
    EXPECT_EQ(linesOf(readFile(paths::underRoot(timed.path(), paths::pfLog))).size(), 100u);
}

TEST(SimTool, StopSignalLeavesTheLastLineComplete)
{
    const TempRoot root;
    const fs::path log = paths::underRoot(root.path(), paths::pfLog);
    fs::create_directories(log.parent_path());
    test::FileEvents events;
    ASSERT_TRUE(events.watch(log.parent_path(), IN_CREATE | IN_MODIFY));
    test::SpawnedProcess sim(
        {simExecutable, "log", "--root", root.path().string(), "--rate", "20000", "--seconds", "0", "--split-writes"},
        root.path() / "sim.out", root.path() / "sim.err");
    // SIGTERM once a few thousand lines are there, amid writes of which some come in two pieces.
    ASSERT_TRUE(events.waitUntil([&] {
        std::error_code missing;
        return fs::file_size(log, missing) > 500'000 && !missing;
    }));
    ASSERT_EQ(sim.stop(SIGTERM), 0) << readFile(root.path() / "sim.err");
    EXPECT_NE(readFile(root.path() / "sim.out").find("wrote "), std::string::npos);
    const std::string text = readFile(log);
    ASSERT_FALSE(text.empty());
    EXPECT_TRUE(text.ends_with('\n'));
    for (const std::string& line : linesOf(text))
        EXPECT_EQ(layoutProblem(line), "") << line;
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

TEST(SimTool, LibraryIsAPropertyListInBothFormatsThatTheViewerReads)
{
    const TempRoot root;
    const fs::path file = paths::underRoot(root.path(), paths::library);
    ASSERT_EQ(runProcess({simExecutable, "library", "--root", root.path().string()}, root.path()).exitCode, 0);
    EXPECT_TRUE(readFile(file).starts_with("<?xml"));
    const nlohmann::json xml = readPlistWithPython(file, root.path());
    // The viewer's own reader finds a single port, a list and a range, and both watch lists.
    const RXReadRovexConf conf;
    const ServiceImages images = conf.loadAllServices(file);
    for (const char* port : {"22", "8080", "6001"})
        EXPECT_EQ(images.count(port), 1u) << port;
    EXPECT_FALSE(conf.loadNotify(file).empty());
    EXPECT_FALSE(conf.loadNotifyBlock(file).empty());

    ASSERT_EQ(runProcess({simExecutable, "library", "--root", root.path().string(), "--binary"}, root.path()).exitCode,
              0);
    EXPECT_TRUE(readFile(file).starts_with("bplist00"));
    EXPECT_EQ(readPlistWithPython(file, root.path()), xml);
    // A second reader: libplist's own tool turns the binary file back into XML.
    const fs::path converted = root.path() / "converted.plist";
    ASSERT_EQ(
        runProcess({"plistutil", "-i", file.string(), "-o", converted.string(), "-f", "xml"}, root.path()).exitCode, 0);
    EXPECT_EQ(readPlistWithPython(converted, root.path()), xml);
}

TEST(SimTool, NationsFromATorGeoipSource)
{
    const TempRoot root;
    const fs::path source = root.path() / "geoip";
    writeFile(source,
              "# comment line\n"
              "16777216,16777471,DE\n"     // 1.0.0.0/24
              "4294967040,4294967295,DE\n" // 255.255.255.0/24, at the top of the address space
              "4294967168,4294967295,DE\n" // inside it: the end of the space must not wrap to 0
              "4294966784,4294967039,DE\n" // 255.255.254.0/24 touches it from below
              "167772288,167772415,IT\n"   // 10.0.0.128 - 10.0.0.255
              "167772416,167772543,FR\n"   // 10.0.1.0 - 10.0.1.127: touches IT, other country
              "\n"
              "167772160,167772287,it\n"       // 10.0.0.0 - 10.0.0.127: joins the IT range above
              "3758096384,3758096639,??\n"     // no country
              "3232235520,3232235775,FR\r\n"); // 192.168.0.0/24
    const ProcessResult result = runProcess(
        {simExecutable, "nations", "--root", root.path().string(), "--source", source.string()}, root.path());
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("3 country files, 5 blocks"), std::string::npos) << result.out;

    const fs::path folder = paths::underRoot(root.path(), paths::nations);
    EXPECT_EQ(readFile(folder / "de-aggregated.zone"), "1.0.0.0/24\n255.255.254.0/23\n");
    EXPECT_EQ(readFile(folder / "it-aggregated.zone"), "10.0.0.0/24\n");
    EXPECT_EQ(readFile(folder / "fr-aggregated.zone"), "10.0.1.0/25\n192.168.0.0/24\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 3);
}

TEST(SimTool, FailuresAndBadUsageSayWhatIsWrong)
{
    const TempRoot root;
    const std::string sim = simExecutable;
    const std::string dir = root.path().string();
    const std::vector<std::vector<std::string>> badUsage{
        {sim},
        {sim, "frobnicate", "--root", dir},
        {sim, "library"},
        {sim, "log", "--root", dir, "--rate", "fast", "--seconds", "1"},
        {sim, "log", "--root", dir, "--rate", "10", "--seconds", "-1"},
        {sim, "log", "--root", dir, "--rate", "10"},
        {sim, "log", "--root", dir, "--rate", "10", "--seconds", "1", "--layout", "syslog"},
        {sim, "log", "--root", dir, "--rate", "10", "--seconds", "1", "--layout"},
        {sim, "library", "--root", dir, "--colour"},
        {sim, "nations", "--root"},
        {sim, "post"},
        {sim, "post", "--name", "SSH"},
        {sim, "post", "frobnicate"},
        {sim, "post", "startVisualizer"}, // the viewer's own notification, not the product's
        {sim, "post", "addservice", "--root", dir},
        {sim, "post", "addservice", "--name"},
        {sim, "record", "--seconds", "soon"},
        {sim, "record", "--seconds", "3000000"},
        {sim, "record", "now"},
    };
    for (const std::vector<std::string>& command : badUsage) {
        const ProcessResult result = runProcess(command, root.path());
        EXPECT_EQ(result.exitCode, 2) << command.back();
        EXPECT_TRUE(result.err.starts_with("rovex-sim: ")) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }

    const ProcessResult missing = runProcess({sim, "nations", "--root", dir, "--source", dir + "/no-such-file"},
                                             root.path());
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("tor-geoipdb"), std::string::npos) << missing.err;

    writeFile(root.path() / "broken", "1,2,AU\n3,x,AU\n");
    const ProcessResult broken = runProcess({sim, "nations", "--root", dir, "--source", dir + "/broken"}, root.path());
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_NE(broken.err.find("line 2"), std::string::npos) << broken.err;

    const ProcessResult help = runProcess({sim, "--help"}, root.path());
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("rovex-sim log --root DIR"), std::string::npos);
    EXPECT_NE(help.out.find("[--layout L]"), std::string::npos);
    EXPECT_NE(help.out.find("rovex-sim post NAME"), std::string::npos);
    EXPECT_NE(help.out.find("rovex-sim record [--seconds S]"), std::string::npos);

    // A root that does not exist yet is created.
    const ProcessResult nested = runProcess({sim, "library", "--root", dir + "/new/root"}, root.path());
    EXPECT_EQ(nested.exitCode, 0) << nested.err;
    EXPECT_TRUE(fs::exists(paths::underRoot(root.path() / "new/root", paths::library)));
}

} // namespace
} // namespace rovex
