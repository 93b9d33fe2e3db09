#pragma once

#include "simplelog/RXSimpleLog.h"

#include <QAbstractTableModel>

#include <deque>
#include <vector>

namespace rovex {

// The simple log's rows as Qt sees them: oldest first, newest last. Rows arrive in batches
// at the end and leave in batches from the front, each change told to the views once.
class SimpleLogModel final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SimpleLogModel)

public:
    enum Column {
        ActionColumn,
        DateColumn,
        InterfaceColumn,
        SourceColumn,
        SourcePortColumn,
        DestinationColumn,
        DestinationPortColumn,
        ColumnCount
    };
    // What a sorted view orders by: ports as numbers, the date column by arrival.
    static constexpr int sortRole = Qt::UserRole + 1;

    explicit SimpleLogModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void appendRows(std::vector<RXSimpleLog> rows);
    // Removes the count rows added first.
    void removeOldest(std::size_t count);
    void clear();

    std::size_t size() const { return m_rows.size(); }
    const RXSimpleLog& rowAt(std::size_t row) const { return m_rows[row]; }

private:
    QVariant display(const RXSimpleLog& row, int column) const;
    QVariant decoration(const RXSimpleLog& row, int column) const;
    QVariant sortValue(const QModelIndex& index) const;

    std::deque<RXSimpleLog> m_rows;
};

} // namespace rovex
