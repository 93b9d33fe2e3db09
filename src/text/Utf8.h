#pragma once

#include <cstddef>
#include <string_view>

namespace rovex {

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing
// above U+10FFFF). Pure ASCII, the usual case for a log line, takes a fast path.
bool isValidUtf8(std::string_view bytes) noexcept;

// Length of the well-formed UTF-8 sequence that starts at bytes[at] (1 for an ASCII byte),
// 0 when none starts there; at must lie inside bytes.
std::size_t utf8SequenceLength(std::string_view bytes, std::size_t at) noexcept;

} // namespace rovex
