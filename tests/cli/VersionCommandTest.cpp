// rovex-logs version: the verdict on reply bytes from standard input, and on the answer of
// rovex-sim's version server run as a real process on loopback.
#include "CliRun.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using rovex::test::Cli;
using rovex::test::Outcome;
using rovex::test::quoted;

extern char** environ;

namespace {

// rovex-sim version-server for one test: its address from the line it prints once listening.
class SimVersionServer final {
public:
    explicit SimVersionServer(const std::string& reply)
    {
        int out[2];
        if (::pipe(out) != 0)
            throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::string program = ROVEX_BINARY_DIR "/tools/sim/rovex-sim";
        std::string command = "version-server", option = "--reply", text = reply;
        char* argv[] = {program.data(), command.data(), option.data(), text.data(), nullptr};
        const int failed = posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        m_out = ::fdopen(out[0], "r");
        char line[256] = {};
        if (failed != 0 || m_out == nullptr || std::fgets(line, sizeof line, m_out) == nullptr)
            throw std::runtime_error("rovex-sim version-server did not start");
        const std::string listening(line);
        m_base = listening.substr(listening.find("http://"));
        m_base.erase(m_base.find_last_not_of('\n') + 1);
    }
    ~SimVersionServer()
    {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
        if (m_out != nullptr)
            std::fclose(m_out);
    }
    SimVersionServer(const SimVersionServer&) = delete;
    SimVersionServer& operator=(const SimVersionServer&) = delete;

    const std::string& base() const { return m_base; }

private:
    pid_t m_pid = -1;
    std::FILE* m_out = nullptr;
    std::string m_base;
};

} // namespace

class VersionCommand : public Cli {
protected:
    Outcome runOn(const std::string& reply, const std::string& options)
    {
        const auto input = scratch / "reply";
        std::ofstream(input, std::ios::binary) << reply;
        return run("version " + options, input.string());
    }
};

TEST_F(VersionCommand, VerdictOnStandardInput)
{
    const Outcome yes = runOn("a # 15\n", "--json");
    EXPECT_EQ(yes.exitCode, 0) << yes.err;
    EXPECT_EQ(yes.out, "{\n  \"alert\": \"yesupd\",\n  \"openSite\": true\n}\n");
    const Outcome lost = runOn("", "--json");
    EXPECT_EQ(lost.exitCode, 0);
    EXPECT_EQ(lost.out, "{\n  \"alert\": \"connlost\",\n  \"openSite\": false\n}\n");

    EXPECT_EQ(runOn("b#1", "").out, "alert: yesupgr, open site: yes\n");
    EXPECT_EQ(runOn("a#14\r\n", "").out, "alert: noupd, open site: no\n");
    EXPECT_EQ(runOn("<a href=\"#top\">Not Found</a>", "").out, "alert: none\n");
    EXPECT_EQ(runOn("a#15" + std::string(70 * 1024, ' '), "").out, "alert: connlost, open site: no\n");
}

TEST_F(VersionCommand, VerdictOnTheServersAnswer)
{
    const SimVersionServer server("b#3\n");
    const Outcome asked = run("version --json --server " + quoted(server.base()));
    EXPECT_EQ(asked.exitCode, 0) << asked.err;
    EXPECT_EQ(asked.out, "{\n  \"alert\": \"yesupgr\",\n  \"openSite\": true\n}\n");
}

TEST_F(VersionCommand, RefusedServerAndBadUsage)
{
    const Outcome refused = run("version --server ftp://127.0.0.1/");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("--server needs an http or https address"), std::string::npos) << refused.err;
    EXPECT_EQ(run("version extra").exitCode, 2);
    EXPECT_EQ(run("version --timeout-ms 0").exitCode, 2);
    EXPECT_TRUE(refused.out.empty());
}
