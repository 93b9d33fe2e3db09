#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

namespace rovex {

// Texts of at most 16 bytes (ports, IPv4 addresses) mapped to numbers, each text held with
// its number inside one 24-byte slot of an open-addressed array: finding a text costs one
// visit to one cache line, where a general hash map pays a second for its control bytes.
class ShortKeyTable final {
public:
    using Id = std::uint32_t;
    static constexpr std::size_t limit = 16;

    // The text's number, or `next` after storing it with that number; the flag tells which.
    std::pair<Id, bool> findOrAdd(std::string_view text, Id next);
    std::optional<Id> find(std::string_view text) const;
    std::size_t size() const { return m_size; }
    std::size_t bytesHeld() const { return m_mask == 0 ? 0 : (m_mask + 1) * sizeof(Slot); }
    void clear();

private:
    struct Slot {
        std::uint64_t head = 0;
        std::uint64_t tail = 0;
        std::uint32_t size = empty;
        Id id = 0;
    };
    static constexpr std::uint32_t empty = UINT32_MAX;
    static constexpr std::size_t firstCapacity = 64;

    static Slot keyOf(std::string_view text);
    static std::uint64_t hashOf(const Slot& key);
    // The slot holding the key, or the empty slot where it belongs.
    std::size_t probe(const Slot& key) const;
    void grow();

    std::unique_ptr<Slot[]> m_slots;
    std::size_t m_mask = 0; // capacity - 1; capacity is a power of two
    std::size_t m_size = 0;
};

} // namespace rovex
