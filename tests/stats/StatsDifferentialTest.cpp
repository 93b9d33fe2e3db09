#include "StatsRoot.h"
#include "stats/StatsRun.h"
#include "text/Utf8.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

using rovex::StatsQuery;
using rovex::StatsResult;
using rovex::test::StatsRoot;

namespace {

// The rules read plainly, one line at a time, as the text gives them.
struct Reference {
    std::int64_t lineCount = 0;
    std::int64_t counted = 0;
    std::int64_t kept = 0;
    std::int64_t selected = 0;
    std::map<std::string, std::int64_t> addresses;
    std::map<std::string, std::int64_t> ports;
    std::map<std::string, std::int64_t> portAddresses;
};

std::string replaceAll(std::string text, const std::string& from, const std::string& to)
{
    std::string out;
    for (std::size_t at = 0;;) {
        const std::size_t found = text.find(from, at);
        out += text.substr(at, found - at);
        if (found == std::string::npos)
            return out;
        out += to;
        at = found + from.size();
    }
}

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> pieces(1);
    for (const char c : text) {
        if (c == separator)
            pieces.emplace_back();
        else
            pieces.back() += c;
    }
    return pieces;
}

std::string joined(const std::vector<std::string>& pieces, std::size_t count)
{
    std::string out;
    for (std::size_t i = 0; i < count; ++i)
        out += (i ? "." : "") + pieces[i];
    return out;
}

void readPlainly(const std::string& line, const StatsQuery& query, Reference& reference)
{
    ++reference.lineCount;
    if (!rovex::isValidUtf8(line) || line.empty() || line.find("ethertype Unknown") != std::string::npos)
        return;
    ++reference.counted;
    const std::vector<std::string> fields = split(replaceAll(replaceAll(line, "   ", " "), "  ", " "), ' ');
    if (fields.size() < 15)
        return;
    const std::string& f12 = fields[12];
    if (f12.rfind("\"pdl=", 0) == 0 || f12.rfind("@", 0) == 0 || f12.rfind("0.0.0.0", 0) == 0
        || f12.rfind("::", 0) == 0)
        return;
    const std::vector<std::string> source = split(f12, '.');
    const std::vector<std::string> target = split(fields[14], '.');
    if (source.size() != target.size() || (source.size() != 5 && source.size() != 2))
        return;
    const std::size_t last = source.size() - 1;
    const std::string sourceAddress = joined(source, last);
    const std::string targetAddress = joined(target, last);
    const std::string targetPort = replaceAll(target[last], ":", "");
    if (targetAddress.rfind("224.0.0.", 0) == 0 || source[last] == "5353"
        || (targetAddress.size() >= 4 && targetAddress.ends_with(".255")))
        return;
    ++reference.kept;
    if (fields[8] != query.action || fields[9] != query.direction)
        return;
    ++reference.selected;
    ++reference.addresses[query.direction == "in" ? sourceAddress : targetAddress];
    ++reference.ports[targetPort];
    if (targetPort == query.port->portText)
        ++reference.portAddresses[query.port->direction == "in" ? sourceAddress : targetAddress];
}

template <typename Random>
std::string pick(Random& random, const std::vector<std::string>& choices)
{
    return choices[std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(random)];
}

template <typename Random>
std::string randomLine(Random& random)
{
    const std::vector<std::string> sources{"198.51.100.1.4000",
                                           "198.51.100.7.4000",
                                           "198.51.100.8.1",
                                           "198.51.100.1.4000",
                                           "198.51.100.2.5353",
                                           "2001:db8::1.4000",
                                           "0.0.0.0.68",
                                           "::.546",
                                           "@x.1",
                                           "\"pdl=1.2",
                                           "203.0.113.9.22",
                                           "10.0.0.1",
                                           "a.b.c.d.e"};
    const std::vector<std::string> targets{
        "10.0.0.1.22:",   "10.0.0.2.80:",    "10.0.0.1.22:",      "10.0.0.4.22:",  "224.0.0.251.5353:",
        "10.0.0.255.80:", "2001:db8::2.22:", "2001:db8::3.4:43:", "10.0.0.1.ssh:", "10.0.0.3.:"};
    const std::vector<std::string> spaces{" ", " ",  " ",   " ",    " ",     " ",     " ",
                                          " ", "  ", "   ", "    ", "     ", "      "};
    std::string line = pick(random, {"Dec", "", "Jan"}) + pick(random, spaces)
        + "4 10:15:02 mymac pf: 0.1 rule 1/0(match):";
    line += pick(random, spaces) + pick(random, {"block", "pass", "Pass"}) + pick(random, spaces);
    line += pick(random, {"in", "out"}) + " on en0: " + pick(random, sources) + pick(random, spaces) + ">"
        + pick(random, spaces) + pick(random, targets);
    line += pick(random, {" tcp", "", " ethertype Unknown", " \xff", " \xc3\xa9"});
    if (std::uniform_int_distribution<int>(0, 9)(random) == 0)
        line = line.substr(0, std::uniform_int_distribution<std::size_t>(0, line.size())(random));
    return line;
}

void expectSame(const std::map<std::string, std::int64_t>& expected, const StatsResult& result, bool ports)
{
    std::map<std::string, std::int64_t> seen;
    std::int64_t previous = INT64_MAX;
    for (std::size_t i = 0; i < (ports ? result.ports.size() : result.addresses.size()); ++i) {
        const std::string name = ports ? result.ports[i].portText : result.addresses[i].theAddress;
        const std::int64_t count = ports ? result.ports[i].theOccurrences : result.addresses[i].theOccurrences;
        EXPECT_LE(count, previous) << name;
        previous = count;
        seen[name] = count;
    }
    EXPECT_EQ(seen, expected);
}

} // namespace

TEST_F(StatsRoot, AgreesWithAPlainReadingOfTheRulesHoweverTheWorkIsSplit)
{
    std::mt19937 random(20261206);
    std::vector<std::string> texts(3);
    for (std::string& text : texts) {
        for (int i = 0; i < 3000; ++i)
            text += randomLine(random) + "\n";
        text += randomLine(random); // without a final "\n"
    }
    writeLiveLog(texts[0]);
    writeArchive(0, texts[1]);
    writeArchive(1, texts[2]);

    for (const std::string direction : {"in", "out"}) {
        StatsQuery query;
        query.direction = direction;
        query.limit = 1'000'000;
        query.port = rovex::PortQuery{"22", direction == "in" ? "out" : "in", 1'000'000};
        Reference reference;
        for (const std::string& text : texts) {
            for (const std::string& line : split(text, '\n'))
                readPlainly(line, query, reference);
        }
        ASSERT_GT(reference.selected, 100);
        for (const unsigned threads : {1U, 2U, 3U}) {
            SCOPED_TRACE(direction + " on " + std::to_string(threads) + " threads");
            const StatsResult result = rovex::runStatistics(rovex::LogArchives::productLog(root), 3, query,
                                                            {threads, 1});
            EXPECT_EQ(result.lineCount, reference.lineCount);
            EXPECT_EQ(result.counted, reference.counted);
            EXPECT_EQ(result.kept, reference.kept);
            EXPECT_EQ(result.selected, reference.selected);
            expectSame(reference.addresses, result, false);
            expectSame(reference.ports, result, true);
            std::map<std::string, std::int64_t> onPort;
            for (const auto& entry : result.ipsForPort->entries)
                onPort[entry.theAddress] = entry.theOccurrences;
            EXPECT_EQ(onPort, reference.portAddresses);
        }
    }
}
