#pragma once

#include "stats/StatsTally.h"

#include <string>

namespace rovex {

// Decodes a bzip2 file in process, every stream to the end of the file as `bzip2 -d`
// does, and counts its lines into tally. False, with the reason in error, when any part
// does not decode (the tally then holds a partial count and must be dropped).
bool tallyBzip2Archive(int fd, StatsTally& tally, std::string& error);

} // namespace rovex
