#pragma once

#include <cstdint>
#include <filesystem>

namespace rovex {

// `count`: the entries found by walking the log folder under root, its sub-folders too,
// whose path relative to it contains "pffirewall.log" (the live log and its archives).
// Folders that may not be read are passed over and links are not followed.
std::int64_t countLogEntries(const std::filesystem::path& root);

} // namespace rovex
