#include "intake/NameInterner.h"

namespace rovex {

NameInterner::Id NameInterner::intern(std::string_view name)
{
    const auto next = static_cast<Id>(m_names.size());
    if (name.size() <= ShortKeyTable::limit) {
        const auto [id, added] = m_shortIds.findOrAdd(name, next);
        if (added)
            m_names.emplace_back(name);
        return id;
    }
    if (const auto found = m_longIds.find(name); found != m_longIds.end())
        return found->second;
    const std::string& stored = m_names.emplace_back(name);
    m_longIds.emplace(stored, next);
    return next;
}

std::optional<NameInterner::Id> NameInterner::find(std::string_view name) const
{
    if (name.size() <= ShortKeyTable::limit)
        return m_shortIds.find(name);
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
