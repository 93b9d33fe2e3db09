#include "text/Utf8.h"

#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace rovex {
namespace {

bool isContinuation(unsigned char c) noexcept { return (c & 0xC0U) == 0x80U; }

// Length of the well-formed sequence starting at text[i], or 0 when it is not one.
std::size_t sequenceLength(const unsigned char* text, std::size_t i, std::size_t size) noexcept
{
    const unsigned char lead = text[i];
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // bounds of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // overlong
        else if (lead == 0xED)
            high = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90; // overlong
        else if (lead == 0xF4)
            high = 0x8F; // above U+10FFFF
    } else {
        return 0;
    }
    if (i + length > size || text[i + 1] < low || text[i + 1] > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (!isContinuation(text[i + k]))
            return 0;
    }
    return length;
}

} // namespace

std::size_t utf8SequenceLength(std::string_view bytes, std::size_t at) noexcept
{
    const auto* text = reinterpret_cast<const unsigned char*>(bytes.data());
    return text[at] < 0x80 ? 1 : sequenceLength(text, at, bytes.size());
}

bool isValidUtf8(std::string_view bytes) noexcept
{
    const auto* text = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    while (i < size) {
#ifdef __SSE2__
        if (i + 16 <= size) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
            if (_mm_movemask_epi8(block) == 0) {
                i += 16;
                continue;
            }
        }
#endif
        if (i + 8 <= size) {
            std::uint64_t word = 0;
            std::memcpy(&word, text + i, sizeof word);
            if ((word & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        if (text[i] < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = sequenceLength(text, i, size);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

} // namespace rovex
