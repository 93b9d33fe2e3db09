#pragma once

#include "sim/SimCommandLine.h"

namespace rovex {

// The version server until it is stopped or its seconds pass; throws std::runtime_error
// when its port cannot be had or its reply file cannot be read.
int runVersionServer(const VersionServerCommand& command);

} // namespace rovex
