#include "app/desktop/TrafficTableModel.h"

#include "app/desktop/ActionIcons.h"
#include "app/desktop/PositionRuns.h"
#include "app/images/Images.h"
#include "app/images/QtText.h"

#include <QDateTime>

#include <algorithm>

#include <vector>

namespace rovex {

namespace {

QString dateText(TimePoint date)
{
    const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(date.time_since_epoch());
    return QDateTime::fromMSecsSinceEpoch(milliseconds.count()).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

TrafficTableModel::TrafficTableModel(TrafficStore& store, TrafficCategory category, QObject* parent)
    : QAbstractTableModel(parent),
      m_store(store),
      m_category(category),
      m_rows(static_cast<int>(store.rowCount(category)))
{}

int TrafficTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows; }

int TrafficTableModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return isPortTable(m_category) ? DateColumn + 1 : CountryColumn + 1;
}

QVariant TrafficTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: return display(index);
    case Qt::DecorationRole: return decoration(index);
    case countRole: return QVariant::fromValue<qint64>(countAt(static_cast<std::size_t>(index.row())));
    case Qt::TextAlignmentRole:
        if (index.column() == CountColumn)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return {};
    default: return {};
    }
}

std::int64_t TrafficTableModel::countAt(std::size_t row) const
{
    return isPortTable(m_category) ? m_store.portRows(m_category)[row].portCount
                                   : m_store.ipRows(m_category)[row].ipCount;
}

QVariant TrafficTableModel::display(const QModelIndex& index) const
{
    const auto row = static_cast<std::size_t>(index.row());
    if (isPortTable(m_category)) {
        const ObjPort& port = m_store.portRows(m_category)[row];
        switch (index.column()) {
        case NameColumn: return textOf(port.portName);
        case CountColumn: return QString::number(port.portCount);
        case DateColumn: return dateText(port.portDate);
        default: return {};
        }
    }
    const ObjIp& address = m_store.ipRows(m_category)[row];
    switch (index.column()) {
    case NameColumn: return textOf(address.ipName);
    case CountColumn: return QString::number(address.ipCount);
    case DateColumn: return dateText(address.ipDate);
    case FlagColumn: return address.ipImage.empty() ? QVariant() : QVariant(textOf(address.ipImage).toUpper());
    case CountryColumn: return textOf(address.nationName);
    default: return {};
    }
}

QVariant TrafficTableModel::decoration(const QModelIndex& index) const
{
    const auto row = static_cast<std::size_t>(index.row());
    if (index.column() == IconColumn) {
        if (isPortTable(m_category))
            return Images::named(textOf(m_store.portRows(m_category)[row].portImage));
        return Images::named(actionIconName(kindOf(m_category)));
    }
    if (index.column() == FlagColumn && !isPortTable(m_category))
        return Images::named(textOf(m_store.ipRows(m_category)[row].ipImage));
    return {};
}

QVariant TrafficTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case IconColumn: return QString();
    case NameColumn: return menuText(isPortTable(m_category) ? "colport" : "coladdress");
    case CountColumn: return menuText("colcount");
    case DateColumn: return menuText("colfirstseen");
    case FlagColumn: return QString();
    case CountryColumn: return menuText("colcountry");
    default: return {};
    }
}

void TrafficTableModel::applyChanges(const ChangedRows& changes)
{
    const int rows = static_cast<int>(m_store.rowCount(m_category));
    if (changes.added && rows > m_rows) {
        beginInsertRows({}, m_rows, rows - 1);
        m_rows = rows;
        endInsertRows();
    }
    // One signal for the whole span: a sorted view then re-sorts once, not once per row.
    if (changes.counted() && changes.firstCounted < static_cast<std::size_t>(m_rows)) {
        const std::size_t last = std::min(changes.lastCounted, static_cast<std::size_t>(m_rows) - 1);
        Q_EMIT dataChanged(index(static_cast<int>(changes.firstCounted), CountColumn),
                           index(static_cast<int>(last), CountColumn), {Qt::DisplayRole, countRole});
    }
}

void TrafficTableModel::removePositions(std::span<const std::size_t> positions)
{
    std::vector<std::size_t> valid;
    for (const std::size_t position : positions) {
        if (position < static_cast<std::size_t>(m_rows))
            valid.push_back(position);
    }
    const std::vector<PositionRun> runs = positionRuns(std::move(valid));
    // Highest run first, so that removing a run never moves the runs still to come.
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        beginRemoveRows({}, static_cast<int>(run->first), static_cast<int>(run->last));
        std::vector<std::size_t> doomed;
        for (std::size_t position = run->first; position <= run->last; ++position)
            doomed.push_back(position);
        m_store.remove(m_category, doomed);
        m_rows = static_cast<int>(m_store.rowCount(m_category));
        endRemoveRows();
    }
}

void TrafficTableModel::beginClear() { beginResetModel(); }

void TrafficTableModel::endClear()
{
    m_rows = static_cast<int>(m_store.rowCount(m_category));
    endResetModel();
}

} // namespace rovex
