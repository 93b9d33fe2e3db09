#pragma once

#include "app/desktop/RowFilter.h"
#include "app/desktop/ShownOrder.h"
#include "app/desktop/TrafficTableModel.h"

#include <QAbstractProxyModel>

#include <cstddef>
#include <climits>
#include <memory>
#include <span>

namespace rovex {

class TrafficStore;

// A live table as shown: by count, highest first, and rows of equal count in the order
// they were first seen, so that rows do not swap places as others around them are counted.
//
// The order is the store's ranking, kept as counts change; this model only asks it for
// the rows on screen. Each index carries its row's position in the table, so that after a
// batch of counts the selection is carried over by asking the rank of the few selected
// rows: a batch costs what it changed, not what the table holds.
//
// The user may filter the rows or sort by another column (a click on its header). That
// order is built once, on the click or the typing, and then kept like the ranking: new
// rows are tested against the filter alone, filtered rows by count keep a ranking of their
// own, and rows sorted by another column stay where they are until the user sorts again,
// new ones joining at the end.
class ByCountProxyModel final : public QAbstractProxyModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ByCountProxyModel)

public:
    explicit ByCountProxyModel(QObject* parent = nullptr);

    void setTable(TrafficTableModel* table);
    // Ranks from now on, and again at every resort().
    void sortByCount();
    bool sortsByCount() const { return m_sorting; }
    // These rows (positions in the table) were added or counted: puts them in their place.
    void resort(std::span<const std::size_t> changed);
    // The lowest row the view shows: a batch that moves only rows below it repaints nothing.
    void setLastShownRow(int row) { m_lastShown = row; }

    // By the column, as a click on its header asks; the count, descending, is the ranking.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }
    // Shows only rows whose name, country or service holds the text (any case).
    void setFilter(const QString& text);
    const RowFilter& filter() const { return m_filter; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;

private:
    std::size_t positionAt(int row) const;
    int rowOf(std::size_t position) const;
    void resetFromTable();
    void chooseOrder();
    bool showsRanking() const;
    // Runs the change between the layout signals, carrying persistent indexes (the
    // selection) over to the rows' new places.
    template <typename Change>
    void relayout(Change&& change);
    std::size_t firstMovedRow(std::span<const std::size_t> changed) const;
    bool hasPersistentFrom(std::size_t row) const;
    void repaintRows(std::span<const std::size_t> changed);
    void sourceRowsInserted(const QModelIndex& parent, int first, int last);
    void sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles);

    TrafficTableModel* m_table = nullptr;
    int m_rows = 0;
    bool m_sorting = false;
    int m_lastShown = INT_MAX; // until a view tells, every row counts as shown
    int m_sortColumn = TrafficTableModel::CountColumn;
    Qt::SortOrder m_sortOrder = Qt::DescendingOrder;
    RowFilter m_filter;
    std::unique_ptr<ShownOrder> m_chosen; // null while the store's ranking is shown
};

} // namespace rovex
