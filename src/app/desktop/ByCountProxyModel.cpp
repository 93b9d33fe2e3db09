#include "app/desktop/ByCountProxyModel.h"

#include "app/desktop/TrafficTableModel.h"

namespace rovex {

ByCountProxyModel::ByCountProxyModel(QObject* parent) : QSortFilterProxyModel(parent)
{
    setSortRole(TrafficTableModel::countRole);
    setDynamicSortFilter(false);
}

void ByCountProxyModel::sortByCount()
{
    setDynamicSortFilter(true);
    sort(TrafficTableModel::CountColumn, Qt::DescendingOrder);
}

// Sorting is descending, so the earlier row must compare as the greater one.
bool ByCountProxyModel::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const qint64 leftCount = left.data(TrafficTableModel::countRole).toLongLong();
    const qint64 rightCount = right.data(TrafficTableModel::countRole).toLongLong();
    if (leftCount != rightCount)
        return leftCount < rightCount;
    return left.row() > right.row();
}

} // namespace rovex
