#include "intake/ServiceWatch.h"

#include <gtest/gtest.h>

#include <string>

using namespace rovex;

namespace {

ServiceDescription service(const std::string& name, const std::string& ports, const std::string& image)
{
    return {name, ports, image};
}

// Every port from first to last, as the library file spells out a range: "1 2 ... 65535 ".
std::string spelledRange(int first, int last)
{
    std::string ports;
    for (int port = first; port <= last; ++port)
        ports.append(std::to_string(port)).append(" ");
    return ports;
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
    watch.load(
        {service("Web Server", "80 443", ""), service("Proxy", "8080 80", "proxy"), service("Mail", "25", "mail")}, {});
    const auto passed = watch.buildNotify("80", "198.51.100.4");
    ASSERT_TRUE(passed);
    EXPECT_EQ(passed->title, "Inbound connection passed");
    EXPECT_EQ(passed->informativeText, " Web Server Proxy");
    EXPECT_EQ(passed->image, "proxy"); // the first service has no image
    // Each port once, in the order first listed, however many services list it.
    EXPECT_EQ(watch.arrayServiceNotifyPort(), (std::vector<std::string>{"80", "443", "8080", "25"}));
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

TEST(ServiceWatch, AnIdenticalServiceIsWatchedOnce)
{
    ServiceWatch watch;
    const ServiceDescription ssh = service("SSH", "22", "ssh");
    for (int i = 0; i < 3; ++i)
        watch.addserviceblock(ssh);
    EXPECT_EQ(watch.arrayServiceNotifyBlock(), ServiceList{ssh});
    EXPECT_EQ(watch.buildNotifyBlock("22", "a")->informativeText, " SSH");

    // Only an identical description is held back: another image or other ports is another service.
    watch.addserviceblock(service("SSH", "22", "terminal"));
    watch.addserviceblock(service("SSH", "22 2222", "ssh"));
    EXPECT_EQ(watch.arrayServiceNotifyBlock().size(), 3U);
    EXPECT_EQ(watch.buildNotifyBlock("22", "a")->informativeText, " SSH SSH SSH");

    // Sent again after another service took its port away, it watches the port again.
    ServiceWatch passed;
    passed.addservice(service("Web", "80", "web"));
    passed.addservice(service("Proxy", "80 8080", "proxy"));
    passed.delservice(service("Proxy", "80 8080", "proxy"));
    EXPECT_FALSE(passed.buildNotify("80", "a"));
    passed.addservice(service("Web", "80", "web"));
    EXPECT_EQ(passed.arrayServiceNotify(), ServiceList{service("Web", "80", "web")});
    EXPECT_EQ(passed.arrayServiceNotifyPort(), std::vector<std::string>{"80"});
    EXPECT_EQ(passed.buildNotify("80", "a")->informativeText, " Web");
}

TEST(ServiceWatch, WholeRangeServicesShareOneSetOfPorts)
{
    // A hundred services each spelling out every port: the half watches each port once,
    // and a notification still names every service that lists the port, in order.
    const std::string everyPort = spelledRange(1, 65535);
    ServiceList all;
    for (int i = 0; i < 100; ++i)
        all.push_back(service("S" + std::to_string(i), everyPort, i == 0 ? "" : "img" + std::to_string(i)));
    ServiceWatch watch;
    watch.load(all, {});
    ASSERT_EQ(watch.arrayServiceNotifyPort().size(), 65535U);
    EXPECT_EQ(watch.arrayServiceNotifyPort().front(), "1");
    EXPECT_EQ(watch.arrayServiceNotifyPort().back(), "65535");
    std::string names;
    for (int i = 0; i < 100; ++i)
        names.append(" S").append(std::to_string(i));
    EXPECT_EQ(*watch.buildNotify("443", "a"),
              (ServiceNotification{"Inbound connection passed", "a port 443", names, "img1"}));
    // A port is text: one spelled otherwise, or out of range, is not the number.
    EXPECT_FALSE(watch.buildNotify("0443", "a"));
    EXPECT_FALSE(watch.buildNotify("65536", "a"));
    EXPECT_FALSE(watch.buildNotify("0", "a"));
}

TEST(ServiceWatch, RemovingAWholeRangeServiceLeavesNothingWatched)
{
    ServiceWatch watch;
    const ServiceDescription everything = service("All", spelledRange(1, 65535), "all");
    watch.addserviceblock(service("Named", "ssh 22 022", "n"));
    watch.addserviceblock(everything);
    watch.addserviceblock(service("Mail", "25", "mail"));
    EXPECT_EQ(watch.arrayServiceNotifyPortBlock().size(), 65537U); // "ssh" and "022" are ports too
    EXPECT_EQ(watch.buildNotifyBlock("022", "a")->informativeText, " Named");
    EXPECT_EQ(watch.buildNotifyBlock("25", "a")->informativeText, " All Mail");

    watch.delserviceblock(everything);
    EXPECT_EQ(watch.arrayServiceNotifyPortBlock(), (std::vector<std::string>{"ssh", "022"}));
    EXPECT_EQ(watch.arrayServiceNotifyBlock(),
              (ServiceList{service("Named", "ssh 22 022", "n"), service("Mail", "25", "mail")}));
    EXPECT_FALSE(watch.buildNotifyBlock("25", "a"));
    EXPECT_FALSE(watch.buildNotifyBlock("22", "a"));
    EXPECT_EQ(watch.buildNotifyBlock("ssh", "a")->informativeText, " Named");
}
