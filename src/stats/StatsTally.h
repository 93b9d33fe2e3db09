#pragma once

#include "intake/LayoutAdapter.h"
#include "stats/RXLogLine.h"
#include "stats/StatsQuery.h"
#include "text/TextHash.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace rovex {

// The counts of one piece of a run: its lines, and per address and per port text the
// records of the selection. It grows with distinct texts, never with lines, and pieces
// counted apart (threads, archives) add up by merge.
class StatsTally final {
public:
    // layouts: the log layouts read (the product's own unless told otherwise).
    explicit StatsTally(const StatsQuery& query, LayoutSetting layouts = LayoutSetting::Product);

    // One line without its "\n"; readable is false for a line that is not UTF-8 or too
    // long to be a log line, which counts only as a line, like an empty one.
    void addLine(std::string_view line, bool readable = true);
    void merge(const StatsTally& other);
    // Adds the lines read to the counter every so many lines, for a progress display on
    // another thread; the exact count is lineCount().
    void reportLinesTo(std::atomic<std::int64_t>* linesRead) noexcept { m_linesRead = linesRead; }
    static constexpr std::int64_t reportEvery = 1 << 16;

    std::int64_t lineCount() const noexcept { return m_lineCount; } // every line, N of the progress
    std::int64_t counted() const noexcept { return m_counted; }     // c: neither empty nor "ethertype Unknown"
    std::int64_t kept() const noexcept { return m_kept; }           // records that pass the exclusions
    std::int64_t selected() const noexcept { return m_selected; }   // of the chosen action and direction
    const TextMap<std::int64_t>& addressCounts() const noexcept { return m_addresses; }
    const TextMap<std::int64_t>& portCounts() const noexcept { return m_ports; }
    const TextMap<std::int64_t>& portAddressCounts() const noexcept { return m_portAddresses; }
    const LayoutAdapter& layouts() const noexcept { return m_adapter; }

private:
    void select(const RXLogLine& record);
    static void countText(TextMap<std::int64_t>& counts, std::string_view text, std::int64_t by = 1);

    const StatsQuery* m_query;
    bool m_addressFromSource;
    bool m_portAddressFromSource;
    std::int64_t m_lineCount = 0;
    std::int64_t m_counted = 0;
    std::int64_t m_kept = 0;
    std::int64_t m_selected = 0;
    TextMap<std::int64_t> m_addresses;
    TextMap<std::int64_t> m_ports;
    TextMap<std::int64_t> m_portAddresses;
    std::string m_portScratch;
    LayoutAdapter m_adapter;
    std::atomic<std::int64_t>* m_linesRead = nullptr;
    std::int64_t m_unreported = 0;
};

} // namespace rovex
