#include "cli/Commands.h"
#include "cli/CommandLine.h"
#include "cli/HeadlessViewer.h"
#include "cli/LogOptions.h"
#include "cli/LogInputs.h"
#include "cli/RootFolder.h"
#include "cli/TablesReport.h"

#include <iostream>

namespace rovex::cli {

int runTables(const std::vector<std::string>& arguments)
{
    const CommandLine line(arguments,
                           {{"--root", "--log", "--ignore-port", "--ignore-ip", "--top", "--layouts"}, {"--json"}});
    const auto root = rootFolder(line);
    // How many rows of each table the text shows: all unless --top says otherwise.
    const auto top = static_cast<std::size_t>(line.wholeNumber("--top", "rows", 1).value_or(INT64_MAX));
    std::vector<Input> inputs = openInputs(logNames(line));

    HeadlessViewer viewer(root, std::cerr);
    viewer.setLayouts(layoutSetting(line));
    for (const std::string& port : line.values("--ignore-port"))
        viewer.store().addIgnoredPort(port);
    for (const std::string& address : line.values("--ignore-ip"))
        viewer.store().addIgnoredAddress(address);
    for (Input& input : inputs)
        classify(viewer, input);
    viewer.resolveNewCountries();

    if (line.flag("--json")) {
        writeTablesJson(std::cout, viewer.store(), viewer.notifications());
    } else {
        printTables(std::cout, viewer.store(), viewer.notifications(), {.rowsPerTable = top, .notifications = top});
        printLineSummary(std::cout, viewer.intake().classifier().outcomes(), viewer.intake().invalidLines());
        printLayoutSummary(std::cout, viewer.intake().layouts());
    }
    return 0;
}

} // namespace rovex::cli
