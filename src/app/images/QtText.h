#pragma once

#include <QString>

#include <string_view>

namespace rovex {

// Text of the core (UTF-8 views of log lines, names and images) as Qt shows it.
inline QString textOf(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace rovex
