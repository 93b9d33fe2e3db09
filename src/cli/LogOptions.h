#pragma once

#include "intake/LayoutAdapter.h"
#include "stats/LogArchives.h"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

namespace rovex::cli {

class CommandLine;
class JsonWriter;

// --layouts product|all of the commands that read the log (product when not given).
LayoutSetting layoutSetting(const CommandLine& line);

// --log FILE of the commands that read the log, when given (an empty name is refused).
std::optional<std::string> logOption(const CommandLine& line);
// The same with its archives; without it the product's log under root.
LogArchives chosenLog(const CommandLine& line, const std::filesystem::path& root);

// With every layout read, one line that tells how many lines each layout gave; nothing
// with the product's layout only, so that its output stays as it always was.
void printLayoutSummary(std::ostream& out, const LayoutAdapter& layouts);
void printLayoutCounts(std::ostream& out, const LayoutAdapter::LayoutCounts& counts);
// The same counts as a "layouts" member of the object being written.
void writeLayoutCounts(JsonWriter& json, const LayoutAdapter::LayoutCounts& counts);

} // namespace rovex::cli
