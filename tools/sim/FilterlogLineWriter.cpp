#include "sim/FilterlogLineWriter.h"

#include "sim/PacketDetails.h"
#include "sim/SimText.h"

namespace rovex {

namespace {

constexpr std::string_view host = "pfsense.home.lan";
constexpr std::string_view priority = "<134>"; // local0.info
constexpr std::string_view pid = "48213";

void appendOptionalNumber(std::string& out, std::optional<std::uint64_t> value)
{
    if (value)
        appendNumber(out, *value);
}

// tcpdump's "Flags [P.]" as filterlog writes it: "PA" (the "." is the ACK bit).
void appendTcpFlags(const SimPacket& packet, std::string& out)
{
    constexpr std::string_view label = "Flags [";
    const std::size_t at = packet.details.find(label);
    if (at == std::string_view::npos)
        return;
    bool ack = false;
    for (std::size_t i = at + label.size(); i < packet.details.size() && packet.details[i] != ']'; ++i) {
        if (packet.details[i] == '.')
            ack = true;
        else
            out.push_back(packet.details[i]);
    }
    if (ack)
        out.push_back('A');
}

} // namespace

enum class FilterlogLineWriter::Envelope : unsigned char {
    PriorityHostPid, // "<PRI>Mmm dd hh:mm:ss host filterlog[pid]: "
    HostPid,         // "Mmm dd hh:mm:ss host filterlog[pid]: "
    PriorityPid,     // "<PRI>Mmm dd hh:mm:ss filterlog[pid]: "
    HostNoPid,       // "Mmm dd hh:mm:ss host filterlog: ", pfSense before 2.5
    Rfc5424,         // "<PRI>1 yyyy-mm-ddThh:mm:ss+hh:mm host filterlog pid - - "
    Rfc5424Meta,     // "<PRI>1 ... host filterlog pid - [meta sequenceId="N"] ", OPNsense
    Rfc3339,         // "yyyy-mm-ddThh:mm:ss.us+hh:mm host filterlog pid - - "
    Rfc3339NoColon,  // "yyyy-mm-ddThh:mm:ss+hh:mm host filterlog[pid] ", a receiver's
    Bare,            // the CSV alone
    count
};

void FilterlogLineWriter::append(const SimPacket& packet, SimRandom& random, std::string& out)
{
    const auto envelope = static_cast<Envelope>(random.below(static_cast<std::uint32_t>(Envelope::count)));
    appendEnvelope(envelope, packet, out);
    const bool opnsense = envelope == Envelope::Rfc5424 || envelope == Envelope::Rfc5424Meta;
    appendRule(packet, opnsense, out);
    if (packet.ipv6)
        appendIpv6(packet, opnsense, out);
    else
        appendIpv4(packet, random, out);
    appendTail(packet, opnsense, out);
}

void FilterlogLineWriter::appendEnvelope(Envelope envelope, const SimPacket& packet, std::string& out)
{
    const std::string_view stamp = StampWriter::syslogStamp(packet);
    switch (envelope) {
    case Envelope::PriorityHostPid: out.append(priority); [[fallthrough]];
    case Envelope::HostPid:
        out.append(stamp).append(" ").append(host).append(" filterlog[").append(pid).append("]: ");
        return;
    case Envelope::PriorityPid:
        out.append(priority).append(stamp).append(" filterlog[").append(pid).append("]: ");
        return;
    case Envelope::HostNoPid: out.append(stamp).append(" ").append(host).append(" filterlog: "); return;
    case Envelope::Rfc5424:
    case Envelope::Rfc5424Meta: out.append(priority).append("1 "); break;
    case Envelope::Rfc3339:
    case Envelope::Rfc3339NoColon: break;
    case Envelope::Bare:
    case Envelope::count: return;
    }
    m_stamps.appendRfc3339(out, packet, envelope == Envelope::Rfc3339);
    out.append(" ").append(host).append(" filterlog");
    if (envelope == Envelope::Rfc3339NoColon) {
        out.append("[").append(pid).append("] ");
        return;
    }
    out.append(" ").append(pid).append(" - ");
    if (envelope != Envelope::Rfc5424Meta) {
        out.append("- ");
        return;
    }
    out.append("[meta sequenceId=\"");
    appendNumber(out, ++m_sequence);
    out.append("\"] ");
}

// "RULE,,,TRACKER,IFACE,match,ACTION,DIR,": pfSense tracks rules by number, OPNsense by label.
void FilterlogLineWriter::appendRule(const SimPacket& packet, bool opnsense, std::string& out)
{
    appendNumber(out, packet.rule);
    out.append(opnsense ? ",,,02f4bab031b57d1e30553ce08e0ec13" : ",,,100000010");
    appendNumber(out, packet.rule);
    out.append(",").append(packet.interfaceName).append(",match,").append(packet.action);
    out.append(",").append(packet.direction).append(",");
}

// "4,TOS,ECN,TTL,ID,OFFSET,FLAGS,PROTO,proto,LENGTH,SRC,DST".
void FilterlogLineWriter::appendIpv4(const SimPacket& packet, SimRandom& random, std::string& out)
{
    out.append("4,0x0,,64,");
    appendNumber(out, random.below(65536));
    out.append(packet.protocol == SimProtocol::Tcp ? ",0,DF," : ",0,none,");
    appendNumber(out, protocolNumber(packet));
    out.append(packet.protocol == SimProtocol::Tcp       ? ",tcp,"
                   : packet.protocol == SimProtocol::Udp ? ",udp,"
                                                         : ",icmp,");
    appendNumber(out, ipLength(packet));
    out.append(",").append(packet.sourceAddress).append(",").append(packet.destinationAddress);
}

// "6,CLASS,FLOW,HLIM,proto,PROTO,LENGTH,SRC,DST".
void FilterlogLineWriter::appendIpv6(const SimPacket& packet, bool opnsense, std::string& out)
{
    out.append("6,0x00,0x00000,64,");
    if (opnsense)
        out.append(packet.protocol == SimProtocol::Tcp       ? "tcp"
                       : packet.protocol == SimProtocol::Udp ? "udp"
                                                             : "ipv6-icmp");
    else
        out.append(protocolName(packet));
    out.push_back(',');
    appendNumber(out, protocolNumber(packet));
    out.push_back(',');
    appendNumber(out, ipLength(packet));
    out.append(",").append(packet.sourceAddress).append(",").append(packet.destinationAddress);
}

// TCP and UDP: ports, then their own fields. ICMP: pfSense's type and its fields, OPNsense's
// data length; ICMPv6 has no tail, so its line ends with a comma.
void FilterlogLineWriter::appendTail(const SimPacket& packet, bool opnsense, std::string& out)
{
    out.push_back(',');
    if (packet.protocol == SimProtocol::Icmp) {
        if (packet.ipv6)
            return;
        if (opnsense) {
            out.append("datalength=");
            appendNumber(out, dataLength(packet));
            return;
        }
        out.append("request,");
        appendOptionalNumber(out, detailNumber(packet, "id "));
        out.push_back(',');
        appendOptionalNumber(out, detailNumber(packet, "seq "));
        return;
    }
    appendNumber(out, packet.sourcePort);
    out.push_back(',');
    appendNumber(out, packet.destinationPort);
    out.push_back(',');
    appendNumber(out, dataLength(packet));
    if (packet.protocol == SimProtocol::Tcp)
        appendTcpTail(packet, out);
}

// ",FLAGS,SEQ,ACK,WINDOW,URG,OPTIONS".
void FilterlogLineWriter::appendTcpTail(const SimPacket& packet, std::string& out)
{
    out.push_back(',');
    appendTcpFlags(packet, out);
    out.push_back(',');
    appendOptionalNumber(out, detailNumber(packet, "seq "));
    out.push_back(',');
    appendOptionalNumber(out, detailNumber(packet, "ack "));
    out.push_back(',');
    appendOptionalNumber(out, detailNumber(packet, "win "));
    out.append(packet.details.find("mss ") == std::string_view::npos ? ",," : ",,mss");
}

} // namespace rovex
