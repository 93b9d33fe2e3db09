#include "lookup/PortServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;
using rovex::getPortInfo;
using rovex::portTypeKey;
using rovex::serviceLinesForPort;

namespace {

// A service table written for one test, removed afterwards.
class ServiceTable final {
public:
    explicit ServiceTable(std::string_view text)
        : m_path(fs::path(testing::TempDir())
                 / ("rovex-services-" + std::to_string(::getpid()) + "-"
                    + testing::UnitTest::GetInstance()->current_test_info()->name()))
    {
        std::ofstream(m_path, std::ios::binary) << text;
    }
    ~ServiceTable() { fs::remove(m_path); }
    ServiceTable(const ServiceTable&) = delete;
    ServiceTable& operator=(const ServiceTable&) = delete;

    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

// What the shell pipeline that the popover once ran gives for a port, every "#" removed:
// the reference the in-process match must equal. The ports passed here are digits.
std::string pipelineLines(const fs::path& table, const std::string& port)
{
    const std::string command = "LC_ALL=C grep '\\<" + port + "\\>' '" + table.string() + "' | LC_ALL=C grep '" + port
        + "/'";
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return "popen failed";
    std::array<char, 4096> chunk{};
    for (std::size_t got; (got = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0;)
        output.append(chunk.data(), got);
    ::pclose(pipe);
    output.erase(std::remove(output.begin(), output.end(), '#'), output.end());
    return output;
}

constexpr std::string_view writtenTable = "# Network services, Internet style\n"
                                          "http\t\t80/tcp\t\twww\t\t# WorldWideWeb HTTP\n"
                                          "http\t\t80/udp\t\t\t\t# HTTP/3\n"
                                          "http-alt\t8080/tcp\twebcache\t# WWW caching service\n"
                                          "kamanda\t\t10081/tcp\t\t\t# port 80 in a comment\n"
                                          "under_80/tcp\n"
                                          "portal\t\t180/tcp\n"
                                          "web80\t\t2080/tcp\n"
                                          "amanda\t\t10080/tcp\t\t\t# not 80\n"
                                          "last\t\t80/sctp";

} // namespace

TEST(PortServices, ClassesByRange)
{
    for (const char* port : {"0", "1", "22", "1023"})
        EXPECT_EQ(portTypeKey(port), "systemport") << port;
    for (const char* port : {"1024", "8080", "49151"})
        EXPECT_EQ(portTypeKey(port), "registport") << port;
    for (const char* port : {"49152", "65535", "99999"})
        EXPECT_EQ(portTypeKey(port), "ephemport") << port;
    for (const char* port : {"", "http", "80a", " 1024", "1024 ", "0x400", "-50000"})
        EXPECT_EQ(portTypeKey(port), "systemport") << '"' << port << '"';
}

TEST(PortServices, KeepsTheLinesWhereThePortIsItsOwnWordBeforeItsProtocol)
{
    // 8080 holds "80/" but not the word 80, kamanda the word but not "80/"; under_80 has
    // "_" before it; 180 and 2080 are other numbers. The two filters are separate, as in
    // the pipeline: amanda has the word 80 in its comment and "80/" inside 10080, so it
    // stays. The last line gets its line break.
    EXPECT_EQ(serviceLinesForPort(writtenTable, "80"),
              "http\t\t80/tcp\t\twww\t\t WorldWideWeb HTTP\n"
              "http\t\t80/udp\t\t\t\t HTTP/3\n"
              "amanda\t\t10080/tcp\t\t\t not 80\n"
              "last\t\t80/sctp\n");
    EXPECT_EQ(serviceLinesForPort(writtenTable, "8080"), "http-alt\t8080/tcp\twebcache\t WWW caching service\n");
    EXPECT_EQ(serviceLinesForPort(writtenTable, "443"), "");
    EXPECT_EQ(serviceLinesForPort(writtenTable, ""), "");
    const ServiceTable table(writtenTable);
    for (const std::string port : {"80", "8080", "180", "2080", "10080", "10081", "tcp"})
        EXPECT_EQ(serviceLinesForPort(writtenTable, port), pipelineLines(table.path(), port)) << port;
}

TEST(PortServices, ThePortIsTextNeverAPattern)
{
    // As patterns these would match the 80 lines, or every line.
    for (const char* port : {"8.", "8[0]", ".*", "80\\>", "\\<80", "80|x"})
        EXPECT_EQ(serviceLinesForPort(writtenTable, port), "") << port;
    EXPECT_EQ(serviceLinesForPort("a.b 1/tcp a.b/x\n", "a.b"), "a.b 1/tcp a.b/x\n");
}

TEST(PortServices, OddBytesBecomeReplacementCharacters)
{
    EXPECT_EQ(serviceLinesForPort("caf\xC3\xA9\t22/tcp\t# \xFF\r\n", "22"),
              "caf\xEF\xBF\xBD\xEF\xBF\xBD\t22/tcp\t \xEF\xBF\xBD\r\n");
    EXPECT_EQ(serviceLinesForPort(std::string_view("ssh\t22/tcp\0x\n", 13), "22"), std::string("ssh\t22/tcp\0x\n", 13));
}

TEST(PortServices, TheSystemTableGivesWhatThePipelineGives)
{
    if (!fs::exists(rovex::systemServicesFile))
        GTEST_SKIP() << "no /etc/services here";
    EXPECT_NE(getPortInfo(rovex::systemServicesFile, "22").portServiceName.find("ssh"), std::string::npos);
    for (const std::string port : {"22", "53", "80", "443", "1", "6000", "8080", "65535"})
        EXPECT_EQ(getPortInfo(rovex::systemServicesFile, port).portServiceName,
                  pipelineLines(rovex::systemServicesFile, port))
            << port;
}

TEST(PortServices, AnUnreadableTableMatchesNothing)
{
    const rovex::PortInfo missing = getPortInfo("/nonexistent/services", "22");
    EXPECT_EQ(missing.portLabel, "22");
    EXPECT_EQ(missing.portServiceName, "");
    EXPECT_EQ(missing.portTypeLabel, "systemport");
    EXPECT_FALSE(rovex::readServicesTable(testing::TempDir()).has_value()); // a folder
    const ServiceTable empty("");
    EXPECT_EQ(rovex::readServicesTable(empty.path()), std::string());
    EXPECT_EQ(getPortInfo(empty.path(), "49152").portTypeLabel, "ephemport");
}
