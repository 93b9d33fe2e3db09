#pragma once

#include "simplelog/RXSimpleLog.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace rovex {

// Fills one RXSimpleLog piece by piece, in the row's order (logString first, the second
// port's image last). Only the line reader builds rows.
class SimpleLogRowBuilder final {
public:
    // bytes: what the row's texts are expected to take, so that its buffer is sized once.
    explicit SimpleLogRowBuilder(std::size_t bytes);

    // The next piece's text may be appended here bit by bit, then closed by endPiece().
    std::string& text() { return m_row.m_text; }
    void endPiece();
    void addPiece(std::string_view text);

    // One of the four action images by name; any other name leaves the empty default.
    void setActionImage(std::string_view image);

    RXSimpleLog take();

private:
    RXSimpleLog m_row;
    std::size_t m_next = 0;
};

} // namespace rovex
