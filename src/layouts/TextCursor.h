#pragma once

#include <cstddef>
#include <string_view>

namespace rovex {

// Walks a line from left to right one space-separated token at a time; runs of spaces count
// as one separator. Every byte is looked at once, whatever the line holds.
class TextCursor final {
public:
    explicit TextCursor(std::string_view line, std::size_t at = 0) : m_line(line), m_at(at) {}

    // The next token, or an empty view at the end of the line.
    std::string_view next()
    {
        while (m_at < m_line.size() && m_line[m_at] == ' ')
            ++m_at;
        const std::size_t start = m_at;
        // Tokens are a few bytes long: a plain scan beats a call to memchr per token.
        while (m_at < m_line.size() && m_line[m_at] != ' ')
            ++m_at;
        return m_line.substr(start, m_at - start);
    }

    std::size_t position() const { return m_at; }
    void moveTo(std::size_t at) { m_at = at < m_line.size() ? at : m_line.size(); }

private:
    std::string_view m_line;
    std::size_t m_at;
};

} // namespace rovex
