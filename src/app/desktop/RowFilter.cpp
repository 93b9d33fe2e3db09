#include "app/desktop/RowFilter.h"

#include "app/desktop/TrafficTableModel.h"

#include <algorithm>

namespace rovex {

namespace {

char folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

RowFilter::RowFilter(const QString& text) : m_needle(text.trimmed().toStdString())
{
    std::transform(m_needle.begin(), m_needle.end(), m_needle.begin(), folded);
}

bool RowFilter::holds(std::string_view text) const
{
    const auto found = std::search(text.begin(), text.end(), m_needle.begin(), m_needle.end(),
                                   [](char left, char right) { return folded(left) == right; });
    return found != text.end();
}

bool RowFilter::matches(const TrafficTableModel& table, std::size_t position) const
{
    if (m_needle.empty())
        return true;
    if (holds(table.nameAt(position)) || holds(table.serviceAt(position)))
        return true;
    return holds(table.countryAt(position));
}

} // namespace rovex
