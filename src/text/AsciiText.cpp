#include "text/AsciiText.h"

namespace rovex {

std::string asciiText(std::string_view bytes)
{
    constexpr std::string_view replacement = "\xEF\xBF\xBD";
    std::string text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        if (static_cast<unsigned char>(byte) < 0x80)
            text.push_back(byte);
        else
            text.append(replacement);
    }
    return text;
}

} // namespace rovex
