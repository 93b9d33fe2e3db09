#include "intake/LayoutAdapter.h"

#include "intake/PfLineGrammar.h"
#include "layouts/FilterlogReader.h"
#include "layouts/PflogTextReader.h"
#include "intake/ProductLayoutCheck.h"
#include "layouts/ProductLineWriter.h"

namespace rovex {

std::string_view describe(LogLayout layout)
{
    switch (layout) {
    case LogLayout::Product: return "product";
    case LogLayout::Pflog: return "pflog";
    case LogLayout::Filterlog: return "filterlog";
    case LogLayout::Unread: return "unread";
    }
    return "unknown";
}

std::string describeCounts(const LayoutAdapter::LayoutCounts& counts)
{
    std::string text;
    for (const LogLayout layout : allLogLayouts) {
        if (!text.empty())
            text += ", ";
        text += std::to_string(counts[static_cast<std::size_t>(layout)]);
        text += ' ';
        text += describe(layout);
    }
    return text;
}

LayoutAdapter::LayoutAdapter(LayoutSetting setting) : m_setting(setting) { m_written.reserve(256); }

// Most product lines are settled by the quick check, which costs a small part of a reading,
// and most lines of other layouts (filterlog's CSV has few spaces) by counting spaces.
// Otherwise the product's reading decides: it keeps a line when it is Read with endpoints
// that split, or when it is ExcludedSource. readPfLogLine gives endpoints that do not split
// as default (null) views, and split ones as views into the line even where they are
// empty, so the null view tells the two apart exactly. A line of another layout can hold
// fields 12 and 14 that happen to split (an IPv6 endpoint and "[P.],", behind an RFC 3339
// header), but then not "in" or "out" at field 9 as well: it is left to the other readers.
bool LayoutAdapter::isReadByProduct(std::string_view line)
{
    if (m_quickCheck.check(line) == ProductCheck::Kept)
        return true;
    if (ProductLayoutCheck::hasTooFewSpaces(line))
        return false;
    const LineOutcome outcome = readPfLogLine(line, m_productLine);
    if (!keepsProductReading(outcome, m_productLine))
        return false;
    if (outcome == LineOutcome::Read && !m_productLine.action.empty())
        m_quickCheck.learn(line, static_cast<std::size_t>(m_productLine.action.data() - line.data()));
    return true;
}

LogLayout LayoutAdapter::adaptOther(std::string_view line)
{
    if (readPflogText(line, m_record) == RecordOutcome::Read && writeProductLine(m_record, "pflog", m_written))
        return LogLayout::Pflog;
    if (readFilterlog(line, m_record) == RecordOutcome::Read && writeProductLine(m_record, "filterlog", m_written))
        return LogLayout::Filterlog;
    return LogLayout::Unread;
}

void LayoutAdapter::addCounts(const LayoutCounts& counts)
{
    for (std::size_t layout = 0; layout < logLayoutCount; ++layout)
        m_counts[layout] += counts[layout];
}

bool LayoutAdapter::keepsProductReading(LineOutcome outcome, const PfLogLine& read)
{
    if (outcome == LineOutcome::ExcludedSource)
        return true;
    return outcome == LineOutcome::Read && read.sourceAddress.data() != nullptr
        && (read.direction == "in" || read.direction == "out");
}

std::string_view LayoutAdapter::adapt(std::string_view line)
{
    if (m_setting == LayoutSetting::Product)
        return line;
    return adaptRead(line, isReadByProduct(line));
}

std::string_view LayoutAdapter::adaptRead(std::string_view line, bool keptByProduct)
{
    if (m_setting == LayoutSetting::Product)
        return line;
    m_lastLayout = keptByProduct ? LogLayout::Product : adaptOther(line);
    ++m_counts[static_cast<std::size_t>(m_lastLayout)];
    const bool written = m_lastLayout == LogLayout::Pflog || m_lastLayout == LogLayout::Filterlog;
    return written ? std::string_view(m_written) : line;
}

} // namespace rovex
