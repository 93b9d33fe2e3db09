#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace rovex {

// One row of the built-in table that turns a country code into the English name shown
// beside its flag.
struct CountryName {
    std::string_view code; // two letters, upper case
    std::string_view name; // plain ASCII, no commas
};

// The whole table, 251 rows in its fixed order: the ISO 3166-1 alpha-2 countries and
// territories, then EU and ZZ. Constant data, safe to read from any thread.
std::span<const CountryName> countryNames() noexcept;

// The name for a code, compared upper-cased: "it" and "IT" both give "Italy". A code the
// table does not hold (xk, or anything that is not two letters) gives no name.
std::optional<std::string_view> countryName(std::string_view code) noexcept;

} // namespace rovex
