#include "sim/HttpRequestReader.h"

#include "text/DecimalText.h"
#include "text/SplitText.h"

#include <algorithm>
#include <cctype>

namespace rovex {
namespace {

constexpr std::string_view headEnd = "\r\n\r\n";

bool sameLetters(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

} // namespace

HttpRequestReader::State HttpRequestReader::feed(std::string_view bytes)
{
    if (m_state != State::reading)
        return m_state;
    // Never hold more than a whole head and body could take.
    if (bytes.size() > headLimit + bodyLimit - m_buffer.size())
        return m_state = State::tooLarge;
    m_buffer.append(bytes);
    if (m_headLength == 0) {
        const std::size_t end = m_buffer.find(headEnd);
        if (end == std::string::npos)
            return m_state = m_buffer.size() > headLimit ? State::tooLarge : State::reading;
        if (end + headEnd.size() > headLimit)
            return m_state = State::tooLarge;
        m_headLength = end + headEnd.size();
        m_state = readHead(std::string_view(m_buffer).substr(0, end));
        if (m_state != State::reading)
            return m_state;
    }
    return m_state = readBody();
}

HttpRequestReader::State HttpRequestReader::readHead(std::string_view head)
{
    const std::size_t lineEnd = std::min(head.find("\r\n"), head.size());
    const std::string_view requestLine = head.substr(0, lineEnd);
    const std::size_t firstSpace = requestLine.find(' ');
    const std::size_t lastSpace = requestLine.rfind(' ');
    if (firstSpace == std::string_view::npos || firstSpace == lastSpace
        || !requestLine.substr(lastSpace + 1).starts_with("HTTP/"))
        return State::malformed;
    m_request.method = requestLine.substr(0, firstSpace);
    const std::string_view target = requestLine.substr(firstSpace + 1, lastSpace - firstSpace - 1);
    m_request.path = target.substr(0, target.find('?'));

    State state = State::reading;
    forEachPiece(head.substr(std::min(lineEnd + 2, head.size())), '\n', [&](std::string_view field) {
        if (field.ends_with('\r'))
            field.remove_suffix(1);
        const std::size_t colon = field.find(':');
        const std::string_view name = field.substr(0, colon);
        const std::string_view value = colon == std::string_view::npos ? "" : trimmed(field.substr(colon + 1));
        if (sameLetters(name, "Transfer-Encoding"))
            state = State::malformed; // a chunked body is more than this server reads
        if (!sameLetters(name, "Content-Length"))
            return;
        const auto length = readDecimal(value);
        if (!length || *length < 0)
            state = State::malformed;
        else if (static_cast<std::size_t>(*length) > bodyLimit)
            state = State::tooLarge;
        else
            m_bodyLength = static_cast<std::size_t>(*length);
    });
    return state;
}

HttpRequestReader::State HttpRequestReader::readBody()
{
    if (m_buffer.size() - m_headLength < m_bodyLength)
        return State::reading;
    return State::complete;
}

} // namespace rovex
