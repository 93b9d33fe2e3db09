#pragma once

#include "intake/LayoutAdapter.h"

#include <iosfwd>

namespace rovex::cli {

class CommandLine;

// --layouts product|all of the commands that read the log (product when not given).
LayoutSetting layoutSetting(const CommandLine& line);

// With every layout read, one line that tells how many lines each layout gave; nothing
// with the product's layout only, so that its output stays as it always was.
void printLayoutSummary(std::ostream& out, const LayoutAdapter& layouts);

} // namespace rovex::cli
