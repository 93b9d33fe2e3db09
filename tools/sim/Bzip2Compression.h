#pragma once

#include "sim/UniqueFd.h"

namespace rovex {

// Compresses everything readable from source into one bzip2 stream written to target,
// the format of the log's rotated archives. Throws std::runtime_error on failure.
void compressBzip2(const UniqueFd& source, const UniqueFd& target);

} // namespace rovex
