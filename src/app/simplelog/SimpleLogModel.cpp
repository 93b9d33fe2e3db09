#include "app/simplelog/SimpleLogModel.h"

#include "app/images/Images.h"
#include "app/images/QtText.h"
#include "text/DecimalText.h"

namespace rovex {

namespace {

// An empty name is the empty default image.
QIcon imageOf(std::string_view name) { return Images::named(textOf(name)); }

// A port sorts by its number; a text that is not one sorts after every number.
qint64 portOrder(std::string_view port)
{
    const auto number = readDecimal(port);
    return number ? *number : std::numeric_limits<qint64>::max();
}

} // namespace

SimpleLogModel::SimpleLogModel(QObject* parent) : QAbstractTableModel(parent) {}

int SimpleLogModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int SimpleLogModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant SimpleLogModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= m_rows.size())
        return {};
    const RXSimpleLog& row = m_rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole: return display(row, index.column());
    case Qt::DecorationRole: return decoration(row, index.column());
    case sortRole: return sortValue(index);
    case Qt::ToolTipRole:
        if (index.column() == SourcePortColumn)
            return textOf(row.logFirstPortName());
        if (index.column() == DestinationPortColumn)
            return textOf(row.logSecondPortName());
        return display(row, index.column());
    default: return {};
    }
}

QVariant SimpleLogModel::display(const RXSimpleLog& row, int column) const
{
    switch (column) {
    case ActionColumn: return QString(textOf(row.logAction()) + u' ' + textOf(row.logDirection()));
    case DateColumn:
        return QString(textOf(row.logMonth()) + u' ' + textOf(row.logDay()) + u' ' + textOf(row.logTime()));
    case InterfaceColumn: return textOf(row.logInterface());
    case SourceColumn: return textOf(row.logFirstAddress());
    case SourcePortColumn: return textOf(row.logFirstPort());
    case DestinationColumn: return textOf(row.logSecondAddress());
    case DestinationPortColumn: return textOf(row.logSecondPort());
    default: return {};
    }
}

QVariant SimpleLogModel::decoration(const RXSimpleLog& row, int column) const
{
    switch (column) {
    case ActionColumn: return imageOf(row.logActionImage());
    case SourcePortColumn: return imageOf(row.logFirstPortImage());
    case DestinationPortColumn: return imageOf(row.logSecondPortImage());
    default: return {};
    }
}

QVariant SimpleLogModel::sortValue(const QModelIndex& index) const
{
    const RXSimpleLog& row = m_rows[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
    case DateColumn: return index.row(); // the order rows arrived in
    case SourcePortColumn: return portOrder(row.logFirstPort());
    case DestinationPortColumn: return portOrder(row.logSecondPort());
    default: return display(row, index.column());
    }
}

QVariant SimpleLogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case ActionColumn: return menuText("colaction");
    case DateColumn: return menuText("coltime");
    case InterfaceColumn: return menuText("colinterface");
    case SourceColumn: return menuText("colsource");
    case SourcePortColumn: return menuText("colsourceport");
    case DestinationColumn: return menuText("coldestination");
    case DestinationPortColumn: return menuText("coldestport");
    default: return {};
    }
}

void SimpleLogModel::appendRows(std::vector<RXSimpleLog> rows)
{
    if (rows.empty())
        return;
    const int first = static_cast<int>(m_rows.size());
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    for (RXSimpleLog& row : rows)
        m_rows.push_back(std::move(row));
    endInsertRows();
}

void SimpleLogModel::removeOldest(std::size_t count)
{
    count = std::min(count, m_rows.size());
    if (count == 0)
        return;
    beginRemoveRows({}, 0, static_cast<int>(count) - 1);
    m_rows.erase(m_rows.begin(), m_rows.begin() + static_cast<std::ptrdiff_t>(count));
    endRemoveRows();
}

void SimpleLogModel::clear()
{
    if (m_rows.empty())
        return;
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

} // namespace rovex
