#include "sim/PflogLineWriter.h"

#include "sim/PacketDetails.h"
#include "sim/SimText.h"

#include <algorithm>

namespace rovex {

namespace {

constexpr std::string_view host = "gw.home.lan";
constexpr std::string_view priority = "<134>"; // local0.info
constexpr std::string_view pid = "31337";
constexpr std::uint32_t verbosePercent = 15;
constexpr std::uint64_t microsPerSecond = 1'000'000;

std::uint64_t microsOf(const SimPacket& packet)
{
    return static_cast<std::uint64_t>(packet.second) * microsPerSecond + packet.micros;
}

} // namespace

enum class PflogLineWriter::Envelope : unsigned char {
    PriorityHostNoTime,  // "<PRI>Mmm dd hh:mm:ss host pf: rule ..."
    HostPidDatedTime,    // "Mmm dd hh:mm:ss host pf[pid]: Mmm dd hh:mm:ss.us rule ..."
    NoHostClock,         // "Mmm dd hh:mm:ss pf: hh:mm:ss.us rule ..."
    PriorityNoHostEpoch, // "<PRI>Mmm dd hh:mm:ss pf[pid]: EPOCH.us rule ..."
    Rfc3339HostClock,    // "yyyy-mm-ddThh:mm:ss.us+hh:mm host pf[pid] hh:mm:ss.us rule ..."
    Rfc5424NoTime,       // "<PRI>1 yyyy-mm-ddThh:mm:ss+hh:mm host pf pid - - rule ..."
    RelayNoTime,         // "Mmm dd hh:mm:ss host pfsyslogd[pid]: rule ..."
    Clock,               // "hh:mm:ss.us rule ..."
    Delta,               // " 00:00:00.000012 rule ..."
    Dated,               // "Mmm dd hh:mm:ss.us rule ..."
    DateTime,            // "yyyy-mm-dd hh:mm:ss.us rule ..."
    NoTime,              // "rule ..."
    count
};

void PflogLineWriter::append(const SimPacket& packet, SimRandom& random, std::string& out)
{
    appendEnvelope(static_cast<Envelope>(random.below(static_cast<std::uint32_t>(Envelope::count))), packet, out);
    m_previousMicros = microsOf(packet);
    if (!random.percent(verbosePercent)) {
        out.append(packet.ruleText);
        return;
    }
    out.append(packet.ruleText.substr(0, packet.ruleText.size() - packet.endpoints.size()));
    appendIpHeader(packet, out);
    out.append(packet.endpoints);
}

void PflogLineWriter::appendEnvelope(Envelope envelope, const SimPacket& packet, std::string& out)
{
    const std::string_view stamp = StampWriter::syslogStamp(packet);
    switch (envelope) {
    case Envelope::PriorityHostNoTime:
        out.append(priority).append(stamp).append(" ").append(host).append(" pf: ");
        return;
    case Envelope::HostPidDatedTime:
        out.append(stamp).append(" ").append(host).append(" pf[").append(pid).append("]: ").append(stamp);
        StampWriter::appendFraction(out, packet);
        break;
    case Envelope::NoHostClock:
        out.append(stamp).append(" pf: ");
        m_stamps.appendClock(out, packet);
        break;
    case Envelope::PriorityNoHostEpoch:
        out.append(priority).append(stamp).append(" pf[").append(pid).append("]: ");
        StampWriter::appendEpoch(out, packet);
        break;
    case Envelope::Rfc3339HostClock:
        m_stamps.appendRfc3339(out, packet, true);
        out.append(" ").append(host).append(" pf[").append(pid).append("] ");
        m_stamps.appendClock(out, packet);
        break;
    case Envelope::Rfc5424NoTime:
        out.append(priority).append("1 ");
        m_stamps.appendRfc3339(out, packet, false);
        out.append(" ").append(host).append(" pf ").append(pid).append(" - - ");
        return;
    case Envelope::RelayNoTime:
        out.append(stamp).append(" ").append(host).append(" pfsyslogd[").append(pid).append("]: ");
        return;
    case Envelope::Clock: m_stamps.appendClock(out, packet); break;
    case Envelope::Delta: appendDelta(packet, out); break;
    case Envelope::Dated:
        out.append(stamp);
        StampWriter::appendFraction(out, packet);
        break;
    case Envelope::DateTime: m_stamps.appendDateTime(out, packet); break;
    case Envelope::NoTime:
    case Envelope::count: return;
    }
    out.push_back(' ');
}

// Newer tcpdump prints -ttt's delta with a leading space.
void PflogLineWriter::appendDelta(const SimPacket& packet, std::string& out) const
{
    const std::uint64_t now = microsOf(packet);
    const std::uint64_t delta = m_previousMicros == 0 ? 0 : now - std::min(now, m_previousMicros);
    const std::uint64_t seconds = delta / microsPerSecond;
    out.push_back(' ');
    appendTwoDigits(out, static_cast<int>(std::min<std::uint64_t>(seconds / 3600, 99)));
    out.push_back(':');
    appendTwoDigits(out, static_cast<int>(seconds / 60 % 60));
    out.push_back(':');
    appendTwoDigits(out, static_cast<int>(seconds % 60));
    out.push_back('.');
    appendFixedDigits(out, delta % microsPerSecond, 6);
}

// "(tos 0x0, ttl 64, id 0, offset 0, flags [DF], proto TCP (6), length 60) " for IPv4,
// "(flowlabel 0x0, hlim 64, next-header TCP (6) payload length: 40) " for IPv6.
void PflogLineWriter::appendIpHeader(const SimPacket& packet, std::string& out)
{
    const std::string_view name = protocolName(packet);
    if (packet.ipv6) {
        out.append("(flowlabel 0x0, hlim 64, next-header ").append(name).append(" (");
        appendNumber(out, protocolNumber(packet));
        out.append(") payload length: ");
    } else {
        out.append("(tos 0x0, ttl 64, id ");
        appendNumber(out, packet.micros % 65536);
        out.append(", offset 0, flags [DF], proto ").append(name).append(" (");
        appendNumber(out, protocolNumber(packet));
        out.append("), length ");
    }
    appendNumber(out, ipLength(packet));
    out.append(") ");
}

} // namespace rovex
