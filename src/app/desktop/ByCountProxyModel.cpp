#include "app/desktop/ByCountProxyModel.h"

#include "app/desktop/ColumnSort.h"
#include "app/desktop/FilteredRanking.h"
#include "app/desktop/FixedOrder.h"
#include "app/desktop/TrafficTableModel.h"
#include "intake/TrafficStore.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace rovex {

namespace {

constexpr std::size_t absent = SIZE_MAX;

} // namespace

ByCountProxyModel::ByCountProxyModel(QObject* parent) : QAbstractProxyModel(parent) {}

void ByCountProxyModel::setTable(TrafficTableModel* table)
{
    beginResetModel();
    if (m_table != nullptr)
        disconnect(m_table, nullptr, this, nullptr);
    m_table = table;
    setSourceModel(table);
    if (table != nullptr) {
        // Rows only ever arrive at the table's end; removals and clearing are rare user
        // actions, after which the view starts again.
        connect(table, &QAbstractItemModel::rowsInserted, this, &ByCountProxyModel::sourceRowsInserted);
        connect(table, &QAbstractItemModel::rowsAboutToBeRemoved, this, &ByCountProxyModel::beginResetModel);
        connect(table, &QAbstractItemModel::rowsRemoved, this, &ByCountProxyModel::resetFromTable);
        connect(table, &QAbstractItemModel::modelAboutToBeReset, this, &ByCountProxyModel::beginResetModel);
        connect(table, &QAbstractItemModel::modelReset, this, &ByCountProxyModel::resetFromTable);
        connect(table, &QAbstractItemModel::dataChanged, this, &ByCountProxyModel::sourceDataChanged);
    }
    m_chosen.reset();
    m_rows = table != nullptr ? table->rowCount() : 0;
    if (table != nullptr)
        chooseOrder();
    endResetModel();
}

void ByCountProxyModel::sortByCount()
{
    if (m_sorting || m_table == nullptr)
        return;
    std::vector<std::size_t> all(static_cast<std::size_t>(m_table->rowCount()));
    std::iota(all.begin(), all.end(), std::size_t{0});
    m_sorting = true;
    resort(all);
}

void ByCountProxyModel::resort(std::span<const std::size_t> changed)
{
    if (m_table == nullptr)
        return;
    if (m_chosen) {
        // The store's ranking is kept all the same: going back to it is then free.
        if (m_sorting)
            m_table->store().rank(m_table->category(), changed);
        if (m_chosen->moves())
            relayout([&] { m_chosen->place(changed); });
        return;
    }
    if (!m_sorting)
        return;
    const std::size_t top = firstMovedRow(changed);
    if (top != absent && hasPersistentFrom(top)) {
        relayout([&] { m_table->store().rank(m_table->category(), changed); });
        return;
    }
    // Nobody holds on to a row that moves: the ranking changes under the view, which
    // repaints the rows it shows from the first that moved, and the counted rows above.
    m_table->store().rank(m_table->category(), changed);
    repaintRows(changed);
    if (top != absent && static_cast<int>(top) <= m_lastShown && m_rows > 0) {
        const int last = std::min(m_lastShown, m_rows - 1);
        Q_EMIT dataChanged(index(static_cast<int>(top), 0), index(last, columnCount() - 1));
    }
}

// The first row whose row may change when the changed rows are ranked (absent: none moves).
// Counts only grow, so a ranked row lands no higher than the ranked rows that rank before
// its new key today; it moves when that is above where it is. Rows not ranked yet (the
// table's newest, shown at the end in table order) move when their order is not the
// ranking's, or when the first of them ranks before a ranked row.
std::size_t ByCountProxyModel::firstMovedRow(std::span<const std::size_t> changed) const
{
    const TrafficStore& store = m_table->store();
    const TrafficCategory category = m_table->category();
    const auto keyAt = [this](std::size_t position) {
        return RankKey{m_table->countAt(position), m_table->sightingAt(position)};
    };
    std::size_t top = absent;
    for (const std::size_t position : changed) {
        const std::size_t rank = store.rankOf(category, position);
        if (rank == absent)
            continue;
        const std::size_t landing = store.rankOfKey(category, keyAt(position));
        if (landing < rank)
            top = std::min(top, landing);
    }
    const std::size_t ranked = store.rankedRows(category);
    const auto rows = static_cast<std::size_t>(m_table->rowCount());
    if (ranked < rows) {
        const std::size_t landing = store.rankOfKey(category, keyAt(ranked));
        if (landing < ranked)
            top = std::min(top, landing);
        for (std::size_t position = ranked + 1; position < rows; ++position) {
            if (!ranksBefore(keyAt(position - 1), keyAt(position))) {
                top = std::min(top, ranked);
                break;
            }
        }
    }
    return top;
}

bool ByCountProxyModel::hasPersistentFrom(std::size_t row) const
{
    const QModelIndexList held = persistentIndexList();
    return std::any_of(held.begin(), held.end(),
                       [row](const QModelIndex& index) { return static_cast<std::size_t>(index.row()) >= row; });
}

// The changed rows only, where they are few; a view repaints a row only when it shows it.
void ByCountProxyModel::repaintRows(std::span<const std::size_t> changed)
{
    constexpr std::size_t fewRows = 64; // past this, one signal for all is cheaper than one a row
    if (m_rows == 0)
        return;
    if (changed.size() > fewRows) {
        Q_EMIT dataChanged(index(0, 0), index(m_rows - 1, columnCount() - 1));
        return;
    }
    for (const std::size_t position : changed) {
        if (const int row = rowOf(position); row >= 0)
            Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
}

template <typename Change>
void ByCountProxyModel::relayout(Change&& change)
{
    // Views save what they hold while the old order still answers; only then does it move.
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    change();
    const QModelIndexList held = persistentIndexList();
    QModelIndexList moved;
    moved.reserve(held.size());
    for (const QModelIndex& index : held) {
        const auto position = static_cast<std::size_t>(index.internalId());
        const int row = rowOf(position);
        moved.push_back(row < 0 ? QModelIndex() : createIndex(row, index.column(), position));
    }
    changePersistentIndexList(held, moved);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ByCountProxyModel::sort(int column, Qt::SortOrder order)
{
    if (column == m_sortColumn && order == m_sortOrder)
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    if (m_table != nullptr)
        relayout([this] { chooseOrder(); });
}

void ByCountProxyModel::setFilter(const QString& text)
{
    RowFilter filter(text);
    if (filter.text() == m_filter.text())
        return;
    beginResetModel();
    m_filter = std::move(filter);
    if (m_table != nullptr)
        chooseOrder();
    endResetModel();
}

bool ByCountProxyModel::showsRanking() const
{
    return m_filter.empty() && m_sortColumn == TrafficTableModel::CountColumn && m_sortOrder == Qt::DescendingOrder;
}

// The one pass over all rows, on the user's action: which rows pass, in which order.
void ByCountProxyModel::chooseOrder()
{
    const auto rows = static_cast<std::size_t>(m_table->rowCount());
    if (showsRanking()) {
        m_chosen.reset();
        m_rows = static_cast<int>(rows);
        return;
    }
    std::vector<std::size_t> shown;
    for (std::size_t position = 0; position < rows; ++position) {
        if (m_filter.matches(*m_table, position))
            shown.push_back(position);
    }
    if (m_sortColumn == TrafficTableModel::CountColumn && m_sortOrder == Qt::DescendingOrder) {
        const TrafficTableModel* table = m_table;
        m_chosen = std::make_unique<FilteredRanking>(shown, [table](std::size_t position) {
            return RankKey{table->countAt(position), table->sightingAt(position)};
        });
    } else {
        m_chosen = std::make_unique<FixedOrder>(sortedByColumn(*m_table, std::move(shown), m_sortColumn, m_sortOrder),
                                                rows);
    }
    m_rows = static_cast<int>(m_chosen->size());
}

QModelIndex ByCountProxyModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || row >= m_rows || column < 0 || column >= columnCount())
        return {};
    return createIndex(row, column, positionAt(row));
}

QModelIndex ByCountProxyModel::parent(const QModelIndex& /*child*/) const { return {}; }

int ByCountProxyModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows; }

int ByCountProxyModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || m_table == nullptr ? 0 : m_table->columnCount();
}

QModelIndex ByCountProxyModel::mapToSource(const QModelIndex& proxyIndex) const
{
    if (!proxyIndex.isValid() || m_table == nullptr)
        return {};
    const auto position = static_cast<std::size_t>(proxyIndex.internalId());
    if (position == absent || position >= static_cast<std::size_t>(m_table->rowCount()))
        return {};
    return m_table->index(static_cast<int>(position), proxyIndex.column());
}

QModelIndex ByCountProxyModel::mapFromSource(const QModelIndex& sourceIndex) const
{
    if (!sourceIndex.isValid())
        return {};
    const auto position = static_cast<std::size_t>(sourceIndex.row());
    const int row = rowOf(position);
    return row < 0 ? QModelIndex() : createIndex(row, sourceIndex.column(), position);
}

// Rows the ranking does not hold yet (arrived since the last resort) stay at the end, in
// the order they arrived.
std::size_t ByCountProxyModel::positionAt(int row) const
{
    const auto rank = static_cast<std::size_t>(row);
    if (m_chosen)
        return m_chosen->positionAt(rank);
    if (!m_sorting)
        return rank;
    const TrafficStore& store = m_table->store();
    const std::size_t ranked = store.rankedRows(m_table->category());
    if (rank < ranked)
        return store.positionAtRank(m_table->category(), rank);
    return rank; // the newest rows are the table's last ones, in both orders
}

int ByCountProxyModel::rowOf(std::size_t position) const
{
    if (m_chosen) {
        const std::size_t row = m_chosen->rowOf(position);
        return row == ShownOrder::absent ? -1 : static_cast<int>(row);
    }
    if (position >= static_cast<std::size_t>(m_rows))
        return -1;
    if (!m_sorting)
        return static_cast<int>(position);
    const std::size_t rank = m_table->store().rankOf(m_table->category(), position);
    return rank == absent || rank >= static_cast<std::size_t>(m_rows) ? static_cast<int>(position)
                                                                      : static_cast<int>(rank);
}

// Positions moved up after a removal: the chosen order is chosen again.
void ByCountProxyModel::resetFromTable()
{
    chooseOrder();
    endResetModel();
}

void ByCountProxyModel::sourceRowsInserted(const QModelIndex& /*parent*/, int first, int last)
{
    if (m_chosen) {
        std::vector<std::size_t> joining;
        for (auto position = static_cast<std::size_t>(first); position <= static_cast<std::size_t>(last); ++position) {
            if (m_filter.matches(*m_table, position))
                joining.push_back(position);
        }
        if (joining.empty())
            return;
        beginInsertRows({}, m_rows, m_rows + static_cast<int>(joining.size()) - 1);
        m_chosen->append(joining);
        m_rows = static_cast<int>(m_chosen->size());
        endInsertRows();
        return;
    }
    beginInsertRows({}, m_rows, m_rows + (last - first));
    m_rows += last - first + 1;
    endInsertRows();
}

// A ranked view does not know where a span of the table lands: it repaints what it shows.
void ByCountProxyModel::sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                          const QList<int>& roles)
{
    if (m_rows == 0)
        return;
    if (!m_sorting && !m_chosen) {
        Q_EMIT dataChanged(mapFromSource(topLeft), mapFromSource(bottomRight), roles);
        return;
    }
    // Counted rows of the ranking are repainted by the resort that follows every batch.
    if (m_sorting && !m_chosen && roles.contains(TrafficTableModel::countRole))
        return;
    Q_EMIT dataChanged(index(0, 0), index(m_rows - 1, columnCount() - 1), roles);
}

} // namespace rovex
