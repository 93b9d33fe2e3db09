#pragma once

#include "app/desktop/ChangedRows.h"
#include "intake/TrafficCategory.h"
#include "intake/TrafficStore.h"

#include <QAbstractTableModel>

#include <span>
#include <vector>
#include <string_view>

namespace rovex {

class ServiceNames;

// One of the eight live tables as Qt sees it: the store's rows in the order they were
// added, read in place. The store is changed by the classifier first and the model told
// afterwards, once per chunk, with the positions that changed; user actions go through
// the model so that views hear of rows before they disappear.
class TrafficTableModel final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TrafficTableModel)

public:
    enum Column { IconColumn, NameColumn, CountColumn, DateColumn, FlagColumn, CountryColumn };
    // The row's count as a number: what the sorted views order by.
    static constexpr int countRole = Qt::UserRole + 1;

    // The service names label the port rows; countriesKnowIPv6 says whether an IPv6 address
    // without a country is simply unknown or outside what the database covers.
    TrafficTableModel(TrafficStore& store, TrafficCategory category, const ServiceNames& services,
                      bool countriesKnowIPv6, QObject* parent = nullptr);

    TrafficCategory category() const { return m_category; }
    // The store the rows live in; the sorted views rank them there.
    TrafficStore& store() const { return m_store; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // What a row holds, as the views order and filter by it (rows are store positions).
    std::int64_t countAt(std::size_t row) const;
    std::uint64_t sightingAt(std::size_t row) const;
    TimePoint dateAt(std::size_t row) const;
    std::string_view nameAt(std::size_t row) const;
    // The service's name of a port row; empty for address rows and unnamed ports.
    std::string_view serviceAt(std::size_t row) const;
    // The flag's code of an address row; empty for port rows and rows without a country.
    std::string_view flagAt(std::size_t row) const;
    // The country of an address row, or why it has none ("private", "IPv6", ...).
    std::string_view countryAt(std::size_t row) const;
    bool isIgnoredAt(std::size_t row) const;

    // The ignore lists or the service names changed: every row repaints its marks and labels.
    void labelsChanged();
    // While held, rows show the counts they had when the hold began (a paused window);
    // rows added to the view meanwhile show theirs.
    void holdCounts(bool hold);

    // The store added and counted these rows since the model was last told.
    void applyChanges(const ChangedRows& changes);
    // Removes the rows at the positions from the table (and the view).
    void removePositions(std::span<const std::size_t> positions);

    // The store is about to be emptied, or was: around cleanAll.
    void beginClear();
    void endClear();

private:
    QVariant display(const QModelIndex& index) const;
    QVariant decoration(const QModelIndex& index) const;
    QVariant toolTip(const QModelIndex& index) const;

    TrafficStore& m_store;
    TrafficCategory m_category;
    const ServiceNames& m_services;
    bool m_countriesKnowIPv6;
    int m_rows = 0; // what the views were told; the store may be ahead within a chunk
    bool m_holding = false;
    std::vector<std::int64_t> m_heldCounts; // by position, while holding
};

} // namespace rovex
