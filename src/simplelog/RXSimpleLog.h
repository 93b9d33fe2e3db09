#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace rovex {

// One row of the simple log: a pf log line with the fields the simple log shows. Rows are
// built by readSimpleLogLine and never change afterwards.
//
// Images are names ("blockeddown", "genericservice", a service's own image...); an empty
// name is the empty default image. The two port names are always "UNKNOWN SERVICE".
//
// A window may hold a hundred thousand rows, so a row is compact: all its texts live in one
// buffer and the fields are slices of it.
class RXSimpleLog final {
public:
    // The sixteen fields, in their order.
    std::string_view logString() const;
    std::string_view logMonth() const;
    std::string_view logDay() const;
    std::string_view logTime() const;
    std::string_view logAction() const;
    std::string_view logDirection() const;
    std::string_view logInterface() const;
    std::string_view logFirstAddress() const;
    std::string_view logFirstPort() const;
    std::string_view logSecondAddress() const;
    std::string_view logSecondPort() const;
    std::string_view logActionImage() const;
    std::string_view logFirstPortImage() const;
    std::string_view logFirstPortName() const;
    std::string_view logSecondPortImage() const;
    std::string_view logSecondPortName() const;

    // Bytes the row holds beyond its own size, for the memory figures.
    std::size_t heapBytes() const { return m_text.capacity(); }

private:
    friend class SimpleLogRowBuilder;

    // The texts stored in m_text, in this order.
    enum Piece : std::uint8_t {
        LogString,
        Month,
        Day,
        Time,
        Action,
        Direction,
        Interface,
        FirstAddress,
        FirstPort,
        SecondAddress,
        SecondPort,
        FirstPortImage,
        SecondPortImage,
        PieceCount
    };
    std::string_view piece(Piece which) const;

    std::string m_text;
    std::array<std::uint32_t, PieceCount> m_ends{};
    std::uint8_t m_actionImage = 0; // index into the four action images, 0 = none
};

} // namespace rovex
