#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace rovex {

// The rows a table shows and their order when the user chose something other than the
// whole table by count (which the store's ranking serves): a filter, another column, or
// both. Built once on the user's action; afterwards it costs what the batches change.
class ShownOrder {
public:
    static constexpr std::size_t absent = SIZE_MAX;

    ShownOrder() = default;
    ShownOrder(const ShownOrder&) = delete;
    ShownOrder& operator=(const ShownOrder&) = delete;
    virtual ~ShownOrder() = default;

    virtual std::size_t size() const = 0;
    // The table position shown at a row, and the row of a position (absent when not shown).
    virtual std::size_t positionAt(std::size_t row) const = 0;
    virtual std::size_t rowOf(std::size_t position) const = 0;
    // New rows that pass the filter: shown at the end until placed.
    virtual void append(std::span<const std::size_t> positions) = 0;
    // Rows added or counted: whether the order moves them (then place() does).
    virtual bool moves() const = 0;
    virtual void place(std::span<const std::size_t> changed) = 0;
};

} // namespace rovex
