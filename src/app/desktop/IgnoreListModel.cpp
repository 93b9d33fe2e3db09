#include "app/desktop/IgnoreListModel.h"

namespace rovex {

IgnoreListModel::IgnoreListModel(TrafficStore& store, Kind kind, QObject* parent)
    : QAbstractListModel(parent), m_store(store), m_kind(kind), m_rows(static_cast<int>(names().size()))
{}

const std::vector<std::string>& IgnoreListModel::names() const
{
    return m_kind == Kind::Ports ? m_store.ignorePort() : m_store.ignoreIp();
}

int IgnoreListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows; }

QVariant IgnoreListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows || role != Qt::DisplayRole)
        return {};
    return QString::fromStdString(names()[static_cast<std::size_t>(index.row())]);
}

void IgnoreListModel::listGrew()
{
    const int rows = static_cast<int>(names().size());
    if (rows <= m_rows)
        return;
    beginInsertRows({}, m_rows, rows - 1);
    m_rows = rows;
    endInsertRows();
}

void IgnoreListModel::deIgnore(std::span<const std::size_t> positions)
{
    if (positions.empty())
        return;
    // The lists are short: a reset is simpler than row-by-row removal and as quick.
    beginResetModel();
    if (m_kind == Kind::Ports)
        m_store.deIgnorePort(positions);
    else
        m_store.deIgnoreIp(positions);
    m_rows = static_cast<int>(names().size());
    endResetModel();
}

} // namespace rovex
