#pragma once

#include <string>
#include <string_view>

namespace rovex {

// Bytes read as ASCII, as UTF-8 text: every ASCII byte is itself, every other byte one
// U+FFFD, so the readable part of a tool's output and its lines survive an odd byte.
std::string asciiText(std::string_view bytes);

} // namespace rovex
