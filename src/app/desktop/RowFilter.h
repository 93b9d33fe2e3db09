#pragma once

#include <QString>

#include <cstddef>
#include <string>
#include <string_view>

namespace rovex {

class TrafficTableModel;

// The text typed above a table: a row is shown when its name, its country (or why it has
// none) or its service's name holds the text, whatever the case.
class RowFilter final {
public:
    RowFilter() = default;
    explicit RowFilter(const QString& text);

    bool empty() const { return m_needle.empty(); }
    const std::string& text() const { return m_needle; }
    bool matches(const TrafficTableModel& table, std::size_t position) const;

private:
    bool holds(std::string_view text) const;

    std::string m_needle; // UTF-8, ASCII letters folded to lower case
};

} // namespace rovex
