#pragma once

#include <QSortFilterProxyModel>

namespace rovex {

// A live table as shown: by count, highest first, and rows of equal count in the order
// they were first seen (the order of the table), so that rows do not swap places as
// others around them are counted.
class ByCountProxyModel final : public QSortFilterProxyModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ByCountProxyModel)

public:
    explicit ByCountProxyModel(QObject* parent = nullptr);

    // Sorts from now on, and again after every change of a count.
    void sortByCount();

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
};

} // namespace rovex
