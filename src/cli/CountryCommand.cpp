#include "cli/Commands.h"
#include "cli/CommandLine.h"
#include "cli/RootFolder.h"
#include "firewall/FixedPaths.h"
#include "lookup/CountryDatabase.h"

#include <nlohmann/json.hpp>

#include <iomanip>
#include <iostream>

namespace rovex::cli {

int runCountry(const std::vector<std::string>& arguments)
{
    const CommandLine line(arguments, {{"--root"}, {"--json"}});
    const auto root = rootFolder(line);
    if (line.operands().empty())
        throw UsageError("country needs at least one address");
    CountryDatabase countries;
    countries.load(paths::underRoot(root, paths::nations), std::cerr);

    nlohmann::ordered_json json = nlohmann::ordered_json::array();
    for (const std::string& address : line.operands()) {
        const CountryMatch match = countries.countryOf(address);
        if (line.flag("--json")) {
            json.push_back({{"address", address}, {"country", match.code}, {"nation", match.nation}});
        } else {
            std::cout << std::left << std::setw(40) << address << "  " << std::setw(2)
                      << (match.code.empty() ? "-" : match.code) << "  " << match.nation << '\n';
        }
    }
    if (line.flag("--json"))
        std::cout << json.dump(2) << '\n';
    return 0;
}

} // namespace rovex::cli
