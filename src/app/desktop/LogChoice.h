#pragma once

#include "intake/LayoutAdapter.h"
#include "stats/LogArchives.h"

#include <filesystem>
#include <optional>

namespace rovex {

// The log the application reads and the layouts it reads in it. No file is the product's
// log under the root folder. The user's choice is remembered between runs; a start with
// --log or --layouts uses those for that run only.
struct LogChoice {
    std::optional<std::filesystem::path> file;
    LayoutSetting layouts = LayoutSetting::Product;

    std::filesystem::path path(const std::filesystem::path& root) const;
    LogArchives archives(const std::filesystem::path& root) const;
    bool operator==(const LogChoice&) const = default;

    // The choice remembered in the settings (the product's log and layout at first).
    static LogChoice remembered();
    void remember() const;
};

} // namespace rovex
