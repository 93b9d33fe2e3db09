#pragma once

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
    // A text of at most 16 bytes held inside the hash table's slot: finding it costs one
    // visit to the table and none to the text's storage. Ports and IPv4 addresses all fit.
    struct ShortKey {
        std::uint64_t head = 0;
        std::uint64_t tail = 0;
        std::uint32_t size = 0;

        static ShortKey of(std::string_view text);
        bool operator==(const ShortKey&) const = default;
    };
    struct ShortKeyHash {
        std::size_t operator()(const ShortKey& key) const;
    };
    static constexpr std::size_t shortLimit = 16;

    std::deque<std::string> m_names; // a deque keeps every text where it is as it grows
    absl::flat_hash_map<ShortKey, Id, ShortKeyHash> m_shortIds;
    absl::flat_hash_map<std::string_view, Id, TextHash, TextEqual> m_longIds;
};

} // namespace rovex
