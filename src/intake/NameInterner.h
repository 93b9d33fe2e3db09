#pragma once

#include "intake/ShortKeyTable.h"
#include "text/TextHash.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace rovex {

// Gives each distinct port or address text a small number, so that tables and occurrence
// records index by number after one hash of the text per line.
class NameInterner final {
public:
    using Id = std::uint32_t;

    Id intern(std::string_view name);
    std::optional<Id> find(std::string_view name) const;
    std::string_view name(Id id) const { return m_names[id]; }
    std::size_t size() const { return m_names.size(); }
    void clear();

private:
    std::deque<std::string> m_names; // a deque keeps every text where it is as it grows
    ShortKeyTable m_shortIds;        // ports and IPv4 addresses all fit
    absl::flat_hash_map<std::string_view, Id, TextHash, TextEqual> m_longIds;
};

} // namespace rovex
