#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace rovex {

enum class ProductCheck : unsigned char {
    Kept,   // the product's own reading keeps the line: endpoints that split, or an excluded source
    Unsure, // the quick look cannot tell; only the product's reading itself can
};

// A quick look at whether the product's reading (readPfLogLine) keeps a line, so that lines
// of the product's own layout pass the adapter at a small part of the cost of a second
// reading. A log's header (date, host, tag, tcpdump time, rule) keeps its shape from line to
// line: once a line was read, a line whose spaces lie at the same places up to the action
// has its action at the same place, and only the seven fields from there on are looked at.
// Kept is exact; anything the look cannot settle is Unsure.
class ProductLayoutCheck final {
public:
    ProductCheck check(std::string_view line) const;

    // True when the line has too few spaces for the product's fifteen fields: each separator
    // the product's reading counts takes at least one space, so fewer than fourteen spaces
    // mean that reading finds too few fields. Stops at the fourteenth space.
    static bool hasTooFewSpaces(std::string_view line);

    // Takes the header's shape from a line the product's reading has read, whose action
    // (field 8) starts at actionStart.
    void learn(std::string_view line, std::size_t actionStart);

private:
    static constexpr std::size_t headerBytes = 128;

    std::array<std::uint64_t, headerBytes / 64> m_headerSpaces{}; // bits up to and with the action's first byte
    std::size_t m_actionStart = 0;
    bool m_learned = false;
};

} // namespace rovex
