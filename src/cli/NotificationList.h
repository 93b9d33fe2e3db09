#pragma once

#include "intake/ServiceNotification.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <limits>

namespace rovex::cli {

// The notifications raised, in line order: the last ones up to a capacity, and the count of
// all, so that a long follow holds a bounded amount of memory.
class NotificationList final {
public:
    explicit NotificationList(std::size_t capacity = std::numeric_limits<std::size_t>::max()) : m_capacity(capacity) {}

    void add(const ServiceNotification& notification)
    {
        ++m_count;
        if (m_capacity == 0)
            return;
        if (m_kept.size() == m_capacity)
            m_kept.pop_front();
        m_kept.push_back(notification);
    }

    const std::deque<ServiceNotification>& kept() const { return m_kept; }
    std::uint64_t count() const { return m_count; }

private:
    std::size_t m_capacity;
    std::deque<ServiceNotification> m_kept;
    std::uint64_t m_count = 0;
};

} // namespace rovex::cli
