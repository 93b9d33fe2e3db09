#include "cli/JsonWriter.h"

#include <charconv>
#include <cmath>
#include <iterator>

#include "text/Utf8.h"

#include <array>

namespace rovex::cli {

namespace {

constexpr std::string_view replacement = "\xEF\xBF\xBD";

} // namespace

constexpr std::size_t flushBytes = std::size_t{64} * 1024;

JsonWriter::JsonWriter(std::ostream& out) : m_stream(out) { m_out.reserve(flushBytes + 4096); }

JsonWriter::~JsonWriter() { flush(); }

void JsonWriter::flush()
{
    m_stream.write(m_out.data(), static_cast<std::streamsize>(m_out.size()));
    m_out.clear();
}

void JsonWriter::beginObject()
{
    beforeValue();
    m_out += '{';
    m_levels.push_back({});
}

void JsonWriter::endObject() { close('}'); }

void JsonWriter::beginArray()
{
    beforeValue();
    m_out += '[';
    m_levels.push_back({});
}

void JsonWriter::endArray() { close(']'); }

void JsonWriter::key(std::string_view name)
{
    beforeValue();
    writeString(name);
    m_out += ": ";
    m_afterKey = true;
}

void JsonWriter::value(std::string_view text)
{
    beforeValue();
    writeString(text);
}

void JsonWriter::value(std::int64_t number)
{
    beforeValue();
    m_out += std::to_string(number);
}

// The shortest text that reads back as the same number; JSON has no infinity or NaN.
void JsonWriter::value(double number)
{
    if (!std::isfinite(number)) {
        null();
        return;
    }
    beforeValue();
    char text[32];
    const auto written = std::to_chars(std::begin(text), std::end(text), number);
    m_out.append(text, written.ptr);
}

void JsonWriter::value(bool truth)
{
    beforeValue();
    m_out += truth ? "true" : "false";
}

void JsonWriter::null()
{
    beforeValue();
    m_out += "null";
}

// A value right after its key stays on the key's line; any other element starts a line
// of its own, after a comma when it is not the first of its level.
void JsonWriter::beforeValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_levels.empty())
        return;
    Level& level = m_levels.back();
    if (!level.empty)
        m_out += ',';
    level.empty = false;
    newline();
    if (m_out.size() >= flushBytes)
        flush();
}

void JsonWriter::close(char bracket)
{
    const bool empty = m_levels.back().empty;
    m_levels.pop_back();
    if (!empty)
        newline();
    m_out += bracket;
    if (m_levels.empty()) {
        m_out += '\n';
        flush();
    }
}

void JsonWriter::newline()
{
    m_out += '\n';
    m_out.append(2 * m_levels.size(), ' ');
}

// Runs of characters that need no escape go out in one write; a log line is mostly such a run.
void JsonWriter::writeString(std::string_view text)
{
    static constexpr std::array<char, 16> hex{'0', '1', '2', '3', '4', '5', '6', '7',
                                              '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
    const auto plain = [](unsigned char c) { return c >= 0x20 && c < 0x80 && c != '"' && c != '\\'; };
    m_out += '"';
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t end = i;
        while (end < text.size() && plain(static_cast<unsigned char>(text[end])))
            ++end;
        m_out.append(text, i, end - i);
        if (end == text.size())
            break;
        i = end;
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t length = utf8SequenceLength(text, i);
            m_out += length == 0 ? replacement : text.substr(i, length);
            i += length == 0 ? 1 : length;
            continue;
        }
        switch (c) {
        case '"': m_out += "\\\""; break;
        case '\\': m_out += "\\\\"; break;
        case '\n': m_out += "\\n"; break;
        case '\r': m_out += "\\r"; break;
        case '\t': m_out += "\\t"; break;
        case '\b': m_out += "\\b"; break;
        case '\f': m_out += "\\f"; break;
        default:
            m_out += "\\u00";
            m_out += hex[c >> 4U];
            m_out += hex[c & 0xFU];
        }
        ++i;
    }
    m_out += '"';
}

} // namespace rovex::cli
