#include "ClassifierFixture.h"

using namespace rovex;

namespace {

class LiveClassifierTest : public rovex::testing::ClassifierFixture {};

} // namespace

TEST_F(LiveClassifierTest, InboundLinesToWatchedPortsNotifyInLineOrder)
{
    watch.load({{std::string("HTTPS"), std::string("443 "), std::string("https")}},
               {{std::string("SSH"), std::string("22 "), std::string("ssh")}});
    feed(line("block", "in", "203.0.113.7.4321", "192.168.1.10.22") + "\n"
         + line("pass", "in", "198.51.100.3.5000", "192.168.1.10.443") + "\n"
         + line("block", "out", "192.168.1.10.5000", "198.51.100.3.22") + "\n"
         + line("pass", "in", "198.51.100.3.5000", "192.168.1.10.22") + "\n"
         + line("block", "in", "203.0.113.7", "192.168.1.10")); // ICMP
    ASSERT_EQ(notifications.size(), 2U);
    EXPECT_EQ(notifications[0].subtitle, "203.0.113.7 port 22");
    EXPECT_EQ(notifications[0].title, "Inbound connection blocked");
    EXPECT_EQ(notifications[1].subtitle, "198.51.100.3 port 443");
    EXPECT_EQ(notifications[1].title, "Inbound connection passed");
}

TEST_F(LiveClassifierTest, SamplesOfRealTcpdumpTextCountOnlyTheOneLineInTheLogLayout)
{
    for (const char* name : {"/tcpdump-only.txt", "/real-lines.txt", "/damaged-as-found.txt"}) {
        std::ifstream file(std::string(ROVEX_SAMPLES_DIR) + name);
        std::stringstream text;
        text << file.rdbuf();
        feed(text.str());
    }
    // Of all the collected lines only one has the whole layout (notes.md): the priority-
    // prefixed "block in on rl0: 111.111.111.11.80 > 12.12.12.12.123:". The other line with
    // its action at field 8 has "(tos" where its source should be, and counts nowhere; the
    // rest have other words there.
    for (const TrafficCategory category : allTrafficCategories) {
        const bool counted = category == TrafficCategory::PortBlockIn || category == TrafficCategory::IpBlockIn;
        EXPECT_EQ(store.rowCount(category), counted ? 1U : 0U) << static_cast<int>(category);
    }
    ASSERT_EQ(store.portRows(TrafficCategory::PortBlockIn).size(), 1U);
    EXPECT_EQ(store.portRows(TrafficCategory::PortBlockIn)[0].portName, "123");
    EXPECT_EQ(store.portRows(TrafficCategory::PortBlockIn)[0].portCount, 1);
    ASSERT_EQ(store.ipRows(TrafficCategory::IpBlockIn).size(), 1U);
    EXPECT_EQ(store.ipRows(TrafficCategory::IpBlockIn)[0].ipName, "111.111.111.11");
    EXPECT_EQ(store.ipRows(TrafficCategory::IpBlockIn)[0].ipCount, 1);
    EXPECT_EQ(occurrences(TrafficCategory::PortBlockIn, "123"),
              (std::vector<std::pair<std::string, std::int64_t>>{{"111.111.111.11", 1}}));
}
