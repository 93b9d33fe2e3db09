#include "layouts/LeadingDate.h"

#include "layouts/TextCursor.h"

#include <array>
#include <cstddef>

namespace rovex {
namespace {

constexpr std::array<std::string_view, 12> monthNames{
    "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec",
};

// A "<PRI>" is a few digits; a longer bracket is not a priority and is left alone.
constexpr std::size_t longestPriority = 8;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool areDigits(std::string_view text)
{
    for (const char c : text) {
        if (!isDigit(c))
            return false;
    }
    return !text.empty();
}

// "hh:mm:ss" at the start of text, followed by nothing, a fraction or a zone.
std::string_view clockAt(std::string_view text)
{
    if (text.size() < 8 || text[2] != ':' || text[5] != ':')
        return {};
    const std::string_view clock = text.substr(0, 8);
    if (!areDigits(clock.substr(0, 2)) || !areDigits(clock.substr(3, 2)) || !areDigits(clock.substr(6, 2)))
        return {};
    if (text.size() > 8 && !(text[8] == '.' || text[8] == '+' || text[8] == '-' || text[8] == 'Z'))
        return {};
    return clock;
}

std::string_view monthNamed(std::string_view word)
{
    if (word.size() != 3)
        return {};
    for (const std::string_view name : monthNames) {
        if (name == word)
            return name;
    }
    return {};
}

// The month name of "yyyy-mm-dd", or empty when the text is not such a date.
std::string_view monthOfIsoDate(std::string_view text)
{
    if (text.size() < 10 || text[4] != '-' || text[7] != '-' || !areDigits(text.substr(0, 4))
        || !areDigits(text.substr(5, 2)) || !areDigits(text.substr(8, 2)))
        return {};
    const int month = (text[5] - '0') * 10 + (text[6] - '0');
    return month >= 1 && month <= 12 ? monthNames[static_cast<std::size_t>(month - 1)] : std::string_view{};
}

// The day as syslog prints it, without the padding zero of a numeric date.
std::string_view unpaddedDay(std::string_view day) { return day.size() == 2 && day[0] == '0' ? day.substr(1) : day; }

// Where the stamp starts: after leading spaces and a "<PRI>" or "<PRI>1 ".
std::size_t stampStart(std::string_view line)
{
    std::size_t at = line.find_first_not_of(' ');
    if (at == std::string_view::npos || line[at] != '<')
        return at == std::string_view::npos ? line.size() : at;
    const std::size_t close = line.substr(0, at + longestPriority).find('>', at);
    if (close == std::string_view::npos || !areDigits(line.substr(at + 1, close - at - 1)))
        return at;
    at = close + 1;
    if (at + 1 < line.size() && isDigit(line[at]) && line[at + 1] == ' ')
        at += 2;
    return at;
}

void setDate(FirewallRecord& record, std::string_view month, std::string_view day, std::string_view clock)
{
    if (month.empty() || clock.empty() || day.empty() || day.size() > 2 || !areDigits(day))
        return;
    record.month = month;
    record.day = unpaddedDay(day);
    record.time = clock;
}

} // namespace

void readLeadingDate(std::string_view line, FirewallRecord& record)
{
    record.month = record.day = record.time = {};
    TextCursor cursor(line, stampStart(line));
    const std::string_view first = cursor.next();
    if (const std::string_view month = monthNamed(first); !month.empty()) {
        const std::string_view day = cursor.next();
        setDate(record, month, day, clockAt(cursor.next()));
        return;
    }
    const std::string_view month = monthOfIsoDate(first);
    if (month.empty())
        return;
    const std::string_view day = first.substr(8, 2);
    if (first.size() == 10)
        setDate(record, month, day, clockAt(cursor.next()));
    else if (first[10] == 'T')
        setDate(record, month, day, clockAt(first.substr(11)));
}

} // namespace rovex
