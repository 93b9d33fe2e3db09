#include "sim/StampWriter.h"

#include "sim/SimText.h"

#include <ctime>

namespace rovex {

namespace {

constexpr int microsDigits = 6;

void appendZone(std::string& out, long offsetSeconds)
{
    if (offsetSeconds == 0) {
        out.push_back('Z');
        return;
    }
    out.push_back(offsetSeconds < 0 ? '-' : '+');
    const long minutes = (offsetSeconds < 0 ? -offsetSeconds : offsetSeconds) / 60;
    appendTwoDigits(out, static_cast<int>(minutes / 60));
    out.push_back(':');
    appendTwoDigits(out, static_cast<int>(minutes % 60));
}

} // namespace

void StampWriter::appendEpoch(std::string& out, const SimPacket& packet)
{
    appendNumber(out, static_cast<std::uint64_t>(packet.second));
    appendFraction(out, packet);
}

void StampWriter::appendFraction(std::string& out, const SimPacket& packet)
{
    out.push_back('.');
    appendFixedDigits(out, packet.micros, microsDigits);
}

void StampWriter::appendRfc3339(std::string& out, const SimPacket& packet, bool withFraction)
{
    update(packet.second);
    out.append(m_date).append("T").append(m_clock);
    if (withFraction)
        appendFraction(out, packet);
    out.append(m_zone);
}

void StampWriter::appendDateTime(std::string& out, const SimPacket& packet)
{
    update(packet.second);
    out.append(m_date).append(" ");
    appendClock(out, packet);
}

void StampWriter::appendClock(std::string& out, const SimPacket& packet)
{
    update(packet.second);
    out.append(m_clock);
    appendFraction(out, packet);
}

void StampWriter::update(std::int64_t second)
{
    if (second == m_second)
        return;
    m_second = second;
    const auto seconds = static_cast<std::time_t>(second);
    std::tm local{};
    localtime_r(&seconds, &local);
    m_date.clear();
    appendNumber(m_date, static_cast<std::uint64_t>(local.tm_year) + 1900);
    m_date.push_back('-');
    appendTwoDigits(m_date, local.tm_mon + 1);
    m_date.push_back('-');
    appendTwoDigits(m_date, local.tm_mday);
    m_clock.clear();
    rovex::appendClock(m_clock, local);
    m_zone.clear();
    appendZone(m_zone, local.tm_gmtoff);
}

} // namespace rovex
