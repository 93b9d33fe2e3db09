#pragma once

#include "sim/SimCommandLine.h"

namespace rovex {

// The commands that speak on the session bus; both throw std::runtime_error when there is
// no session bus.
int runPost(const PostCommand& command);
int runRecord(const RecordCommand& command);

} // namespace rovex
