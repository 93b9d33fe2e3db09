#pragma once

#include "sim/SimPacket.h"
#include "sim/SimRandom.h"
#include "sim/StampWriter.h"

#include <cstdint>
#include <string>

namespace rovex {

// Writes a packet as pf's log text the way tcpdump prints it and loggers pass it on: behind
// a syslog header with or without "<PRI>", host and "[pid]", behind an RFC 3339 or RFC 5424
// header, or bare, with tcpdump's time in one of its forms or none; some lines as "-v"
// prints them, with the IP header in parentheses before the endpoints. The envelopes are
// those of real pf logs; none puts the action at the product layout's field 8.
class PflogLineWriter final {
public:
    void append(const SimPacket& packet, SimRandom& random, std::string& out);

private:
    enum class Envelope : unsigned char;

    void appendEnvelope(Envelope envelope, const SimPacket& packet, std::string& out);
    void appendDelta(const SimPacket& packet, std::string& out) const;
    static void appendIpHeader(const SimPacket& packet, std::string& out);

    StampWriter m_stamps;
    std::uint64_t m_previousMicros = 0; // of the line before, for tcpdump's delta time
};

} // namespace rovex
