#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <string_view>

namespace rovex {

using Clock = std::chrono::system_clock;
using TimePoint = Clock::time_point;

// The rows' texts are views into the store's interned names, which stay where they are
// for the store's life: a row of a million-address table then costs tens of bytes, not
// three strings of its own.

// A table's rows. A deque never moves its rows as it grows: a vector of a million rows
// doubling would copy 70 MB while a line waits.
template <typename Row>
using RowList = std::deque<Row>;

// A row of a port table.
struct ObjPort {
    std::string_view portName;
    std::string_view portImage; // image name: the service's image, or "genericservice"
    std::int64_t portCount = 0;
    TimePoint portDate;         // first sighting; never changed
    std::uint64_t sighting = 0; // order of creation across the store: ties rank by it
};

// A row of an address table. ipImage names the country flag, which is the country code
// as the database names it; both it and nationName stay empty until a country is found.
struct ObjIp {
    std::string_view ipName;
    std::int64_t ipCount = 0;
    TimePoint ipDate;
    std::string_view ipImage;
    std::string_view nationName;
    std::uint64_t sighting = 0;
};

inline std::string_view rowName(const ObjPort& row) { return row.portName; }
inline std::string_view rowName(const ObjIp& row) { return row.ipName; }
inline std::int64_t rowCount(const ObjPort& row) { return row.portCount; }
inline std::int64_t rowCount(const ObjIp& row) { return row.ipCount; }
inline TimePoint rowDate(const ObjPort& row) { return row.portDate; }
inline TimePoint rowDate(const ObjIp& row) { return row.ipDate; }
inline void countUp(ObjPort& row) { ++row.portCount; }
inline void countUp(ObjIp& row) { ++row.ipCount; }

} // namespace rovex
