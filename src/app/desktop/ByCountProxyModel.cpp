#include "app/desktop/ByCountProxyModel.h"

#include "app/desktop/TrafficTableModel.h"

namespace rovex {

ByCountProxyModel::ByCountProxyModel(QObject* parent) : QSortFilterProxyModel(parent)
{
    setSortRole(TrafficTableModel::countRole);
    setDynamicSortFilter(false);
}

void ByCountProxyModel::setTable(TrafficTableModel* table)
{
    m_table = table;
    setSourceModel(table);
}

void ByCountProxyModel::sortByCount()
{
    m_sorting = true;
    resort();
}

void ByCountProxyModel::resort()
{
    if (!m_sorting)
        return;
    // The rows' counts side by side: comparisons then read one small array instead of
    // rows scattered over the heap.
    const auto rows = static_cast<std::size_t>(m_table->rowCount());
    m_counts.resize(rows);
    for (std::size_t row = 0; row < rows; ++row)
        m_counts[row] = m_table->countAt(row);
    // With dynamic sorting off, sort() always sorts again.
    sort(TrafficTableModel::CountColumn, Qt::DescendingOrder);
}

// Sorting is descending, so the earlier row must compare as the greater one. Rows the
// snapshot does not hold yet (added since the last sort) count by the table.
bool ByCountProxyModel::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const auto leftRow = static_cast<std::size_t>(left.row());
    const auto rightRow = static_cast<std::size_t>(right.row());
    const auto countOf = [this](std::size_t row) {
        return row < m_counts.size() ? m_counts[row] : m_table->countAt(row);
    };
    const std::int64_t leftCount = countOf(leftRow);
    const std::int64_t rightCount = countOf(rightRow);
    if (leftCount != rightCount)
        return leftCount < rightCount;
    return leftRow > rightRow;
}

} // namespace rovex
