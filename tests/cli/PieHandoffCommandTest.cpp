// rovex-logs pie and handoff: the pie's numbers as JSON, of names and of a row of a
// classified log, and the hand-off received by rovex-sim record on a private session bus.
#include "CliRun.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <fstream>

using rovex::test::Cli;
using rovex::test::Outcome;
using rovex::test::quoted;
using rovex::test::slurp;

namespace {

TEST_F(Cli, PieOfNamesGivesSlicesSectorsAndTheGreyRemainder)
{
    Outcome pie = run("pie --json a b c d e f g h i j k");
    ASSERT_EQ(pie.exitCode, 0) << pie.err;
    nlohmann::json json = nlohmann::json::parse(pie.out);
    ASSERT_EQ(json["slices"].size(), 11U);
    EXPECT_EQ(json["slices"][10]["colorIndex"], 12);
    EXPECT_EQ(json["slices"][10]["rgb"], nlohmann::json::array({205, 205, 205}));
    EXPECT_EQ(json["slices"][0]["theSign"], "\u25FC\uFE0E");
    ASSERT_EQ(json["sectors"].size(), 10U);
    EXPECT_NEAR(json["grey"]["start"].get<double>(), 3600.0 / 11, 1e-9);

    pie = run("pie --json");
    json = nlohmann::json::parse(pie.out);
    EXPECT_TRUE(json["slices"].empty());
    EXPECT_EQ(json["grey"], (nlohmann::json{{"start", 0}, {"end", 360}}));
}

TEST_F(Cli, PieOfARowCountsWhatWasSeenWithIt)
{
    const std::string line = "Dec  6 10:00:00 fw pf: 00:00:00.000000 rule 1/0(match): block in on em0: ";
    std::ofstream(scratch / "log") << line << "203.0.113.7.40000 > 192.168.1.10.22: tcp\n"
                                   << line << "198.51.100.9.40000 > 192.168.1.10.22: tcp\n"
                                   << line << "203.0.113.7.40001 > 192.168.1.10.22: tcp\n";
    const Outcome pie = run("pie --json --table PortBlockIn --row 22 --root . " + quoted((scratch / "log").string()));
    ASSERT_EQ(pie.exitCode, 0) << pie.err;
    const nlohmann::json json = nlohmann::json::parse(pie.out);
    ASSERT_EQ(json["slices"].size(), 2U) << pie.out;
    EXPECT_EQ(json["slices"][0]["theName"], "203.0.113.7");
    EXPECT_EQ(json["slices"][0]["theNumber"], 2);
    EXPECT_EQ(json["sectors"][0]["end"], 240);
    EXPECT_EQ(run("pie --table PortBlock --row 22").exitCode, 2);
}

// Runs the hand-offs with the product recorded on a bus of their own; the recorder's lines.
// A last signal from another peer marks the end: once the recorder wrote it, whatever the
// hand-offs sent before it has been recorded.
std::string recordHandoffs(const std::filesystem::path& scratch, const std::string& proc, const std::string& handoffs)
{
    // Waits for a text in the record; the recorder gives up by itself after 60 s, should a
    // step below never end.
    const auto awaitRecorded = [](const std::string& text) {
        return "for i in $(seq 1200); do grep -q " + text + " record 2>/dev/null && break; sleep 0.05; done; ";
    };
    const std::string script = "cd " + quoted(scratch.string()) + " || exit 1; rm -f record; "
        + quoted(ROVEX_BINARY_DIR "/tools/sim/rovex-sim") + " record --seconds 60 >record & " + awaitRecorded("ready")
        + "{ " + handoffs + "; } >out 2>err; echo $? >code; "
        + "gdbus emit --session --object-path /rovexid --signal rovexid.Notification.endOfHandoffs '@a{sv} {}' && "
        + awaitRecorded("endOfHandoffs") + "kill $!";
    const std::string command = "PROC=" + quoted(proc) + " LOGS=" + quoted(ROVEX_LOGS) + " dbus-run-session -- sh -c "
        + quoted(script) + " 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return slurp(scratch / "record");
}

TEST_F(Cli, HandoffReachesTheRunningProductOrSaysItIsNotThere)
{
    std::filesystem::create_directories(scratch / "proc/4242");
    std::ofstream(scratch / "proc/4242/comm") << "Rovex\n";
    const std::string record = recordHandoffs(
        scratch, (scratch / "proc").string(),
        "$LOGS handoff --proc \"$PROC\" blacklist 192.0.2.1 && $LOGS handoff --proc \"$PROC\" --json group 192.0.2.9");
    EXPECT_EQ(slurp(scratch / "code"), "0\n") << slurp(scratch / "err");
    EXPECT_NE(record.find(R"({"event":"call","member":"Activate"})"), std::string::npos) << record;
    EXPECT_NE(record.find(R"("member":"blacklistIP","userInfo":{"address":"192.0.2.1"})"), std::string::npos) << record;
    EXPECT_NE(record.find(R"("member":"addToGroup","userInfo":{"addresses":["192.0.2.9"]})"), std::string::npos)
        << record;
    EXPECT_EQ(nlohmann::json::parse(slurp(scratch / "out").substr(slurp(scratch / "out").find('{'))),
              (nlohmann::json{{"member", "addToGroup"}, {"addresses", {"192.0.2.9"}}}));

    std::filesystem::create_directories(scratch / "none");
    const std::string nothing = recordHandoffs(scratch, (scratch / "none").string(),
                                               "$LOGS handoff --proc \"$PROC\" blacklist 192.0.2.1 192.0.2.2");
    EXPECT_EQ(slurp(scratch / "code"), "1\n");
    EXPECT_NE(slurp(scratch / "err").find("norovex"), std::string::npos);
    EXPECT_EQ(nothing.find("blacklist"), std::string::npos) << nothing;
    EXPECT_EQ(nothing.find("Activate"), std::string::npos) << nothing;
}

} // namespace
