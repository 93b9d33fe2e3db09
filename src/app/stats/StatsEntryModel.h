#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace rovex {

// One row of a statistics list: an address or a port, how often it was seen, the total of
// the list it belongs to, and its colour (none for the addresses of one port).
struct StatsEntry {
    QString name;
    std::int64_t theOccurrences = 0;
    std::int64_t maxOccurrences = 0;
    std::optional<QColor> theColor;
};

// A statistics list as the window shows it: the sign in the entry's colour, the name, the
// count and its share of the list's total as a bar.
class StatsEntryModel final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StatsEntryModel)

public:
    enum Column { SignColumn, NameColumn, CountColumn, ShareColumn, ColumnCount };
    // The share of the total, 0 to 1, for the bar.
    static constexpr int shareRole = Qt::UserRole + 1;

    explicit StatsEntryModel(QObject* parent = nullptr);

    void setEntries(std::vector<StatsEntry> entries);
    void clear() { setEntries({}); }
    const std::vector<StatsEntry>& entries() const { return m_entries; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<StatsEntry> m_entries;
};

} // namespace rovex
