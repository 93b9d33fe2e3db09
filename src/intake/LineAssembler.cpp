#include "intake/LineAssembler.h"

#include "text/Utf8.h"

namespace rovex {

void LineAssembler::feed(std::string_view bytes, const LineSink& sink)
{
    std::size_t newline = bytes.find('\n');
    if (newline == std::string_view::npos) {
        m_held.append(bytes);
        return;
    }
    if (!m_held.empty()) {
        m_held.append(bytes.substr(0, newline));
        deliver(m_held, sink);
        m_held.clear();
        bytes.remove_prefix(newline + 1);
        newline = bytes.find('\n');
    }
    // Whole lines go on straight from the read buffer, nothing copied.
    while (newline != std::string_view::npos) {
        deliver(bytes.substr(0, newline), sink);
        bytes.remove_prefix(newline + 1);
        newline = bytes.find('\n');
    }
    m_held.assign(bytes);
}

void LineAssembler::endOfFile(const LineSink& sink)
{
    if (m_held.empty())
        return;
    const std::string piece = std::move(m_held);
    m_held.clear();
    deliver(piece, sink);
}

void LineAssembler::deliver(std::string_view line, const LineSink& sink)
{
    if (!isValidUtf8(line)) {
        ++m_invalidLines;
        return;
    }
    sink(line);
}

} // namespace rovex
