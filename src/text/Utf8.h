#pragma once

#include <string_view>

namespace rovex {

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing
// above U+10FFFF). Pure ASCII, the usual case for a log line, takes a fast path.
bool isValidUtf8(std::string_view bytes) noexcept;

} // namespace rovex
