#pragma once

#include <string>
#include <string_view>

namespace rovex {

// What kind of address a row's text is, for the rows the country database has no country
// for: the user sees why instead of an empty cell.
enum class AddressClass { Private, LinkLocal, IPv6, Other, NotAnAddress };

// The class of an address text: RFC 1918, loopback and shared (CGNAT) IPv4 space are
// private, as are IPv6 loopback and unique local addresses; 169.254/16 and fe80::/10 are
// link-local; any other IPv6 address is IPv6.
AddressClass classifyAddress(std::string_view address);

// Whether the text is an IPv4 or IPv6 address and nothing else.
bool isAddressText(std::string_view address);

// The address as the log writes it (IPv6 compressed, lower case); empty when the text is
// no address.
std::string canonicalAddress(std::string_view address);

// The word shown in place of a country: "private", "link-local", "IPv6" (when the
// database holds no IPv6 blocks, so no IPv6 address could have a country) or "unknown".
const char* noCountryReason(std::string_view address, bool countriesKnowIPv6);

} // namespace rovex
