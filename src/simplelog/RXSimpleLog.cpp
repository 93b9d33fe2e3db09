#include "simplelog/RXSimpleLog.h"

#include "simplelog/SimpleLogRowBuilder.h"

#include <utility>

namespace rovex {

namespace {

// Indexed by m_actionImage; 0 is the empty default image.
constexpr std::array<std::string_view, 5> actionImages{"", "blockeddown", "blockedup", "passeddown", "passedup"};

// Every row the reader accepts carries this name for both ports; an unfilled row keeps the
// empty default.
constexpr std::string_view unknownService = "UNKNOWN SERVICE";

} // namespace

std::string_view RXSimpleLog::piece(Piece which) const
{
    const auto at = static_cast<std::size_t>(which);
    const std::uint32_t begin = at == 0 ? 0 : m_ends[at - 1];
    return std::string_view(m_text).substr(begin, m_ends[at] - begin);
}

std::string_view RXSimpleLog::logString() const { return piece(LogString); }
std::string_view RXSimpleLog::logMonth() const { return piece(Month); }
std::string_view RXSimpleLog::logDay() const { return piece(Day); }
std::string_view RXSimpleLog::logTime() const { return piece(Time); }
std::string_view RXSimpleLog::logAction() const { return piece(Action); }
std::string_view RXSimpleLog::logDirection() const { return piece(Direction); }
std::string_view RXSimpleLog::logInterface() const { return piece(Interface); }
std::string_view RXSimpleLog::logFirstAddress() const { return piece(FirstAddress); }
std::string_view RXSimpleLog::logFirstPort() const { return piece(FirstPort); }
std::string_view RXSimpleLog::logSecondAddress() const { return piece(SecondAddress); }
std::string_view RXSimpleLog::logSecondPort() const { return piece(SecondPort); }
std::string_view RXSimpleLog::logActionImage() const { return actionImages.at(m_actionImage); }
std::string_view RXSimpleLog::logFirstPortImage() const { return piece(FirstPortImage); }
std::string_view RXSimpleLog::logFirstPortName() const { return m_text.empty() ? std::string_view() : unknownService; }
std::string_view RXSimpleLog::logSecondPortImage() const { return piece(SecondPortImage); }
std::string_view RXSimpleLog::logSecondPortName() const { return logFirstPortName(); }

SimpleLogRowBuilder::SimpleLogRowBuilder(std::size_t bytes) { m_row.m_text.reserve(bytes); }

void SimpleLogRowBuilder::endPiece()
{
    // The reader refuses lines long enough to overflow an end.
    m_row.m_ends.at(m_next++) = static_cast<std::uint32_t>(m_row.m_text.size());
}

void SimpleLogRowBuilder::addPiece(std::string_view text)
{
    m_row.m_text.append(text);
    endPiece();
}

void SimpleLogRowBuilder::setActionImage(std::string_view image)
{
    for (std::size_t i = 1; i < actionImages.size(); ++i) {
        if (actionImages[i] == image)
            m_row.m_actionImage = static_cast<std::uint8_t>(i);
    }
}

RXSimpleLog SimpleLogRowBuilder::take() { return std::move(m_row); }

} // namespace rovex
