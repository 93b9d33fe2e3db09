#pragma once

#include "intake/TrafficStore.h"

#include <QAbstractListModel>

#include <span>

namespace rovex {

// One of the two ignore lists (ports or addresses) as a list view sees it, read in place
// from the store.
class IgnoreListModel final : public QAbstractListModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(IgnoreListModel)

public:
    enum class Kind { Ports, Addresses };

    IgnoreListModel(TrafficStore& store, Kind kind, QObject* parent = nullptr);

    Kind kind() const { return m_kind; }
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The store's list grew at its end (names were ignored from a table).
    void listGrew();
    // Takes the names at the positions off the list.
    void deIgnore(std::span<const std::size_t> positions);

private:
    const std::vector<std::string>& names() const;

    TrafficStore& m_store;
    Kind m_kind;
    int m_rows = 0;
};

} // namespace rovex
