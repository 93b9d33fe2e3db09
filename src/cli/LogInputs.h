#pragma once

#include "stats/LogArchives.h"

#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace rovex::cli {

class CommandLine;
class HeadlessViewer;

// A log named on the command line, opened; "-" (or no name at all) is standard input. A
// named bzip2 or gzip archive (the rotated logs) is decoded in process as it is read.
struct Input {
    std::string name;
    std::unique_ptr<std::istream> file; // absent: standard input
    std::optional<ArchiveCoding> archive;
};

// The logs a command reads: its --log FILE, then its operands.
std::vector<std::string> logNames(const CommandLine& line);

// Opens every named log before any is read, so that a wrong name fails at once.
std::vector<Input> openInputs(const std::vector<std::string>& names);

// Feeds one log whole into the viewer: its last line needs no "\n".
void classify(HeadlessViewer& viewer, Input& input);

} // namespace rovex::cli
