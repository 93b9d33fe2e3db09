#pragma once

#include "firewall/ServiceDescription.h"
#include "intake/LayoutAdapter.h"
#include "simplelog/RXSimpleLog.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace rovex {

// How many lines an on-demand read takes when nobody says otherwise.
inline constexpr std::int64_t defaultSimpleLogLimiter = 500;

struct SimpleLogTail {
    std::vector<RXSimpleLog> rows; // the accepted rows of the lines read, in file order
    // The limiter after the read: the one asked for, or the number of pieces of the file
    // (its "\n"s plus one) when that is not more than the one asked for.
    std::int64_t limiter = 0;
    std::uint64_t invalidLines = 0;                          // lines read that were not UTF-8, skipped alone
    std::optional<LayoutAdapter::LayoutCounts> layoutCounts; // lines per layout, when every layout is read
};

// The on-demand read: the rows of the last `limiter` pieces of the log cut at every "\n"
// (a log ending in "\n" has an empty last piece, which counts), read by the OnDemand
// rules. Only the tail is read: the file is scanned back from its end for the line breaks
// it needs, so a gigabyte log costs no more than the lines taken. A limiter of 0 (or less)
// reads no line. A line that is not UTF-8, or longer than maxSimpleLogLineBytes, is skipped
// alone and still counts as a piece. Nothing (and the reason in error) when the log cannot
// be opened or read, or is not a regular file. layouts: the log layouts read.
std::optional<SimpleLogTail> readSimpleLogTail(const std::filesystem::path& log, std::int64_t limiter,
                                               const ServiceImages& services, std::string* error = nullptr,
                                               LayoutSetting layouts = LayoutSetting::Product);

} // namespace rovex
