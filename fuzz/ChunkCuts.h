#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace rovex::fuzz {

// The log text of an input and the reads it arrives in. The cut positions come from the
// input's last bytes (FuzzedDataProvider takes integers from the end), so the fuzzer steers
// where reads end: inside a line, on its "\n", inside a multi-byte character.
struct ChunkedText {
    std::string text;
    std::vector<std::string_view> chunks; // views of text, in order, covering all of it
};

inline ChunkedText cutIntoChunks(FuzzedDataProvider& input)
{
    constexpr std::size_t maxCuts = 16;
    const std::size_t cutCount = input.ConsumeIntegralInRange<std::size_t>(0, maxCuts);
    std::vector<std::size_t> sizes;
    for (std::size_t i = 0; i < cutCount; ++i)
        sizes.push_back(input.ConsumeIntegralInRange<std::size_t>(0, 512));

    ChunkedText result{input.ConsumeRemainingBytesAsString(), {}};
    std::string_view rest = result.text;
    for (const std::size_t size : sizes) {
        const std::size_t taken = size < rest.size() ? size : rest.size();
        result.chunks.push_back(rest.substr(0, taken));
        rest.remove_prefix(taken);
    }
    result.chunks.push_back(rest);
    return result;
}

} // namespace rovex::fuzz
