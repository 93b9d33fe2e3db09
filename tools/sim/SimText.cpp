#include "sim/SimText.h"

#include <charconv>

namespace rovex {

void appendNumber(std::string& out, std::uint64_t value)
{
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

void appendTwoDigits(std::string& out, int value)
{
    out.push_back(static_cast<char>('0' + value / 10));
    out.push_back(static_cast<char>('0' + value % 10));
}

void appendFixedDigits(std::string& out, std::uint64_t value, int width)
{
    const std::size_t end = out.size() + static_cast<std::size_t>(width);
    out.resize(end, '0');
    for (std::size_t at = end; at-- > end - static_cast<std::size_t>(width) && value != 0; value /= 10)
        out[at] = static_cast<char>('0' + value % 10);
}

void appendClock(std::string& out, const std::tm& local)
{
    appendTwoDigits(out, local.tm_hour);
    out.push_back(':');
    appendTwoDigits(out, local.tm_min);
    out.push_back(':');
    appendTwoDigits(out, local.tm_sec);
}

} // namespace rovex
