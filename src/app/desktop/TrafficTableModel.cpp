#include "app/desktop/TrafficTableModel.h"

#include "app/desktop/ActionIcons.h"
#include "app/desktop/AddressClass.h"
#include "app/desktop/PositionRuns.h"
#include "app/desktop/ServiceNames.h"
#include "app/images/Images.h"
#include "app/images/QtText.h"

#include <QApplication>
#include <QDateTime>
#include <QPalette>

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

TrafficTableModel::TrafficTableModel(TrafficStore& store, TrafficCategory category, const ServiceNames& services,
                                     bool countriesKnowIPv6, QObject* parent)
    : QAbstractTableModel(parent),
      m_store(store),
      m_category(category),
      m_services(services),
      m_countriesKnowIPv6(countriesKnowIPv6),
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
    case Qt::DisplayRole: return display(index);
    case Qt::ToolTipRole: return toolTip(index);
    case Qt::DecorationRole: return decoration(index);
    case Qt::ForegroundRole:
        // An ignored row stays, greyed: its count stands still because its lines are skipped.
        if (isIgnoredAt(static_cast<std::size_t>(index.row())))
            return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
        return {};
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
    if (row < m_heldCounts.size())
        return m_heldCounts[row];
    return isPortTable(m_category) ? m_store.portRows(m_category)[row].portCount
                                   : m_store.ipRows(m_category)[row].ipCount;
}

std::uint64_t TrafficTableModel::sightingAt(std::size_t row) const
{
    return isPortTable(m_category) ? m_store.portRows(m_category)[row].sighting
                                   : m_store.ipRows(m_category)[row].sighting;
}

TimePoint TrafficTableModel::dateAt(std::size_t row) const
{
    return isPortTable(m_category) ? m_store.portRows(m_category)[row].portDate
                                   : m_store.ipRows(m_category)[row].ipDate;
}

std::string_view TrafficTableModel::nameAt(std::size_t row) const { return m_store.rowName(m_category, row); }

std::string_view TrafficTableModel::serviceAt(std::size_t row) const
{
    return isPortTable(m_category) ? m_services.nameOf(m_store.portRows(m_category)[row].portName) : std::string_view();
}

std::string_view TrafficTableModel::flagAt(std::size_t row) const
{
    return isPortTable(m_category) ? std::string_view() : m_store.ipRows(m_category)[row].ipImage;
}

std::string_view TrafficTableModel::countryAt(std::size_t row) const
{
    if (isPortTable(m_category))
        return {};
    const ObjIp& address = m_store.ipRows(m_category)[row];
    if (!address.nationName.empty())
        return address.nationName;
    return noCountryReason(address.ipName, m_countriesKnowIPv6);
}

bool TrafficTableModel::isIgnoredAt(std::size_t row) const
{
    const std::string_view name = nameAt(row);
    return isPortTable(m_category) ? m_store.isIgnoredPort(name) : m_store.isIgnoredAddress(name);
}

QVariant TrafficTableModel::display(const QModelIndex& index) const
{
    const auto row = static_cast<std::size_t>(index.row());
    switch (index.column()) {
    case IconColumn: return isPortTable(m_category) ? QVariant(textOf(serviceAt(row))) : QVariant();
    case NameColumn: return textOf(nameAt(row));
    case CountColumn: return QString::number(countAt(row));
    case DateColumn: return dateText(dateAt(row));
    case CountryColumn: return textOf(countryAt(row));
    default: return {};
    }
}

QVariant TrafficTableModel::toolTip(const QModelIndex& index) const
{
    const auto row = static_cast<std::size_t>(index.row());
    if (isIgnoredAt(row)) {
        return QString(textOf(nameAt(row))
                       + QStringLiteral(" is ignored: new lines for it are not counted (see the ignore lists)."));
    }
    // The flag column holds the flag alone; its code shows on pointing at it.
    if (index.column() == FlagColumn)
        return flagAt(row).empty() ? QVariant() : QVariant(textOf(flagAt(row)).toUpper());
    return display(index);
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
    case IconColumn: return isPortTable(m_category) ? QStringLiteral("Service") : QString();
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
        m_heldCounts.resize(std::min(m_heldCounts.size(), static_cast<std::size_t>(m_rows)));
        endRemoveRows();
    }
    if (m_holding)
        holdCounts(true); // positions moved up: the held counts follow them
}

void TrafficTableModel::labelsChanged()
{
    if (m_rows > 0) {
        Q_EMIT dataChanged(index(0, 0), index(m_rows - 1, columnCount() - 1),
                           {Qt::DisplayRole, Qt::ForegroundRole, Qt::ToolTipRole});
    }
}

// A copy of every count: the user's pause, not a batch, pays for it.
void TrafficTableModel::holdCounts(bool hold)
{
    m_holding = hold;
    m_heldCounts.clear();
    if (!hold)
        return;
    std::vector<std::int64_t> counts(static_cast<std::size_t>(m_rows));
    for (std::size_t row = 0; row < counts.size(); ++row)
        counts[row] = countAt(row);
    m_heldCounts = std::move(counts);
}

void TrafficTableModel::beginClear() { beginResetModel(); }

void TrafficTableModel::endClear()
{
    m_rows = static_cast<int>(m_store.rowCount(m_category));
    if (m_holding)
        holdCounts(true);
    endResetModel();
}

} // namespace rovex
