#include "app/desktop/SelectedRows.h"

#include <QAbstractProxyModel>
#include <QItemSelectionModel>

namespace rovex {

std::vector<std::size_t> selectedSourceRows(const QAbstractItemView& view)
{
    std::vector<std::size_t> rows;
    const QItemSelectionModel* selection = view.selectionModel();
    if (selection == nullptr || view.model() == nullptr || view.model()->rowCount() == 0)
        return rows;
    const auto* proxy = qobject_cast<const QAbstractProxyModel*>(view.model());
    for (const QModelIndex& index : selection->selectedRows()) {
        const QModelIndex source = proxy != nullptr ? proxy->mapToSource(index) : index;
        if (source.isValid())
            rows.push_back(static_cast<std::size_t>(source.row()));
    }
    return rows;
}

} // namespace rovex
