#pragma once

#include "cli/CommandLine.h"

#include <filesystem>

namespace rovex::cli {

// The --root folder of a command ("/" when not given); it must exist.
std::filesystem::path rootFolder(const CommandLine& line);

} // namespace rovex::cli
