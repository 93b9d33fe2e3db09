#pragma once

#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace rovex {

#ifdef __SSE2__
// One bit per byte of the sixteen at `bytes` that equal c.
inline std::uint32_t matchMask16(const char* bytes, char c)
{
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(c))));
}
#endif

} // namespace rovex
