#include "intake/ServiceWatch.h"

#include <gtest/gtest.h>

using namespace rovex;

namespace {

ServiceDescription service(const std::string& name, const std::string& ports, const std::string& image)
{
    return {name, ports, image};
}

} // namespace

TEST(ServiceWatch, NotifiesWatchedPortsOfTheRightHalf)
{
    ServiceWatch watch;
    watch.load({}, {service("SSH", "22 ", "ssh")});
    const auto blocked = watch.buildNotifyBlock("22", "203.0.113.7");
    ASSERT_TRUE(blocked);
    EXPECT_EQ(*blocked, (ServiceNotification{"Inbound connection blocked", "203.0.113.7 port 22", " SSH", "ssh"}));
    EXPECT_FALSE(watch.buildNotify("22", "203.0.113.7"));
    EXPECT_FALSE(watch.buildNotifyBlock("23", "203.0.113.7"));
    // The empty piece after the trailing space is not a port: an ICMP line has no port.
    EXPECT_FALSE(watch.buildNotifyBlock("", "203.0.113.7"));
    EXPECT_EQ(watch.arrayServiceNotifyPortBlock(), std::vector<std::string>{"22"});
}

TEST(ServiceWatch, NamesEveryServiceOfThePortAndTheFirstImage)
{
    ServiceWatch watch;
    watch.load({service("Web Server", "80 443", ""), service("Proxy", "8080 80", "proxy"), service("Mail", "25", "mail")},
               {});
    const auto passed = watch.buildNotify("80", "198.51.100.4");
    ASSERT_TRUE(passed);
    EXPECT_EQ(passed->title, "Inbound connection passed");
    EXPECT_EQ(passed->informativeText, " Web Server Proxy");
    EXPECT_EQ(passed->image, "proxy"); // the first service has no image
    EXPECT_EQ(watch.arrayServiceNotifyPort(), (std::vector<std::string>{"80", "443", "8080", "80", "25"}));
}

TEST(ServiceWatch, KerberosIsNeverNotified)
{
    ServiceWatch watch;
    watch.load({service("Kerberos", "88", "k")}, {service("Kerberos", "88", "k")});
    EXPECT_FALSE(watch.buildNotify("88", "10.0.0.1"));
    EXPECT_FALSE(watch.buildNotifyBlock("88", "10.0.0.1"));
}

TEST(ServiceWatch, AddingAndRemovingSingleServices)
{
    ServiceWatch watch;
    watch.addserviceblock(service("SSH", "22", "ssh"));
    watch.addserviceblock(service("SSH alt", "22 2222", "ssh"));
    EXPECT_EQ(watch.arrayServiceNotifyPortBlock(), (std::vector<std::string>{"22", "2222"}));
    EXPECT_EQ(watch.buildNotifyBlock("22", "a")->informativeText, " SSH SSH alt");

    // Removing a service takes its ports off for every service that shared them.
    watch.delserviceblock({std::string("SSH alt"), std::string("22 2222"), std::nullopt});
    EXPECT_TRUE(watch.arrayServiceNotifyPortBlock().empty());
    EXPECT_EQ(watch.arrayServiceNotifyBlock().size(), 1U);
    EXPECT_FALSE(watch.buildNotifyBlock("22", "a"));

    // A port listed without a service that holds it still notifies, with empty texts.
    watch.addserviceblock({std::string("Ghost"), std::nullopt, std::nullopt});
    watch.generatearraynotifyblock({service("Gone", "23", "g")});
    const auto orphan = watch.buildNotifyBlock("23", "b");
    ASSERT_TRUE(orphan);
    EXPECT_EQ(orphan->informativeText, "");
    EXPECT_EQ(orphan->image, "");

    // A removal without a name removes no service, only the ports it names.
    watch.delserviceblock({std::nullopt, std::string("23"), std::nullopt});
    EXPECT_EQ(watch.arrayServiceNotifyBlock().size(), 2U);
    EXPECT_FALSE(watch.buildNotifyBlock("23", "b"));
}

TEST(ServiceWatch, ReloadReplacesBothHalves)
{
    ServiceWatch watch;
    watch.load({service("HTTP", "80", "http")}, {service("SSH", "22", "ssh")});
    watch.addservice(service("HTTPS", "443", "https"));
    watch.load({service("RDP", "3389", "rdp")}, {});
    EXPECT_EQ(watch.arrayServiceNotifyPort(), std::vector<std::string>{"3389"});
    EXPECT_TRUE(watch.arrayServiceNotifyPortBlock().empty());
    EXPECT_FALSE(watch.buildNotify("443", "a"));
}
