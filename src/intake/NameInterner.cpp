#include "intake/NameInterner.h"

namespace rovex {

NameInterner::Id NameInterner::intern(std::string_view name)
{
    if (const auto found = m_ids.find(name); found != m_ids.end())
        return found->second;
    const auto id = static_cast<Id>(m_names.size());
    const std::string& stored = m_names.emplace_back(name);
    m_ids.emplace(stored, id);
    return id;
}

std::optional<NameInterner::Id> NameInterner::find(std::string_view name) const
{
    const auto found = m_ids.find(name);
    if (found == m_ids.end())
        return std::nullopt;
    return found->second;
}

void NameInterner::clear()
{
    m_ids.clear();
    m_names.clear();
}

} // namespace rovex
