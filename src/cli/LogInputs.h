#pragma once

#include <istream>
#include <memory>
#include <string>
#include <vector>

namespace rovex::cli {

class HeadlessViewer;

// A log named on the command line, opened; "-" (or no name at all) is standard input. A
// named bzip2 archive (the rotated logs) is decoded in process as it is read.
struct Input {
    std::string name;
    std::unique_ptr<std::istream> file; // absent: standard input
    bool bzip2 = false;
};

// Opens every named log before any is read, so that a wrong name fails at once.
std::vector<Input> openInputs(const std::vector<std::string>& names);

// Feeds one log whole into the viewer: its last line needs no "\n".
void classify(HeadlessViewer& viewer, Input& input);

} // namespace rovex::cli
