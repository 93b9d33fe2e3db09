// The simulator's layouts as the viewer reads them: every line goes through the real layout
// adapter with every layout switched on, and must come out as the layout it was written in,
// carrying the fields of the product line written for the same packet.
#include "SimTestSupport.h"
#include "firewall/FixedPaths.h"
#include "intake/LayoutAdapter.h"
#include "intake/LogIntake.h"
#include "intake/ServiceWatch.h"
#include "intake/TrafficStore.h"
#include "sim/LayoutLineWriter.h"
#include "sim/LogLineGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace rovex {
namespace {

using simtest::pfFields;

struct Endpoint {
    std::string address;
    std::string port;
    bool operator==(const Endpoint&) const = default;
};

// What the viewer's tables take of a packet.
struct PacketView {
    std::string action;
    std::string direction;
    std::string interfaceName;
    Endpoint source;
    Endpoint destination;
    bool operator==(const PacketView&) const = default;
};

std::ostream& operator<<(std::ostream& out, const PacketView& v)
{
    return out << v.action << ' ' << v.direction << " on " << v.interfaceName << ": " << v.source.address << " port "
               << v.source.port << " > " << v.destination.address << " port " << v.destination.port;
}

// An endpoint of the product layout: the port follows the fourth dot of IPv4 or the only dot
// of IPv6; ICMP's bare address has none, or an empty one where the adapter wrote the line.
Endpoint endpointOf(std::string text)
{
    if (text.ends_with(':'))
        text.pop_back();
    const auto dots = std::count(text.begin(), text.end(), '.');
    const bool ipv6 = text.find(':') != std::string::npos;
    if (dots != (ipv6 ? 1 : 4))
        return {text, ""};
    const std::size_t dot = text.rfind('.');
    return {text.substr(0, dot), text.substr(dot + 1)};
}

PacketView viewOf(std::string_view productLine)
{
    const std::vector<std::string> f = pfFields(productLine);
    if (f.size() < 15)
        return {};
    return {f[8], f[9], f[11].substr(0, f[11].size() - 1), endpointOf(f[12]), endpointOf(f[14])};
}

// A line's envelope with its digits blurred: the text before pf's rule or filterlog's CSV.
std::string envelopeShape(std::string_view line)
{
    std::size_t end = line.find("rule ");
    if (end == std::string_view::npos) {
        const std::size_t csv = line.find(",,,");
        end = line.rfind(' ', csv);
        end = end == std::string_view::npos ? 0 : end + 1;
    }
    std::string shape(line.substr(0, end));
    std::replace_if(
        shape.begin(), shape.end(), [](char c) { return c >= '0' && c <= '9'; }, '9');
    return shape;
}

// The generator's packets one by one, each with its product line.
class Packets {
public:
    Packets(std::uint64_t seed, std::size_t remotes) : m_generator(seed, remotes) {}

    const SimPacket& next()
    {
        m_product.clear();
        m_generator.appendLine(m_product, m_packet);
        return m_packet;
    }

private:
    LogLineGenerator m_generator;
    std::string m_product;
    SimPacket m_packet;
};

std::string lineOf(LayoutLineWriter& writer, const SimPacket& packet)
{
    std::string line;
    writer.append(packet, line);
    return line;
}

// The adapter's layout for every line of a run, and how many envelopes they came in.
struct Reading {
    std::map<LogLayout, std::size_t> layouts;
    std::set<std::string> envelopes;
    std::size_t dated = 0;
};

Reading readThrough(SimLayout layout, std::uint64_t seed, std::size_t lines)
{
    Packets packets(seed, 3000);
    LayoutLineWriter writer(layout, seed);
    LayoutAdapter adapter(LayoutSetting::All);
    Reading reading;
    for (std::size_t i = 0; i < lines; ++i) {
        const SimPacket& packet = packets.next();
        const std::string line = lineOf(writer, packet);
        const std::string_view product = packet.line;
        SCOPED_TRACE(line);
        const std::string adapted(adapter.adapt(line));
        ++reading.layouts[adapter.lastLayout()];
        reading.envelopes.insert(envelopeShape(line));
        EXPECT_EQ(viewOf(adapted), viewOf(product));
        const std::vector<std::string> date = pfFields(adapted);
        if (date[0] == "-")
            continue;
        ++reading.dated;
        const std::vector<std::string> productDate = pfFields(product);
        EXPECT_EQ(std::vector(date.begin(), date.begin() + 3),
                  std::vector(productDate.begin(), productDate.begin() + 3));
    }
    return reading;
}

TEST(SimLayouts, EveryLineReadsAsItsLayoutWithItsPacketsFieldsAndDate)
{
    constexpr std::size_t lines = 4000;
    const Reading pflog = readThrough(SimLayout::Pflog, 11, lines);
    EXPECT_EQ(pflog.layouts.at(LogLayout::Pflog), lines);
    EXPECT_GE(pflog.envelopes.size(), 12u); // syslog, RFC 3339/5424 and tcpdump's own forms
    EXPECT_GT(pflog.dated, 0u);
    EXPECT_LT(pflog.dated, lines); // some forms carry no calendar date

    const Reading filterlog = readThrough(SimLayout::Filterlog, 11, lines);
    EXPECT_EQ(filterlog.layouts.at(LogLayout::Filterlog), lines);
    EXPECT_GE(filterlog.envelopes.size(), 9u);
    EXPECT_LT(filterlog.dated, lines); // bare CSV has none

    // The product's reading skips lines without ports (ICMP), which the adapter then reads
    // as the pflog text they are.
    const Reading product = readThrough(SimLayout::Product, 11, lines);
    EXPECT_EQ(product.layouts.size(), 2u);
    EXPECT_GT(product.layouts.at(LogLayout::Product), lines * 9 / 10);
    EXPECT_EQ(product.layouts.count(LogLayout::Unread), 0u);

    const Reading mixed = readThrough(SimLayout::Mixed, 11, lines);
    EXPECT_EQ(mixed.layouts.count(LogLayout::Unread), 0u);
    for (const LogLayout layout : {LogLayout::Product, LogLayout::Pflog, LogLayout::Filterlog})
        EXPECT_GT(mixed.layouts.at(layout), lines / 5) << describe(layout);
}

// Lines of every protocol family the readers tell apart, in both IP versions.
TEST(SimLayouts, FilterlogAndVerbosePflogCoverEveryProtocolFamily)
{
    Packets packets(5, 3000);
    LayoutLineWriter filterlog(SimLayout::Filterlog, 5);
    LayoutLineWriter pflog(SimLayout::Pflog, 5);
    std::set<std::string> families;
    std::set<std::string> verbose;
    for (int i = 0; i < 6000; ++i) {
        const SimPacket& packet = packets.next();
        const std::string line = lineOf(filterlog, packet);
        const std::string csv = line.substr(line.rfind(' ', line.find(",,,")) + 1);
        std::vector<std::string> f;
        for (std::size_t at = 0, comma = 0; comma != std::string::npos; at = comma + 1) {
            comma = csv.find(',', at);
            f.push_back(csv.substr(at, comma - at));
        }
        families.insert(f[8] + " " + (f[8] == "4" ? f[16] : f[12]));
        const std::string verboseLine = lineOf(pflog, packet);
        for (const char* header : {"(tos ", "(flowlabel "}) {
            if (verboseLine.find(header) != std::string::npos)
                verbose.insert(header);
        }
    }
    EXPECT_EQ(families,
              (std::set<std::string>{"4 tcp", "4 udp", "4 icmp", "6 TCP", "6 UDP", "6 ICMPv6", "6 tcp", "6 udp",
                                     "6 ipv6-icmp"}));
    EXPECT_EQ(verbose.size(), 2u);
}

TEST(SimLayouts, TheSeedFixesEveryLineAndTheProductLayoutIsTheGeneratorsOwn)
{
    const auto run = [](SimLayout layout, std::uint64_t packetSeed, std::uint64_t layoutSeed) {
        Packets packets(packetSeed, 500);
        LayoutLineWriter writer(layout, layoutSeed);
        std::string text;
        for (int i = 0; i < 500; ++i)
            text += lineOf(writer, packets.next()) + "\n";
        return text;
    };
    LogLineGenerator plain(3, 500);
    std::string plainText;
    for (int i = 0; i < 500; ++i)
        plainText += plain.next() + "\n";
    EXPECT_EQ(run(SimLayout::Product, 3, 3), plainText);
    for (const SimLayout layout : {SimLayout::Pflog, SimLayout::Filterlog, SimLayout::Mixed}) {
        EXPECT_EQ(run(layout, 3, 3), run(layout, 3, 3));
        EXPECT_NE(run(layout, 3, 3), run(layout, 3, 4)); // the envelopes follow the seed
    }
}

// Reading every layout changes nothing for the product's own lines: the same rows with the
// same counts in every table, the same outcomes, and each line counted once per layout.
TEST(SimLayouts, ProductLinesFillTheSameTablesWithEveryLayoutRead)
{
    LogLineGenerator generator(5, 2000);
    std::string text;
    for (int i = 0; i < 20'000; ++i)
        text += generator.next() + "\n";
    struct Run {
        TrafficStore store;
        ServiceWatch watch;
        LogIntake intake{store, watch, {}};
    };
    Run product;
    Run all;
    all.intake.setLayouts(LayoutSetting::All);
    const TimePoint now = Clock::now();
    product.intake.feed(text, now);
    all.intake.feed(text, now);

    EXPECT_EQ(product.intake.classifier().outcomes(), all.intake.classifier().outcomes());
    for (const TrafficCategory category : allTrafficCategories) {
        ASSERT_EQ(product.store.rowCount(category), all.store.rowCount(category));
        const auto countAt = [category](const TrafficStore& store, std::size_t row) {
            return isPortTable(category) ? store.portRows(category)[row].portCount
                                         : store.ipRows(category)[row].ipCount;
        };
        for (std::size_t row = 0; row < product.store.rowCount(category); ++row) {
            ASSERT_EQ(product.store.rowName(category, row), all.store.rowName(category, row));
            ASSERT_EQ(countAt(product.store, row), countAt(all.store, row));
        }
        EXPECT_EQ(product.store.rankedByCount(category), all.store.rankedByCount(category));
    }
    const LayoutAdapter::LayoutCounts& counts = all.intake.layouts().counts();
    // Lines without ports (ICMP) take the pflog road, and come out as the product reads them.
    EXPECT_GT(counts[static_cast<std::size_t>(LogLayout::Product)], 15'000U);
    EXPECT_EQ(counts[static_cast<std::size_t>(LogLayout::Product)] + counts[static_cast<std::size_t>(LogLayout::Pflog)],
              20'000U);
}

// The real tool: each --layout writes lines the adapter reads as that layout, of the packets
// the product layout gets for the same seed.
TEST(SimLayouts, TheToolWritesEachLayout)
{
    const simtest::TempRoot root;
    const auto logOf = [&root](const std::string& layout) {
        const std::filesystem::path dir = root.path() / layout;
        const simtest::ProcessResult result = simtest::runProcess({simtest::simExecutable, "log", "--root",
                                                                   dir.string(), "--rate", "2000", "--seconds", "0.5",
                                                                   "--seed", "8", "--layout", layout},
                                                                  root.path());
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return simtest::linesOf(simtest::readFile(paths::underRoot(dir, paths::pfLog)));
    };
    const std::vector<std::string> product = logOf("product");
    ASSERT_EQ(product.size(), 1000u);
    const std::array<std::pair<std::string, LogLayout>, 2> layouts{
        {{"pflog", LogLayout::Pflog}, {"filterlog", LogLayout::Filterlog}}};
    for (const auto& [name, layout] : layouts) {
        const std::vector<std::string> lines = logOf(name);
        ASSERT_EQ(lines.size(), product.size()) << name;
        LayoutAdapter adapter(LayoutSetting::All);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(viewOf(adapter.adapt(lines[i])), viewOf(product[i])) << lines[i];
            EXPECT_EQ(adapter.lastLayout(), layout) << lines[i];
        }
    }
    LayoutAdapter adapter(LayoutSetting::All);
    for (const std::string& line : logOf("mixed"))
        adapter.adapt(line);
    for (const LogLayout layout : {LogLayout::Product, LogLayout::Pflog, LogLayout::Filterlog})
        EXPECT_GT(adapter.counts()[static_cast<std::size_t>(layout)], 200u) << describe(layout);
    EXPECT_EQ(adapter.counts()[static_cast<std::size_t>(LogLayout::Unread)], 0u);
}

} // namespace
} // namespace rovex
