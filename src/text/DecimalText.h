#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace rovex {

// Reads a decimal integer the way every number of the log, the library file and the
// country database is read: an optional leading '+' or '-', then one or more ASCII digits,
// nothing else. Text that does not fit, or a value outside 64 bits, does not read.
std::optional<std::int64_t> readDecimal(std::string_view text);

} // namespace rovex
