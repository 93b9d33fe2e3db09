#pragma once

#include "stats/LogArchives.h"
#include "stats/StatsTally.h"

#include <functional>
#include <string>
#include <string_view>

namespace rovex {

// Reads an archive whole in process, decoded by its kind, each piece of text handed to
// sink as it comes. False, with the reason in error, when any part does not decode or read.
bool decodeArchive(int fd, ArchiveCoding coding, const std::function<void(std::string_view)>& sink, std::string& error);

// Counts an archive's lines into tally. False, with the reason in error, when any part does
// not decode (the tally then holds a partial count and must be dropped).
bool tallyArchive(int fd, ArchiveCoding coding, StatsTally& tally, std::string& error);

} // namespace rovex
