#include "CliRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

using rovex::test::Cli;
using rovex::test::Outcome;
using rovex::test::quoted;
using rovex::test::slurp;

TEST_F(Cli, SimpleOutputsMatchTheCheckedExpectations)
{
    const Outcome json = run("simple --root data/root --json data/mixed.log");
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_EQ(json.out, slurp(dataFolder() / "expected/simple.json"));

    const Outcome text = run("simple --root data/root --limit 12 data/mixed.log");
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_EQ(text.out, slurp(dataFolder() / "expected/simple.txt"));

    EXPECT_EQ(run("simple --root data/root --limit 0 --json data/mixed.log").out,
              "{\n  \"rows\": [],\n  \"limiter\": 0\n}\n");
}

TEST_F(Cli, SimpleReadsTheRootsLogWithTheRootsServices)
{
    // A root without a library file: every port keeps the generic image.
    const fs::path log = scratch / "var/log/pffirewall.log";
    fs::create_directories(log.parent_path());
    fs::copy_file(dataFolder() / "data/mixed.log", log);
    std::ofstream(log, std::ios::app) << "\nDec  4 10:15:02 mymac pf: 00:00:00.1 rule 1/0(match): "
                                         "block in on \x1b[31m: 203.0.113.7.1 > 10.0.0.1.22: tcp\n";

    // 22 lines and the empty piece after the last "\n".
    const Outcome json = run("simple --json --limit 500 --root " + quoted(scratch.string()));
    EXPECT_EQ(json.exitCode, 0) << json.err;
    EXPECT_NE(json.out.find("\"limiter\": 23\n"), std::string::npos) << json.out;
    EXPECT_EQ(json.out.find("\"ssh\""), std::string::npos) << json.out;
    EXPECT_NE(json.out.find(R"("logInterface": "\u001b[31m")"), std::string::npos) << json.out;

    // The terminal gets no control byte from the log.
    const Outcome text = run("simple --limit 2 --root " + quoted(scratch.string()));
    EXPECT_NE(text.out.find("?[31m"), std::string::npos) << text.out;
    EXPECT_EQ(text.out.find('\x1b'), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("Rows: 1 shown of 2 lines read (0 not UTF-8), limiter 2\n"), std::string::npos) << text.out;
}

TEST_F(Cli, SimpleRefusesBadInputInOneLine)
{
    for (const std::string limit : {"-1", "many", "", "1.5"}) {
        const Outcome bad = run("simple --root data/root --limit " + quoted(limit) + " data/mixed.log");
        EXPECT_EQ(bad.exitCode, 2) << limit;
        EXPECT_EQ(bad.err, "rovex-logs: --limit needs a whole number of lines from 0 (see rovex-logs --help)\n");
    }
    EXPECT_EQ(run("simple --root data/root data/mixed.log data/mixed.log").exitCode, 2);

    const Outcome missing = run("simple --root data/root --json");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "rovex-logs: cannot read data/root/var/log/pffirewall.log: No such file or directory\n");
    EXPECT_EQ(missing.out, ""); // nothing half-printed
}
