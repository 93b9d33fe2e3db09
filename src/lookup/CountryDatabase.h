#pragma once

#include "lookup/CountryIndex.h"
#include "lookup/CountryMatch.h"

#include <filesystem>
#include <iosfwd>
#include <string_view>

namespace rovex {

// The country database: one file per country, <code>-aggregated.zone, listing the IPv4
// blocks (CIDR text, one per line) of that country, as the firewall product installs
// them. Loaded into countryBlocks() and a CountryIndex that answers country matches.
//
// Threads: countryOf() and countryOfByScan() are const and may run on any number of
// threads at once. load() is not guarded: it changes countryBlocks() and replaces the
// index as a whole, and must not run while any lookup runs (the application loads once at
// start-up, before it asks for matches).
class CountryDatabase final {
public:
    // Reads every *-aggregated.zone file below directory, at any depth, in sorted order of
    // the path relative to it, into countryBlocks(): the code is the file name up to its
    // first "-", the lines are its text split at "\n" (a final "\r" removed, empty lines
    // kept), and a later file of the same code replaces an earlier one. Entries are added or replaced, never
    // removed, so a load may be repeated. Progress lines go to diagnostics: "READING ROVEX
    // COUNTRY DATABASE", "nation aggregated file not found !!" for each listed entry that
    // is not a regular file, "cannot read nation aggregated file PATH" for one whose read
    // fails (its code keeps what it had), and "imported N nations". A missing directory
    // reads nothing.
    void load(const std::filesystem::path& directory, std::ostream& diagnostics);

    const CountryBlocks& countryBlocks() const noexcept { return m_countryBlocks; }

    // The country shown for an address, by the index.
    CountryMatch countryOf(std::string_view address) const;

    // The same result by testing the address against every line, codes ascending and lines
    // in file order, keeping the last hit: the reference the index must agree with.
    CountryMatch countryOfByScan(std::string_view address) const;

private:
    CountryBlocks m_countryBlocks;
    CountryIndex m_index;
};

} // namespace rovex
