#pragma once

#include "chart/RXDiaObj.h"

#include <QAbstractTableModel>

#include <vector>

namespace rovex {

// The legend of a pie: per slice its sign in the slice's colour, its name and its count.
class PieLegendModel final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PieLegendModel)

public:
    enum Column { SignColumn, NameColumn, CountColumn, ColumnCount };

    explicit PieLegendModel(QObject* parent = nullptr);

    // The slices of the previous pie go, these come.
    void setSlices(const std::vector<RXDiaObj>& slices);
    const std::vector<RXDiaObj>& slices() const { return m_slices; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<RXDiaObj> m_slices;
};

} // namespace rovex
