#include "firewall/RXReadRovexConf.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace rovex {
namespace {

namespace fs = std::filesystem;

// Library files are written by the real tools: python3's plistlib (XML or binary) and
// plistutil converting plistlib's XML into a binary list.
enum class Format { Xml, Binary, PlistutilBinary };

// The services of a small library, as a Python literal.
constexpr const char* library = R"PY([
    {"rovexClassName": "RXGroup", "groupName": "Office", "groupAddresses": ["192.0.2.1"],
     "serviceName": "Group", "serviceImage": "group", "servicePorts": "7777",
     "serviceNotifyInbound": True, "serviceNotifyInboundBlock": True},
    {"rovexClassName": "RXService", "serviceName": "Web Server", "serviceImage": "web",
     "servicePorts": "80 443", "serviceNotifyInbound": True, "serviceNotifyInboundBlock": False},
    {"rovexClassName": "RXService", "serviceName": "Proxy", "serviceImage": "proxy",
     "servicePorts": "8080 80", "serviceNotifyInbound": False, "serviceNotifyInboundBlock": True},
    {"rovexClassName": "RXService", "serviceName": "X11", "serviceImage": "x11",
     "servicePorts": "22 6000:6002", "serviceNotifyInbound": True, "serviceNotifyInboundBlock": True},
    {"rovexClassName": "RXService", "serviceName": "Late", "serviceImage": "late",
     "servicePorts": "6001 25"},
    {"rovexClassName": "RXService", "serviceName": "Everything", "serviceImage": "all",
     "servicePorts": "1:65535", "serviceNotifyInbound": False, "serviceNotifyInboundBlock": True},
])PY";

class ReadRovexConfTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "rovex-conf-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
    }

    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }

    static void run(const std::string& command) { EXPECT_EQ(std::system(command.c_str()), 0) << command; }

    fs::path writePlist(const std::string& name, const std::string& literal, Format format) const
    {
        const fs::path script = m_root / ("write-" + name + ".py");
        const fs::path xml = m_root / (name + ".xml");
        const fs::path plist = m_root / (name + ".plist");
        const bool binary = format == Format::Binary;
        std::ofstream(script) << "import plistlib, sys\n"
                              << "with open(sys.argv[1], 'wb') as out:\n"
                              << "    plistlib.dump(" << literal << ", out, fmt=plistlib."
                              << (binary ? "FMT_BINARY" : "FMT_XML") << ")\n";
        if (format != Format::PlistutilBinary) {
            run("python3 -I '" + script.string() + "' '" + plist.string() + "'");
            return plist;
        }
        run("python3 -I '" + script.string() + "' '" + xml.string() + "'");
        run("plistutil -i '" + xml.string() + "' -o '" + plist.string() + "' -f bin");
        return plist;
    }

    fs::path writeBytes(const std::string& name, const std::string& bytes) const
    {
        const fs::path path = m_root / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static std::string bytesOf(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    void expectEmpty(const fs::path& path) const
    {
        EXPECT_TRUE(m_reader.loadAllServices(path).empty()) << path;
        EXPECT_TRUE(m_reader.loadNotify(path).empty()) << path;
        EXPECT_TRUE(m_reader.loadNotifyBlock(path).empty()) << path;
    }

    fs::path m_root;
    const RXReadRovexConf m_reader{};
};

ServiceDescription watched(const char* name, const std::string& ports, const char* image)
{
    return {.serviceName = name, .servicePorts = ports, .serviceImage = image};
}

class ReadRovexConfFormatTest : public ReadRovexConfTest, public testing::WithParamInterface<Format> {
protected:
    fs::path write(const std::string& literal) const { return writePlist("library", literal, GetParam()); }
};

TEST_P(ReadRovexConfFormatTest, ImagesGoToTheFirstServiceListingAPort)
{
    const fs::path path = write(library);
    if (GetParam() != Format::Xml) {
        ASSERT_EQ(bytesOf(path).substr(0, 8), "bplist00");
    }

    // Port 80 stays with the web server; 6001 was given by the range of X11 before "Late"
    // listed it; the group adds nothing; the broad range is kept only as its own token.
    const ServiceImages expected{
        {"80", "web"},   {"443", "web"},  {"8080", "proxy"},    {"22", "x11"},  {"6000", "x11"},
        {"6001", "x11"}, {"6002", "x11"}, {"6000:6002", "x11"}, {"25", "late"}, {"1:65535", "all"},
    };
    EXPECT_EQ(m_reader.loadAllServices(path), expected);
    const ServiceImages names = m_reader.loadServiceNames(path);
    EXPECT_EQ(names.size(), expected.size()) << "the same keys";
    EXPECT_EQ(names.at("22"), "X11");
    EXPECT_EQ(names.at("80"), "Web Server");
    EXPECT_EQ(names.at("8080"), "Proxy");
}

TEST_P(ReadRovexConfFormatTest, WatchListsSpellOutEveryPort)
{
    const fs::path path = write(library);

    const ServiceList passed{watched("Web Server", "80 443 ", "web"), watched("X11", "22 6000 6001 6002  ", "x11")};
    EXPECT_EQ(m_reader.loadNotify(path), passed);

    const ServiceList blocked = m_reader.loadNotifyBlock(path);
    ASSERT_EQ(blocked.size(), 3U);
    EXPECT_EQ(blocked[0], watched("Proxy", "8080 80 ", "proxy"));
    EXPECT_EQ(blocked[1], watched("X11", "22 6000 6001 6002  ", "x11"));
    EXPECT_EQ(blocked[2].serviceName, "Everything");
    EXPECT_EQ(blocked[2].serviceImage, "all");

    // 1..65535, each followed by a space, then the space closing the token:
    // 9*2 + 90*3 + 900*4 + 9000*5 + 55536*6 + 1 characters.
    const std::string& all = blocked[2].servicePorts.value();
    EXPECT_EQ(all.size(), 382105U);
    EXPECT_EQ(all.substr(0, 6), "1 2 3 ");
    EXPECT_EQ(all.substr(all.size() - 13), "65534 65535  ");
    EXPECT_NE(all.find(" 32768 32769 "), std::string::npos);
}

TEST_P(ReadRovexConfFormatTest, MalformedEntriesAreSkippedAndNeighboursCount)
{
    const fs::path path = write(R"PY([
        "RXService", 7, ["RXService", "x", "y", "1000"],
        {"serviceName": "No kind", "serviceImage": "nokind", "servicePorts": "1001",
         "serviceNotifyInbound": True, "serviceNotifyInboundBlock": True},
        {"rovexClassName": True, "serviceName": "Kind as flag", "serviceImage": "flagkind",
         "servicePorts": "1002", "serviceNotifyInbound": True, "serviceNotifyInboundBlock": True},
        {"rovexClassName": "RXService", "serviceName": "No image", "servicePorts": "1003",
         "serviceNotifyInbound": True, "serviceNotifyInboundBlock": True},
        {"rovexClassName": "RXService", "serviceName": 7, "serviceImage": "numbername",
         "servicePorts": "1004", "serviceNotifyInbound": True, "serviceNotifyInboundBlock": True},
        {"rovexClassName": "RXService", "serviceName": "Ports as list", "serviceImage": "list",
         "servicePorts": ["1005"], "serviceNotifyInbound": True, "serviceNotifyInboundBlock": True},
        {"rovexClassName": "RXService", "serviceName": "Ports as number", "serviceImage": "number",
         "servicePorts": 1006, "serviceNotifyInbound": True, "serviceNotifyInboundBlock": True},
        {"rovexClassName": "RXService", "serviceName": "Image as data", "serviceImage": b"img",
         "servicePorts": "1007", "serviceNotifyInbound": True, "serviceNotifyInboundBlock": True},
        {"rovexClassName": "RXService", "serviceName": "Flags as others", "serviceImage": "others",
         "servicePorts": "1008", "serviceNotifyInbound": "YES", "serviceNotifyInboundBlock": 1},
        {"rovexClassName": "RXService", "serviceName": "Blocked only", "serviceImage": "blocked",
         "servicePorts": "1009", "serviceNotifyInboundBlock": True},
        {"rovexClassName": "RXService", "serviceName": "SSH", "serviceImage": "ssh",
         "servicePorts": "22", "serviceNotifyInbound": True, "serviceNotifyInboundBlock": True},
    ])PY");

    // Flags matter only to the watch lists: a service with odd flags still has its image.
    const ServiceImages images{{"1008", "others"}, {"1009", "blocked"}, {"22", "ssh"}};
    EXPECT_EQ(m_reader.loadAllServices(path), images);
    EXPECT_EQ(m_reader.loadNotify(path), ServiceList{watched("SSH", "22 ", "ssh")});
    const ServiceList blocked{watched("Blocked only", "1009 ", "blocked"), watched("SSH", "22 ", "ssh")};
    EXPECT_EQ(m_reader.loadNotifyBlock(path), blocked);
}

TEST_P(ReadRovexConfFormatTest, MalformedRangesAreSkippedWhole)
{
    const fs::path path = write(R"PY([
        {"rovexClassName": "RXService", "serviceName": "Mail", "serviceImage": "mail",
         "servicePorts": "abc:5 25 9:3 1:4000000000 1:655350 -1:3 5: :5 : 1:2:3 30:31",
         "serviceNotifyInbound": True, "serviceNotifyInboundBlock": False},
        {"rovexClassName": "RXService", "serviceName": "Spaced", "serviceImage": "spaced",
         "servicePorts": "40  41", "serviceNotifyInbound": True, "serviceNotifyInboundBlock": False},
        {"rovexClassName": "RXService", "serviceName": "High", "serviceImage": "high",
         "servicePorts": "11:65535 65535:65535 x1:65535", "serviceNotifyInbound": False,
         "serviceNotifyInboundBlock": False},
    ])PY");

    // A token holding a broad range is kept whole even when it is a wider text, and is never
    // read as a range, so its ends need not read; an empty
    // token between two spaces is a key like any other.
    const ServiceImages images{
        {"25", "mail"},       {"30", "mail"},    {"31", "mail"},          {"30:31", "mail"},
        {"1:655350", "mail"}, {"40", "spaced"},  {"", "spaced"},          {"41", "spaced"},
        {"11:65535", "high"}, {"65535", "high"}, {"65535:65535", "high"}, {"x1:65535", "high"},
    };
    EXPECT_EQ(m_reader.loadAllServices(path), images);

    const ServiceList passed{watched("Mail", "25 30 31  ", "mail"), watched("Spaced", "40  41 ", "spaced")};
    EXPECT_EQ(m_reader.loadNotify(path), passed);
    EXPECT_TRUE(m_reader.loadNotifyBlock(path).empty());
}

TEST_P(ReadRovexConfFormatTest, RootThatIsNoListReadsAsEmpty)
{
    expectEmpty(writePlist("dict", R"PY({"services": [{"rovexClassName": "RXService",
        "serviceName": "SSH", "serviceImage": "ssh", "servicePorts": "22",
        "serviceNotifyInbound": True, "serviceNotifyInboundBlock": True}]})PY",
                           GetParam()));
    expectEmpty(writePlist("text", R"PY("RXService")PY", GetParam()));
    expectEmpty(writePlist("empty", "[]", GetParam()));
}

std::string formatName(const testing::TestParamInfo<Format>& param)
{
    switch (param.param) {
    case Format::Xml: return "Xml";
    case Format::Binary: return "Binary";
    case Format::PlistutilBinary: return "PlistutilBinary";
    }
    return "Unknown";
}

INSTANTIATE_TEST_SUITE_P(Formats, ReadRovexConfFormatTest,
                         testing::Values(Format::Xml, Format::Binary, Format::PlistutilBinary), formatName);

TEST_F(ReadRovexConfTest, MissingCorruptAndUnreadableFilesReadAsEmpty)
{
    const std::string xml = bytesOf(writePlist("xml", library, Format::Xml));
    const std::string binary = bytesOf(writePlist("binary", library, Format::Binary));
    ASSERT_GT(xml.size(), 100U);
    ASSERT_GT(binary.size(), 100U);

    expectEmpty(m_root / "missing.plist");
    expectEmpty(m_root);
    expectEmpty(writeBytes("zero", ""));
    expectEmpty(writeBytes("garbage", "this is not a property list\n"));
    expectEmpty(writeBytes("half.xml", xml.substr(0, xml.size() / 2)));
    expectEmpty(writeBytes("half.bin", binary.substr(0, binary.size() / 2)));
    expectEmpty(writeBytes("tail.bin", binary.substr(0, binary.size() - 20)));
    expectEmpty(writeBytes("junk.bin", "bplist00" + std::string(64, '\xff')));
}

TEST_F(ReadRovexConfTest, EveryCallReadsTheFileAnew)
{
    const fs::path path = writePlist("library", library, Format::Xml);
    EXPECT_EQ(m_reader.loadAllServices(path).at("80"), "web");
    ASSERT_EQ(m_reader.loadNotify(path).size(), 2U);

    writePlist("library", R"PY([{"rovexClassName": "RXService", "serviceName": "Proxy",
        "serviceImage": "proxy", "servicePorts": "80", "serviceNotifyInbound": True,
        "serviceNotifyInboundBlock": False}])PY",
               Format::Xml);
    EXPECT_EQ(m_reader.loadAllServices(path), (ServiceImages{{"80", "proxy"}}));
    EXPECT_EQ(m_reader.loadNotify(path), ServiceList{watched("Proxy", "80 ", "proxy")});
    EXPECT_TRUE(m_reader.loadNotifyBlock(path).empty());
}

} // namespace
} // namespace rovex
