#include "CliRun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <arpa/inet.h>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <netdb.h>
#include <netinet/in.h>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

using rovex::test::Cli;
using rovex::test::Outcome;
using rovex::test::quoted;
using rovex::test::slurp;

namespace {

// data/loopback-whois.py running for one test: its port, then the queries it answered.
class LoopbackWhois final {
public:
    explicit LoopbackWhois(const std::filesystem::path& script, int queries)
        : m_pipe(::popen(("python3 -u " + quoted(script.string()) + ' ' + std::to_string(queries)).c_str(), "r"))
    {
        if (m_pipe == nullptr)
            throw std::runtime_error("cannot start the loopback whois server");
        m_port = nextLine();
    }
    ~LoopbackWhois() { ::pclose(m_pipe); }
    LoopbackWhois(const LoopbackWhois&) = delete;
    LoopbackWhois& operator=(const LoopbackWhois&) = delete;

    const std::string& port() const { return m_port; }
    // The next line it printed, without its "\n"; empty at its end.
    std::string nextLine()
    {
        std::array<char, 256> line{};
        if (std::fgets(line.data(), static_cast<int>(line.size()), m_pipe) == nullptr)
            return {};
        std::string text(line.data());
        if (text.ends_with('\n'))
            text.pop_back();
        return text;
    }

private:
    FILE* m_pipe;
    std::string m_port;
};

// A loopback port where nothing listens.
std::string refusedPort()
{
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    auto* generic = reinterpret_cast<sockaddr*>(&address);
    const bool bound = ::bind(listener, generic, length) == 0 && ::getsockname(listener, generic, &length) == 0;
    ::close(listener);
    if (!bound)
        throw std::runtime_error("cannot bind a loopback port");
    return std::to_string(ntohs(address.sin_port));
}

// The name the system's host database gives 127.0.0.1, asked without the command's code.
std::string loopbackName()
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::array<char, NI_MAXHOST> name{};
    if (::getnameinfo(reinterpret_cast<const sockaddr*>(&address), sizeof address, name.data(), name.size(), nullptr, 0,
                      NI_NAMEREQD)
        != 0)
        return {};
    return name.data();
}

constexpr const char* cleanedRecord = "Information related to 192.0.2.0 - 192.0.2.255\n"
                                      "registry data\n"
                                      "inetnum:        192.0.2.0 - 192.0.2.255\n";

} // namespace

TEST_F(Cli, PortOutputsMatchTheCheckedExpectations)
{
    const std::string ports = " 22 80 8080 49152 65535 nope";
    const Outcome json = run("port --services data/services --json" + ports);
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_EQ(json.out, slurp(dataFolder() / "expected/port.json"));
    EXPECT_EQ(run("port --services data/services" + ports).out, slurp(dataFolder() / "expected/port.txt"));

    // Against a plain reading of the service table: one line per entry whose port/protocol
    // column names the port ("nomoreinfo" for none), and the class by the port's range.
    const nlohmann::json rows = nlohmann::json::parse(json.out);
    ASSERT_EQ(rows.size(), 6U);
    const std::string table = slurp(dataFolder() / "data/services");
    for (const auto& row : rows) {
        const std::string port = row.at("portLabel");
        std::size_t entries = 0;
        std::istringstream lines(table);
        for (std::string line; std::getline(lines, line);) {
            std::istringstream fields(line);
            std::string name;
            std::string portAndProtocol;
            fields >> name >> portAndProtocol;
            if (!name.starts_with('#') && portAndProtocol.starts_with(port + "/"))
                ++entries;
        }
        const std::string names = row.at("portServiceName");
        if (entries == 0)
            EXPECT_EQ(names, "nomoreinfo") << port;
        else
            EXPECT_EQ(std::count(names.begin(), names.end(), '\n'), static_cast<std::ptrdiff_t>(entries))
                << port << ": " << names;
        const bool number = port.find_first_not_of("0123456789") == std::string::npos;
        const unsigned long value = number ? std::stoul(port) : 0;
        EXPECT_EQ(row.at("portTypeLabel"),
                  value >= 49152      ? "ephemport"
                      : value >= 1024 ? "registport"
                                      : "systemport")
            << port;
    }
}

TEST_F(Cli, HostNamesComeFromTheSystem)
{
    const std::string name = loopbackName();
    ASSERT_FALSE(name.empty());
    const Outcome host = run("host --json 127.0.0.1 not-an-address");
    EXPECT_EQ(host.exitCode, 0);
    EXPECT_EQ(host.out,
              "[\n  {\n    \"address\": \"127.0.0.1\",\n    \"hostname\": \"" + name
                  + "\"\n  },\n  {\n    \"address\": \"not-an-address\",\n"
                    "    \"hostname\": \"Hostname not found\"\n  }\n]\n");
}

TEST_F(Cli, WhoisAsksTheChosenServerWithTheRealClient)
{
    LoopbackWhois server(dataFolder() / "data/loopback-whois.py", 2);
    const Outcome json = run("whois --server 127.0.0.1:" + server.port() + " --json 192.0.2.1");
    EXPECT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(json.out,
              "{\n  \"address\": \"192.0.2.1\",\n  \"probe\": \"2\",\n  \"text\": \"Information related "
              "to 192.0.2.0 - 192.0.2.255\\nregistry data\\ninetnum:        192.0.2.0 - 192.0.2.255\\n\"\n}\n");
    EXPECT_EQ(server.nextLine(), "query: 192.0.2.1");

    // No option: the environment names the server. An address with a leading "-" is the query.
    ::setenv("ROVEX_WHOIS_SERVER", ("127.0.0.1:" + server.port()).c_str(), 1);
    const Outcome text = run("whois -192.0.2.9");
    ::unsetenv("ROVEX_WHOIS_SERVER");
    EXPECT_EQ(text.out, cleanedRecord);
    EXPECT_EQ(server.nextLine(), "query: -192.0.2.9");
}

TEST_F(Cli, WhoisWithoutAReachableServerSaysNone)
{
    const Outcome json = run("whois --server 127.0.0.1:" + refusedPort() + " --json 192.0.2.1");
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_EQ(json.out, "{\n  \"address\": \"192.0.2.1\",\n  \"probe\": \"1\",\n  \"text\": \"none\"\n}\n");
    EXPECT_NE(json.err.find("no whois server answered"), std::string::npos) << json.err;
}

TEST_F(Cli, LookupUsageMistakesAndMissingTables)
{
    for (const char* arguments : {"port", "port --services", "host", "whois", "whois 192.0.2.1 192.0.2.2",
                                  "whois --server 'bad host' 192.0.2.1", "whois --server 127.0.0.1:0 192.0.2.1",
                                  "whois --server ::1 192.0.2.1", "host --bogus 127.0.0.1"}) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.exitCode, 2) << arguments;
        EXPECT_EQ(outcome.out, "") << arguments;
    }
    ::setenv("ROVEX_WHOIS_SERVER", "-h evil", 1);
    const Outcome badVariable = run("whois 192.0.2.1");
    ::unsetenv("ROVEX_WHOIS_SERVER");
    EXPECT_EQ(badVariable.exitCode, 2);
    EXPECT_NE(badVariable.err.find("ROVEX_WHOIS_SERVER"), std::string::npos) << badVariable.err;

    const Outcome missing = run("port --services data/no-such-services 22");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "rovex-logs: cannot read the service table data/no-such-services\n");
}
