#pragma once

#include "app/desktop/ShownOrder.h"

#include <vector>

namespace rovex {

// Rows sorted once, when the user clicked a column other than the count: counting never
// moves them (the user clicks again to sort anew), and new rows join at the end.
class FixedOrder final : public ShownOrder {
public:
    // The positions in the order shown; tableRows is how many rows the table holds.
    FixedOrder(std::vector<std::size_t> order, std::size_t tableRows);

    std::size_t size() const override { return m_order.size(); }
    std::size_t positionAt(std::size_t row) const override { return m_order[row]; }
    std::size_t rowOf(std::size_t position) const override;
    void append(std::span<const std::size_t> positions) override;
    bool moves() const override { return false; }
    void place(std::span<const std::size_t> /*changed*/) override {}

private:
    std::vector<std::size_t> m_order;
    std::vector<std::size_t> m_rowOf; // by position; absent for rows filtered out
};

} // namespace rovex
