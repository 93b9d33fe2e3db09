#include "stats/StatsTally.h"

#include "stats/StatsLineReader.h"

namespace rovex {

StatsTally::StatsTally(const StatsQuery& query, LayoutSetting layouts)
    : m_query(&query),
      m_addressFromSource(query.direction != "out"),
      m_portAddressFromSource(query.port && query.port->direction != "out"),
      m_adapter(layouts)
{}

void StatsTally::addLine(std::string_view line, bool readable)
{
    ++m_lineCount;
    if (m_linesRead != nullptr && ++m_unreported == reportEvery) {
        m_linesRead->fetch_add(reportEvery, std::memory_order_relaxed);
        m_unreported = 0;
    }
    if (!readable)
        return;
    RXLogLine record;
    const StatsLineOutcome outcome = readStatsLine(m_adapter.adapt(line), record, m_portScratch);
    if (isCountedLine(outcome))
        ++m_counted;
    if (outcome != StatsLineOutcome::kept)
        return;
    ++m_kept;
    if (record.logLineAction == m_query->action && record.logLineDirection == m_query->direction)
        select(record);
}

void StatsTally::select(const RXLogLine& record)
{
    ++m_selected;
    countText(m_addresses, m_addressFromSource ? record.logLineSourceAddress : record.logLineTargetAddress);
    countText(m_ports, record.logLineTargetPort);
    if (m_query->port && record.logLineTargetPort == m_query->port->portText)
        countText(m_portAddresses, m_portAddressFromSource ? record.logLineSourceAddress : record.logLineTargetAddress);
}

void StatsTally::countText(TextMap<std::int64_t>& counts, std::string_view text, std::int64_t by)
{
    const auto found = counts.find(text);
    if (found != counts.end())
        found->second += by;
    else
        counts.emplace(std::string(text), by);
}

void StatsTally::merge(const StatsTally& other)
{
    m_lineCount += other.m_lineCount;
    m_counted += other.m_counted;
    m_kept += other.m_kept;
    m_selected += other.m_selected;
    m_adapter.addCounts(other.m_adapter.counts());
    for (const auto& [text, count] : other.m_addresses)
        countText(m_addresses, text, count);
    for (const auto& [text, count] : other.m_ports)
        countText(m_ports, text, count);
    for (const auto& [text, count] : other.m_portAddresses)
        countText(m_portAddresses, text, count);
}

} // namespace rovex
