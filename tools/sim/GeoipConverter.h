#pragma once

#include "sim/AddressRange.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <string_view>
#include <vector>

namespace rovex {

struct GeoipSummary {
    std::size_t files = 0;
    std::size_t blocks = 0;
    std::size_t rangesWithoutCountry = 0;
};

// Turns an IPv4 country source in tor's geoip format into the firewall product's country
// database: one "<cc>-aggregated.zone" file per country, one CIDR block per line, the
// country's touching ranges joined first so that the lists stay short.
class GeoipConverter final {
public:
    // Source format: lines starting with '#' are comments; every other non-empty line is
    // LOW,HIGH,CC with LOW <= HIGH decimal 32-bit addresses and a two-letter code. The code
    // "??" marks addresses without a country; they are counted and left out. Anything else
    // throws std::runtime_error naming the line.
    void readFile(const std::filesystem::path& source);
    void readText(std::string_view text);

    // Writes the files into folder, creating it when missing; files of other countries
    // already there are left alone.
    GeoipSummary write(const std::filesystem::path& folder) const;

private:
    void readLine(std::string_view line, std::size_t lineNumber);

    // Indexed by the two letters of the code: no lookup by text per source line.
    static constexpr std::size_t codeCount = std::size_t{26} * 26;
    std::array<std::vector<AddressRange>, codeCount> m_ranges;
    std::size_t m_rangesWithoutCountry = 0;
};

} // namespace rovex
