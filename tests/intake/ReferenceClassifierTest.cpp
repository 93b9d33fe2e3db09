// The engine against a plain reading of the rules: the reference below normalises by
// replacing text, splits into a full field list, walks its row lists linearly and keeps
// one list entry per occurrence. Random lines of many shapes must give both the same
// tables, occurrences and notifications.
#include "intake/LiveClassifier.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <regex>
#include <string>
#include <vector>

using namespace rovex;

namespace {

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + 1)
        pieces.push_back(text.substr(start, at - start));
    pieces.push_back(text.substr(start));
    return pieces;
}

std::string replaceAll(const std::string& text, const std::string& from, const std::string& to)
{
    std::string result;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(from, start)) != std::string::npos; start = at + from.size())
        result += text.substr(start, at - start) + to;
    return result + text.substr(start);
}

std::string withoutColons(std::string text)
{
    std::erase(text, ':');
    return text;
}

struct ReferenceViewer {
    struct Row {
        std::string name;
        std::int64_t count;
    };
    std::map<std::string, std::vector<Row>> tables;
    std::map<std::string, std::vector<std::pair<std::string, std::vector<std::string>>>> incidenze;
    std::vector<std::string> ignorePort, ignoreIp;
    std::vector<ServiceDescription> passed, blocked;
    std::vector<std::string> passedPorts, blockedPorts;
    std::vector<ServiceNotification> notifications;

    static bool contains(const std::vector<std::string>& list, const std::string& text)
    {
        return std::find(list.begin(), list.end(), text) != list.end();
    }

    void append(const std::string& table, const std::string& key, const std::string& value)
    {
        auto& dictionary = incidenze[table];
        for (auto& [existing, values] : dictionary) {
            if (existing == key) {
                values.push_back(value);
                return;
            }
        }
        dictionary.push_back({key, {value}});
    }

    void update(const std::string& table, const std::string& key)
    {
        for (Row& row : tables[table]) {
            if (row.name == key) {
                ++row.count;
                return;
            }
        }
        const std::string name = replaceAll(key, " ", "");
        if (!name.empty())
            tables[table].push_back({name, 1});
    }

    void notify(bool isBlocked, const std::string& port, const std::string& address)
    {
        if (port == "88" || !contains(isBlocked ? blockedPorts : passedPorts, port))
            return;
        std::string names, image;
        for (const ServiceDescription& service : isBlocked ? blocked : passed) {
            if (contains(split(service.servicePorts.value_or(""), ' '), port)) {
                names += " " + service.serviceName.value_or("");
                if (image.empty())
                    image = service.serviceImage.value_or("");
            }
        }
        notifications.push_back({isBlocked ? "Inbound connection blocked" : "Inbound connection passed",
                                 address + " port " + port, names, image});
    }

    void parseLine(std::string line)
    {
        line = replaceAll(replaceAll(replaceAll(line, "   ", " "), "  ", " "), "\n", "");
        const std::vector<std::string> f = split(line, ' ');
        if (f.size() <= 14)
            return;
        const std::string& s = f[12];
        if (s.rfind("\"pdl=", 0) == 0 || s.rfind('@', 0) == 0 || s.rfind("0.0.0.0", 0) == 0 || s.rfind("::", 0) == 0)
            return;
        const auto source = split(f[12], '.');
        const auto destination = split(f[14], '.');
        std::string srcAddress, dstAddress, dstPort;
        if (source.size() == 5 && destination.size() == 5) {
            srcAddress = source[0] + "." + source[1] + "." + source[2] + "." + source[3];
            dstAddress = destination[0] + "." + destination[1] + "." + destination[2] + "." + destination[3];
            dstPort = withoutColons(destination[4]);
        } else if (source.size() == 2 && destination.size() == 2) {
            srcAddress = source[0];
            dstAddress = destination[0];
            dstPort = withoutColons(destination[1]);
        }
        bool inRange = false;
        if (std::regex_match(dstPort, std::regex("[+-]?[0-9]{1,18}"))) {
            const long long value = std::stoll(dstPort);
            inRange = value >= 1 && value <= 65535;
        }
        const std::string& action = f[8];
        const std::string& direction = f[9];
        if (inRange) {
            if (contains(ignorePort, dstPort) || contains(ignoreIp, dstAddress) || contains(ignoreIp, srcAddress))
                return;
            for (const auto& [a, d, suffix, address] :
                 std::vector<std::tuple<std::string, std::string, std::string, std::string>>{
                     {"block", "in", "BlockIn", srcAddress},
                     {"block", "out", "BlockOut", dstAddress},
                     {"pass", "in", "PassIn", srcAddress},
                     {"pass", "out", "PassOut", dstAddress}}) {
                if (action == a && direction == d) {
                    append("Port" + suffix, dstPort, address);
                    append("Ip" + suffix, address, dstPort);
                }
            }
        }
        if (action == "block" && direction == "in") {
            notify(true, dstPort, srcAddress);
            update("PortBlockIn", dstPort);
            update("IpBlockIn", srcAddress);
        }
        if (action == "block" && direction == "out") {
            update("PortBlockOut", dstPort);
            update("IpBlockOut", dstAddress);
        }
        if (action == "pass" && direction == "in") {
            notify(false, dstPort, srcAddress);
            update("PortPassIn", dstPort);
            update("IpPassIn", srcAddress);
        }
        if (action == "pass" && direction == "out") {
            update("PortPassOut", dstPort);
            update("IpPassOut", dstAddress);
        }
    }
};

template <typename Pool>
const std::string& pick(std::mt19937& random, const Pool& pool)
{
    return pool[random() % pool.size()];
}

std::string randomLine(std::mt19937& random)
{
    static const std::vector<std::string> actions{"block", "block", "pass", "pass", "Block", "nat", ""};
    static const std::vector<std::string> directions{"in", "in", "out", "out", "IN", ""};
    static const std::vector<std::string> hosts{"203.0.113.7", "198.51.100.9", "10.0.0.1", "192.168.1.10", "1.2.3"};
    static const std::vector<std::string> hosts6{"fe80::1", "ff02::fb", "2001:db8::5"};
    static const std::vector<std::string> ports{
        "22", "80", "443", "88", "6001", "0", "70000", "+22", "-5", "080", "", "5353:dhcp", "99999999999999999999"};
    static const std::vector<std::string> odd{"0.0.0.0.68", "::.546", "@rule", "\"pdl=x\"", "host.example", "a.b"};
    const auto endpoint = [&](bool destination) {
        std::string text;
        switch (random() % 8) {
        case 0: text = pick(random, hosts6) + "." + pick(random, ports); break;
        case 1: text = pick(random, hosts); break;
        case 2: text = pick(random, odd); break;
        default: text = pick(random, hosts) + "." + pick(random, ports);
        }
        return destination && random() % 4 != 0 ? text + ":" : text;
    };
    std::vector<std::string> fields{"Dec",
                                    "4",
                                    "10:00:00",
                                    "host",
                                    "pf:",
                                    "00:00:00.1",
                                    "rule",
                                    "1/0(match):",
                                    pick(random, actions),
                                    pick(random, directions),
                                    "on",
                                    "en0:",
                                    endpoint(false),
                                    ">",
                                    endpoint(true),
                                    "UDP,",
                                    "length",
                                    "0"};
    fields.resize(12 + random() % 7);
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line.append(random() % 6 == 0 ? 1 + random() % 6 : 1, ' ');
        line += fields[i];
    }
    return line;
}

} // namespace

TEST(ReferenceClassifier, EngineAgreesWithThePlainReadingOnRandomLines)
{
    const ServiceList passed{{std::string("Web"), std::string("80 443 "), std::string("http")},
                             {std::string("Proxy"), std::string("8080 80 "), std::string("")},
                             {std::string("Kerberos"), std::string("88 "), std::string("k")}};
    const ServiceList blocked{{std::string("SSH"), std::string("22 "), std::string("ssh")},
                              {std::string("X11"), std::string("6000 6001 6002  "), std::string("x11")},
                              {std::string("Odd"), std::string("+22 080 "), std::string("odd")}};
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        ReferenceViewer reference;
        reference.passed = passed;
        reference.blocked = blocked;
        const auto portsOf = [](const ServiceList& services, std::vector<std::string>& ports) {
            for (const auto& service : services)
                for (const auto& port : split(*service.servicePorts, ' '))
                    if (!port.empty())
                        ports.push_back(port);
        };
        portsOf(passed, reference.passedPorts);
        portsOf(blocked, reference.blockedPorts);
        reference.ignorePort = {"443"};
        reference.ignoreIp = {"10.0.0.1"};

        TrafficStore store;
        ServiceWatch watch;
        watch.load(passed, blocked);
        store.addIgnoredPort("443");
        store.addIgnoredAddress("10.0.0.1");
        std::vector<ServiceNotification> notifications;
        LiveClassifier classifier(store, watch, [&](const ServiceNotification& n) { notifications.push_back(n); });

        std::string chunk;
        for (int i = 0; i < 400; ++i) {
            const std::string line = randomLine(random);
            reference.parseLine(line);
            chunk += line + "\n";
        }
        classifier.parseLog(chunk.substr(0, chunk.size() - 1), TimePoint{});

        for (const TrafficCategory category : allTrafficCategories) {
            const std::string name(suffix(category));
            const auto& rows = reference.tables[name];
            ASSERT_EQ(store.rowCount(category), rows.size()) << name << " seed " << seed;
            for (std::size_t i = 0; i < rows.size(); ++i) {
                EXPECT_EQ(store.rowName(category, i), rows[i].name) << name;
                const std::int64_t count = isPortTable(category) ? store.portRows(category)[i].portCount
                                                                 : store.ipRows(category)[i].ipCount;
                EXPECT_EQ(count, rows[i].count) << name << " " << rows[i].name;
            }
            const auto& dictionary = reference.incidenze[name];
            const auto keys = store.occurrenceKeys(category);
            ASSERT_EQ(keys.size(), dictionary.size()) << name << " seed " << seed;
            for (std::size_t k = 0; k < dictionary.size(); ++k) {
                EXPECT_EQ(keys[k], dictionary[k].first) << name;
                std::vector<std::pair<std::string, std::int64_t>> counted;
                for (const std::string& value : dictionary[k].second) {
                    auto found = std::find_if(counted.begin(), counted.end(),
                                              [&](const auto& c) { return c.first == value; });
                    if (found == counted.end())
                        counted.emplace_back(value, 1);
                    else
                        ++found->second;
                }
                std::vector<std::pair<std::string, std::int64_t>> engine;
                for (const auto& [counterpart, count] : store.occurrences(category, dictionary[k].first))
                    engine.emplace_back(counterpart, count);
                EXPECT_EQ(engine, counted) << name << " key " << dictionary[k].first;
            }
        }
        EXPECT_EQ(notifications, reference.notifications) << "seed " << seed;
    }
}
