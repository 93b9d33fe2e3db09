#pragma once

#include <QStyledItemDelegate>

namespace rovex {

// Draws a share (the model's StatsEntryModel::shareRole, 0 to 1) as a bar under its text.
class ShareBarDelegate final : public QStyledItemDelegate {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ShareBarDelegate)

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace rovex
