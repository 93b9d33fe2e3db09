#include "intake/NameInterner.h"

#include <array>
#include <cstring>

namespace rovex {

NameInterner::ShortKey NameInterner::ShortKey::of(std::string_view text)
{
    std::array<char, shortLimit> bytes{};
    std::memcpy(bytes.data(), text.data(), text.size());
    ShortKey key;
    std::memcpy(&key.head, bytes.data(), 8);
    std::memcpy(&key.tail, bytes.data() + 8, 8);
    key.size = static_cast<std::uint32_t>(text.size());
    return key;
}

std::size_t NameInterner::ShortKeyHash::operator()(const ShortKey& key) const
{
    __extension__ using Wide = unsigned __int128;
    const Wide product = static_cast<Wide>(key.head ^ 0xa0761d6478bd642fULL)
        * (key.tail ^ 0xe7037ed1a0b428dbULL ^ key.size);
    return static_cast<std::size_t>(static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64U));
}

NameInterner::Id NameInterner::intern(std::string_view name)
{
    const auto next = static_cast<Id>(m_names.size());
    if (name.size() <= shortLimit) {
        const auto [found, added] = m_shortIds.try_emplace(ShortKey::of(name), next);
        if (added)
            m_names.emplace_back(name);
        return found->second;
    }
    if (const auto found = m_longIds.find(name); found != m_longIds.end())
        return found->second;
    const std::string& stored = m_names.emplace_back(name);
    m_longIds.emplace(stored, next);
    return next;
}

std::optional<NameInterner::Id> NameInterner::find(std::string_view name) const
{
    if (name.size() <= shortLimit) {
        const auto found = m_shortIds.find(ShortKey::of(name));
        return found == m_shortIds.end() ? std::nullopt : std::optional<Id>(found->second);
    }
    const auto found = m_longIds.find(name);
    return found == m_longIds.end() ? std::nullopt : std::optional<Id>(found->second);
}

void NameInterner::clear()
{
    m_shortIds.clear();
    m_longIds.clear();
    m_names.clear();
}

} // namespace rovex
