#include "app/stats/StatsEntryModel.h"

#include "app/images/MenuTexts.h"
#include "chart/RXDiaObj.h"

#include <QLocale>

namespace rovex {

namespace {

double shareOf(const StatsEntry& entry)
{
    return entry.maxOccurrences > 0
        ? static_cast<double>(entry.theOccurrences) / static_cast<double>(entry.maxOccurrences)
        : 0.0;
}

} // namespace

StatsEntryModel::StatsEntryModel(QObject* parent) : QAbstractTableModel(parent) {}

void StatsEntryModel::setEntries(std::vector<StatsEntry> entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

int StatsEntryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

int StatsEntryModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant StatsEntryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const StatsEntry& entry = m_entries[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
    case SignColumn:
        if (role == Qt::DisplayRole)
            return QString::fromUtf8(pieSign.data(), static_cast<qsizetype>(pieSign.size()));
        if (role == Qt::ForegroundRole && entry.theColor)
            return *entry.theColor;
        break;
    case NameColumn:
        if (role == Qt::DisplayRole)
            return entry.name;
        break;
    case CountColumn:
        if (role == Qt::DisplayRole)
            return QLocale().toString(static_cast<qlonglong>(entry.theOccurrences));
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        break;
    case ShareColumn:
        if (role == Qt::DisplayRole)
            return QString(QLocale().toString(100.0 * shareOf(entry), 'f', 1) + QStringLiteral(" %"));
        if (role == shareRole)
            return shareOf(entry);
        break;
    default: break;
    }
    return {};
}

QVariant StatsEntryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case NameColumn: return menuText("colname");
    case CountColumn: return menuText("colcount");
    case ShareColumn: return menuText("colshare");
    default: return QString();
    }
}

} // namespace rovex
