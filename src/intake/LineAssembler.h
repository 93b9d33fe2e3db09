#pragma once

#include "text/Utf8.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace rovex {

// Completes lines across reads of a growing log. The piece after the last "\n" of a read
// is held and completed by the next read; endOfFile() hands the held piece on as it stands
// (the file was rotated away or truncated, so nothing will complete it). Every line is
// checked for UTF-8 on its own: an invalid line is dropped and counted, never its neighbours.
// Lines reach sink(std::string_view) without their "\n". (A template, so that the
// per-line call into the classifier is inlined.)
class LineAssembler final {
public:
    template <typename Sink>
    void feed(std::string_view bytes, Sink&& sink);
    template <typename Sink>
    void endOfFile(Sink&& sink);
    // Lets the complete lines of a read go unread, holding only the piece after its last
    // "\n", so that a later read still completes that line.
    void skip(std::string_view bytes);

    std::uint64_t invalidLines() const { return m_invalidLines; }
    std::size_t heldBytes() const { return m_held.size(); }

private:
    template <typename Sink>
    void deliver(std::string_view line, Sink& sink);

    std::string m_held;
    std::uint64_t m_invalidLines = 0;
};

template <typename Sink>
void LineAssembler::feed(std::string_view bytes, Sink&& sink)
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

template <typename Sink>
void LineAssembler::endOfFile(Sink&& sink)
{
    if (m_held.empty())
        return;
    const std::string piece = std::exchange(m_held, {});
    deliver(piece, sink);
}

inline void LineAssembler::skip(std::string_view bytes)
{
    const std::size_t newline = bytes.rfind('\n');
    if (newline == std::string_view::npos)
        m_held.append(bytes);
    else
        m_held.assign(bytes.substr(newline + 1));
}

template <typename Sink>
void LineAssembler::deliver(std::string_view line, Sink& sink)
{
    if (!isValidUtf8(line)) {
        ++m_invalidLines;
        return;
    }
    sink(line);
}

} // namespace rovex
