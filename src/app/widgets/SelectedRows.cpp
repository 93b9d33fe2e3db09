#include "app/widgets/SelectedRows.h"

#include <QAbstractProxyModel>
#include <QItemSelectionModel>

#include <algorithm>

namespace rovex {

namespace {

QModelIndex sourceOf(const QAbstractItemView& view, const QModelIndex& index)
{
    const auto* proxy = qobject_cast<const QAbstractProxyModel*>(view.model());
    return proxy != nullptr ? proxy->mapToSource(index) : index;
}

QModelIndexList selectedViewRows(const QAbstractItemView& view)
{
    const QItemSelectionModel* selection = view.selectionModel();
    if (selection == nullptr || view.model() == nullptr || view.model()->rowCount() == 0)
        return {};
    return selection->selectedRows();
}

} // namespace

std::vector<std::size_t> selectedSourceRows(const QAbstractItemView& view)
{
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : selectedViewRows(view)) {
        const QModelIndex source = sourceOf(view, index);
        if (source.isValid())
            rows.push_back(static_cast<std::size_t>(source.row()));
    }
    return rows;
}

std::optional<std::size_t> topSelectedSourceRow(const QAbstractItemView& view)
{
    const QModelIndexList rows = selectedViewRows(view);
    const auto top = std::min_element(rows.begin(), rows.end(),
                                      [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    if (top == rows.end())
        return std::nullopt;
    const QModelIndex source = sourceOf(view, *top);
    if (!source.isValid())
        return std::nullopt;
    return static_cast<std::size_t>(source.row());
}

} // namespace rovex
