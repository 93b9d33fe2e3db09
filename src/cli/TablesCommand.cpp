#include "cli/Commands.h"
#include "cli/CommandLine.h"
#include "cli/HeadlessViewer.h"
#include "cli/RootFolder.h"
#include "cli/TablesReport.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>

namespace rovex::cli {
namespace {

struct Input {
    std::string name;
    std::unique_ptr<std::ifstream> file; // absent: standard input
};

std::vector<Input> openInputs(const std::vector<std::string>& names)
{
    std::vector<Input> inputs;
    if (names.empty())
        inputs.push_back({"-", nullptr});
    for (const std::string& name : names) {
        if (name == "-") {
            inputs.push_back({name, nullptr});
            continue;
        }
        std::error_code error;
        if (std::filesystem::is_directory(name, error))
            throw CommandError("cannot read " + name + ": it is a folder");
        errno = 0;
        auto file = std::make_unique<std::ifstream>(name, std::ios::binary);
        if (!*file)
            throw CommandError("cannot read " + name + ": " + std::strerror(errno));
        inputs.push_back({name, std::move(file)});
    }
    return inputs;
}

// Each file is one log read whole: its last line needs no "\n".
void classify(HeadlessViewer& viewer, Input& input)
{
    std::istream& stream = input.file ? *input.file : std::cin;
    std::string buffer(1 << 20, '\0');
    while (stream) {
        stream.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const auto got = static_cast<std::size_t>(stream.gcount());
        if (got > 0)
            viewer.feed(std::string_view(buffer.data(), got), Clock::now());
    }
    if (stream.bad())
        throw CommandError("cannot read " + input.name + ": " + std::strerror(errno));
    viewer.endOfFile(Clock::now());
}


} // namespace

int runTables(const std::vector<std::string>& arguments)
{
    const CommandLine line(arguments, {{"--root", "--ignore-port", "--ignore-ip", "--top"}, {"--json"}});
    const auto root = rootFolder(line);
    // How many rows of each table the text shows: all unless --top says otherwise.
    const auto top = static_cast<std::size_t>(line.wholeNumber("--top", "rows", 1).value_or(INT64_MAX));
    std::vector<Input> inputs = openInputs(line.operands());

    HeadlessViewer viewer(root, std::cerr);
    for (const std::string& port : line.values("--ignore-port"))
        viewer.store().addIgnoredPort(port);
    for (const std::string& address : line.values("--ignore-ip"))
        viewer.store().addIgnoredAddress(address);
    for (Input& input : inputs)
        classify(viewer, input);
    viewer.resolveNewCountries();

    if (line.flag("--json")) {
        std::cout << tablesJson(viewer.store(), viewer.notifications()).dump(2) << '\n';
    } else {
        printTables(std::cout, viewer.store(), viewer.notifications(), {.rowsPerTable = top, .notifications = top});
        printLineSummary(std::cout, viewer.intake().classifier().outcomes(), viewer.intake().invalidLines());
    }
    return 0;
}

} // namespace rovex::cli
