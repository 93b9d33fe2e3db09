#pragma once

#include <QSortFilterProxyModel>

#include <cstdint>
#include <vector>

namespace rovex {

class TrafficTableModel;

// A live table as shown: by count, highest first, and rows of equal count in the order
// they were first seen (the order of the table), so that rows do not swap places as
// others around them are counted.
//
// Qt's own re-sorting on every change moves changed rows one by one, which costs time in
// proportion to rows x changed rows; after a chunk of log that counted most rows up that
// stalls the window. Sorting the whole table once per batch of changes costs n log n.
class ByCountProxyModel final : public QSortFilterProxyModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ByCountProxyModel)

public:
    explicit ByCountProxyModel(QObject* parent = nullptr);

    void setTable(TrafficTableModel* table);
    // Sorts from now on, and again at every resort().
    void sortByCount();
    bool sortsByCount() const { return m_sorting; }
    // The counts changed: puts the rows in order again (once sortByCount() has run).
    void resort();

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    TrafficTableModel* m_table = nullptr;
    std::vector<std::int64_t> m_counts; // the counts a sort compares, read once per sort
    bool m_sorting = false;
};

} // namespace rovex
