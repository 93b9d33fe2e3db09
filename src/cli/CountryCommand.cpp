#include "cli/Commands.h"
#include "cli/CommandLine.h"
#include "cli/JsonWriter.h"
#include "cli/RootFolder.h"
#include "firewall/FixedPaths.h"
#include "lookup/CountryDatabase.h"

#include <iomanip>
#include <iostream>

namespace rovex::cli {
namespace {

void writeJson(const CountryDatabase& countries, const std::vector<std::string>& addresses)
{
    JsonWriter json(std::cout);
    json.beginArray();
    for (const std::string& address : addresses) {
        const CountryMatch match = countries.countryOf(address);
        json.beginObject();
        json.member("address", address);
        json.member("country", match.code);
        json.member("nation", match.nation);
        json.endObject();
    }
    json.endArray();
}

void printText(const CountryDatabase& countries, const std::vector<std::string>& addresses)
{
    for (const std::string& address : addresses) {
        const CountryMatch match = countries.countryOf(address);
        std::cout << std::left << std::setw(40) << address << "  " << std::setw(2)
                  << (match.code.empty() ? "-" : match.code) << "  " << match.nation << '\n';
    }
}

} // namespace

int runCountry(const std::vector<std::string>& arguments)
{
    const CommandLine line(arguments, {{"--root"}, {"--json"}});
    const auto root = rootFolder(line);
    if (line.operands().empty())
        throw UsageError("country needs at least one address");
    CountryDatabase countries;
    countries.load(paths::underRoot(root, paths::nations), std::cerr);

    if (line.flag("--json"))
        writeJson(countries, line.operands());
    else
        printText(countries, line.operands());
    return 0;
}

} // namespace rovex::cli
