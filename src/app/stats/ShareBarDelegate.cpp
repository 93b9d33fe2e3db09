#include "app/stats/ShareBarDelegate.h"

#include "app/stats/StatsEntryModel.h"

#include <QPainter>

#include <algorithm>

namespace rovex {

void ShareBarDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const double share = std::clamp(index.data(StatsEntryModel::shareRole).toDouble(), 0.0, 1.0);
    QRectF bar = QRectF(option.rect).adjusted(2, 3, -2, -3);
    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setBrush(option.palette.color(QPalette::Midlight));
    painter->drawRect(bar);
    bar.setWidth(bar.width() * share);
    painter->setBrush(option.palette.color(QPalette::Highlight).lighter(130));
    painter->drawRect(bar);
    painter->restore();
    QStyledItemDelegate::paint(painter, option, index);
}

} // namespace rovex
