#pragma once

#include "sim/SimPacket.h"
#include "sim/SimRandom.h"
#include "sim/StampWriter.h"

#include <cstdint>
#include <string>

namespace rovex {

// Writes a packet as the filterlog CSV of pfSense and OPNsense, behind one of the envelopes
// their logs arrive in: a BSD syslog header with or without "<PRI>", host and "[pid]", an
// RFC 5424 header (OPNsense's with its "[meta sequenceId]"), a receiver's RFC 3339 header,
// or none. Lines behind an RFC 5424 header are written as OPNsense does (lower-case IPv6
// protocol names, a hex rule label, ICMP as "datalength="), the others as pfSense does.
class FilterlogLineWriter final {
public:
    void append(const SimPacket& packet, SimRandom& random, std::string& out);

private:
    enum class Envelope : unsigned char;

    void appendEnvelope(Envelope envelope, const SimPacket& packet, std::string& out);
    static void appendRule(const SimPacket& packet, bool opnsense, std::string& out);
    static void appendIpv4(const SimPacket& packet, SimRandom& random, std::string& out);
    static void appendIpv6(const SimPacket& packet, bool opnsense, std::string& out);
    static void appendTail(const SimPacket& packet, bool opnsense, std::string& out);
    static void appendTcpTail(const SimPacket& packet, std::string& out);

    StampWriter m_stamps;
    std::uint64_t m_sequence = 0; // OPNsense's sequenceId
};

} // namespace rovex
