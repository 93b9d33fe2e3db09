#pragma once

#include <QAbstractItemView>

#include <cstddef>
#include <optional>
#include <vector>

namespace rovex {

// The rows the user selected in a view, in selection order, as rows of the model under
// the view's sorting (the positions the store knows them by).
std::vector<std::size_t> selectedSourceRows(const QAbstractItemView& view);

// The selected row highest up in the view as the user sees it, as a row of the model
// under the view's sorting; nothing without a selection.
std::optional<std::size_t> topSelectedSourceRow(const QAbstractItemView& view);

} // namespace rovex
