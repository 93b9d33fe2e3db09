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

TEST_F(LiveClassifierTest, SamplesOfRealTcpdumpTextNeverCrashOrCountJunk)
{
    // The collected lines come in many layouts; whatever they give, it is a well-formed
    // table row: a non-empty name without spaces.
    for (const char* name : {"/tcpdump-only.txt", "/real-lines.txt", "/damaged-as-found.txt"}) {
        std::ifstream file(std::string(ROVEX_SAMPLES_DIR) + name);
        std::stringstream text;
        text << file.rdbuf();
        feed(text.str());
    }
    for (const TrafficCategory category : allTrafficCategories) {
        for (std::size_t i = 0; i < store.rowCount(category); ++i) {
            EXPECT_FALSE(store.rowName(category, i).empty());
            EXPECT_EQ(store.rowName(category, i).find(' '), std::string_view::npos);
        }
    }
    EXPECT_GT(store.rowCount(TrafficCategory::PortBlockIn), 0U);
}
