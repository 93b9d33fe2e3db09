// Lines a hostile or broken log can hold: the readers and the adapter must neither crash nor
// read fields that are not there, and a long line must not cost more than a pass over it.
#include "layouts/FilterlogReader.h"
#include "intake/LayoutAdapter.h"
#include "layouts/PflogTextReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace rovex;

namespace {

constexpr std::string_view pflogLine
    = "Mar 30 15:47:05.522341 rule 4/(match) block in on lo0: 127.0.0.1.48784 > 127.0.0.1.23: S 1:1(0) win 16384";
constexpr std::string_view filterlogLine
    = "<134>Jan 15 10:23:45 pfsense filterlog[1]: 5,,,1000000103,igb1,match,block,in,4,0x0,,64,1,0,DF,6,tcp,60,"
      "203.0.113.5,192.168.1.10,51234,22,0,S,1,,64240,,mss";

std::vector<std::string> hostileLines()
{
    std::vector<std::string> lines{
        "",
        " ",
        std::string(5000, ' '),
        std::string(5000, ','),
        std::string(5000, '('),
        std::string(5000, '.'),
        std::string(5000, ':'),
        "<",
        "<134>",
        "<134>1 ",
        "filterlog",
        "filterlog[",
        "filterlog:",
        "- -",
        "block in on",
        "block in on :",
        "block in on x: (",
        "block in on x: a >",
        "block in on x: > b:",
        "Jan",
        "Jan 1",
        "2024-13-45T99:99:99",
        "\xff\xfe\xfd block in on \xc3\x28: \x80.1.2.3.4 > 5.6.7.8.9:",
        std::string("block in on em0: 1.2.3.4.5 \0 > 6.7.8.9.10:", 40),
    };
    // Every cut of both layouts' lines, as a truncated write leaves them.
    for (std::size_t size = 0; size < pflogLine.size(); size += 3)
        lines.emplace_back(pflogLine.substr(0, size));
    for (std::size_t size = 0; size < filterlogLine.size(); size += 3)
        lines.emplace_back(filterlogLine.substr(0, size));
    // Anchors repeated many times: each one must be looked at once, not rescanned.
    std::string repeated;
    for (int i = 0; i < 20000; ++i)
        repeated += "block in on em0: (tos ";
    lines.push_back(repeated);
    std::string manyTags;
    std::string openElements;
    for (int i = 0; i < 20000; ++i) {
        manyTags += "filterlog filterlog[1] ";
        openElements += "filterlog 1 - [meta ";
    }
    lines.push_back(manyTags);
    lines.push_back(openElements);
    return lines;
}

} // namespace

TEST(HostileLines, NeitherReaderNorAdapterGivesFieldsThatAreNotThere)
{
    LayoutAdapter adapter(LayoutSetting::All);
    for (const std::string& line : hostileLines()) {
        SCOPED_TRACE(line.substr(0, 80));
        FirewallRecord r;
        if (readPflogText(line, r) == RecordOutcome::Read) {
            // Only a line that holds the whole anchor and both endpoints reads.
            EXPECT_NE(line.find(" on "), std::string::npos);
            EXPECT_NE(line.find(" > "), std::string::npos);
        }
        if (readFilterlog(line, r) == RecordOutcome::Read) {
            EXPECT_FALSE(r.sourceAddress.empty());
            EXPECT_FALSE(r.destinationAddress.empty());
        }
        const std::string_view adapted = adapter.adapt(line);
        if (adapter.lastLayout() == LogLayout::Unread || adapter.lastLayout() == LogLayout::Product) {
            EXPECT_EQ(adapted.data(), line.data());
        }
    }
}

TEST(HostileLines, CutLinesReadAsFarAsTheirTextGoes)
{
    FirewallRecord r;
    // Cut inside the destination's port: what remains is still an endpoint, of a shorter port.
    const std::string_view cut = pflogLine.substr(0, pflogLine.find("23:") + 1);
    ASSERT_EQ(readPflogText(cut, r), RecordOutcome::Read);
    EXPECT_EQ(r.destinationPort, "2");
    EXPECT_EQ(readPflogText(pflogLine.substr(0, pflogLine.find(" > ")), r), RecordOutcome::NoEndpoints);
    EXPECT_EQ(readPflogText(pflogLine.substr(0, pflogLine.find(" on ")), r), RecordOutcome::NotThisLayout);
    EXPECT_EQ(readFilterlog(filterlogLine.substr(0, filterlogLine.find("192.168.1.10")), r),
              RecordOutcome::NoEndpoints);
}

TEST(HostileLines, BytesThatAreNotUtf8PassThroughTheFieldsUnchanged)
{
    const std::string line = "rule 0/0(match): block in on \xe9m0: 10.0.0.\xff.80 > 10.0.0.2.\xc3:";
    FirewallRecord r;
    ASSERT_EQ(readPflogText(line, r), RecordOutcome::Read);
    EXPECT_EQ(r.interfaceName, "\xe9m0");
    EXPECT_EQ(r.sourceAddress, "10.0.0.\xff");
    EXPECT_EQ(r.destinationPort, "\xc3");
}
