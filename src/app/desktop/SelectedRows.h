#pragma once

#include <QAbstractItemView>

#include <cstddef>
#include <vector>

namespace rovex {

// The rows the user selected in a view, in selection order, as rows of the model under
// the view's sorting (the positions the store knows them by).
std::vector<std::size_t> selectedSourceRows(const QAbstractItemView& view);

} // namespace rovex
