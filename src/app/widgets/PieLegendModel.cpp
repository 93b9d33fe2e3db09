#include "app/widgets/PieLegendModel.h"

#include "app/images/MenuTexts.h"
#include "app/widgets/CustomCircle.h"

#include <QLocale>

namespace rovex {

PieLegendModel::PieLegendModel(QObject* parent) : QAbstractTableModel(parent) {}

void PieLegendModel::setSlices(const std::vector<RXDiaObj>& slices)
{
    beginResetModel();
    m_slices = slices;
    endResetModel();
}

int PieLegendModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_slices.size());
}

int PieLegendModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant PieLegendModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const RXDiaObj& slice = m_slices[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
    case SignColumn:
        if (role == Qt::DisplayRole)
            return QString::fromStdString(slice.theSign);
        if (role == Qt::ForegroundRole)
            return colorOf(slice.theColor);
        break;
    case NameColumn:
        if (role == Qt::DisplayRole)
            return QString::fromStdString(slice.theName);
        break;
    case CountColumn:
        if (role == Qt::DisplayRole)
            return QLocale().toString(static_cast<qlonglong>(slice.theNumber));
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        break;
    default: break;
    }
    return {};
}

QVariant PieLegendModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case NameColumn: return menuText("colname");
    case CountColumn: return menuText("colcount");
    default: return QString();
    }
}

} // namespace rovex
