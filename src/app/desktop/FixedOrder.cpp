#include "app/desktop/FixedOrder.h"

namespace rovex {

FixedOrder::FixedOrder(std::vector<std::size_t> order, std::size_t tableRows)
    : m_order(std::move(order)), m_rowOf(tableRows, absent)
{
    for (std::size_t row = 0; row < m_order.size(); ++row)
        m_rowOf[m_order[row]] = row;
}

std::size_t FixedOrder::rowOf(std::size_t position) const
{
    return position < m_rowOf.size() ? m_rowOf[position] : absent;
}

void FixedOrder::append(std::span<const std::size_t> positions)
{
    for (const std::size_t position : positions) {
        if (position >= m_rowOf.size())
            m_rowOf.resize(position + 1, absent);
        m_rowOf[position] = m_order.size();
        m_order.push_back(position);
    }
}

} // namespace rovex
