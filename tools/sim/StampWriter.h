#pragma once

#include "sim/SimPacket.h"

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace rovex {

// Writes a packet's time in the forms that loggers and tcpdump print, in local time. The
// calendar parts are worked out once a second, not once a line.
class StampWriter final {
public:
    // "Dec  6 09:35:10": the product line starts with it.
    static std::string_view syslogStamp(const SimPacket& packet) { return packet.line.substr(0, 15); }
    // "1733477710.123456".
    static void appendEpoch(std::string& out, const SimPacket& packet);
    // ".123456".
    static void appendFraction(std::string& out, const SimPacket& packet);

    // "2024-12-06T09:35:10+01:00", or with ".123456" before the zone.
    void appendRfc3339(std::string& out, const SimPacket& packet, bool withFraction);
    // "2024-12-06 09:35:10.123456", tcpdump's -tttt.
    void appendDateTime(std::string& out, const SimPacket& packet);
    // "09:35:10.123456", tcpdump's default.
    void appendClock(std::string& out, const SimPacket& packet);

private:
    void update(std::int64_t second);

    std::int64_t m_second = std::numeric_limits<std::int64_t>::min();
    std::string m_date;  // "2024-12-06"
    std::string m_clock; // "09:35:10"
    std::string m_zone;  // "+01:00", or "Z" at UTC
};

} // namespace rovex
