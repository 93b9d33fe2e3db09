#pragma once

#include "intake/PfLogLine.h"
#include "layouts/FirewallRecord.h"
#include "intake/ProductLayoutCheck.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace rovex {

// Which layouts the viewer reads: only the product's own, or every layout it knows.
enum class LayoutSetting : unsigned char { Product, All };

// The layout a line was found in; Unread lines are passed on untouched.
enum class LogLayout : unsigned char { Product, Pflog, Filterlog, Unread };
inline constexpr std::size_t logLayoutCount = 4;
// Every layout in the order they are shown.
inline constexpr std::array<LogLayout, logLayoutCount> allLogLayouts{LogLayout::Product, LogLayout::Pflog,
                                                                     LogLayout::Filterlog, LogLayout::Unread};

std::string_view describe(LogLayout layout);

// Stands in front of the product's three readers (live tables, simple log, statistics), so
// that each reads other layouts through its own grammar. With Product every line passes
// untouched and nothing is counted. With All, a line the product's own reading skips (too
// few fields, or endpoints that do not split) is tried as pflog text, then as filterlog;
// when one reads it, the line of the product's layout written from its record is given
// instead. Lines are counted per layout, for display.
class LayoutAdapter final {
public:
    using LayoutCounts = std::array<std::uint64_t, logLayoutCount>; // indexed by LogLayout

    explicit LayoutAdapter(LayoutSetting setting = LayoutSetting::Product);

    // The line to hand to the readers: `line` itself or a view of the adapter's buffer,
    // valid until the next call.
    std::string_view adapt(std::string_view line);

    // The same for a line the product's reading has read already (the live classifier's
    // own reading), so that a product line is read once: keptByProduct is what
    // keepsProductReading said of that reading.
    std::string_view adaptRead(std::string_view line, bool keptByProduct);
    // Whether the product's reading of a line keeps it: Read with endpoints that split and
    // a direction, or ExcludedSource. Other lines are tried as the other layouts.
    static bool keepsProductReading(LineOutcome outcome, const PfLogLine& read);

    LayoutSetting setting() const { return m_setting; }
    void setSetting(LayoutSetting setting) { m_setting = setting; }
    LogLayout lastLayout() const { return m_lastLayout; }
    const LayoutCounts& counts() const { return m_counts; }
    // Takes in the counts of an adapter that read another part of the same input.
    void addCounts(const LayoutCounts& counts);

private:
    bool isReadByProduct(std::string_view line);
    LogLayout adaptOther(std::string_view line);

    LayoutSetting m_setting;
    LogLayout m_lastLayout = LogLayout::Product;
    LayoutCounts m_counts{};
    ProductLayoutCheck m_quickCheck;
    PfLogLine m_productLine; // reused: its buffers keep their capacity
    FirewallRecord m_record;
    std::string m_written;
};

// "N product, N pflog, N filterlog, N unread": the lines each layout gave, for display.
std::string describeCounts(const LayoutAdapter::LayoutCounts& counts);

} // namespace rovex
