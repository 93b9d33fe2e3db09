#pragma once

#include <string>
#include <string_view>

namespace rovex {

// What the country match shows for an address. code selects the flag (lower case, as in
// the database file name) and is the code of the last block that holds the address, empty
// when none does. nation is the name of the last holding block whose code the name table
// knows, empty when none; a later hit with an unknown code (xk) leaves it as it was. It
// points into the constant name table and stays valid for the whole run.
struct CountryMatch {
    std::string code;
    std::string_view nation;

    bool operator==(const CountryMatch&) const = default;
};

} // namespace rovex
