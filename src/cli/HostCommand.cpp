#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "lookup/ReverseDns.h"

#include <iomanip>
#include <iostream>

namespace rovex::cli {

int runHost(const std::vector<std::string>& arguments)
{
    const CommandLine line(arguments, {{}, {"--json"}});
    if (line.operands().empty())
        throw UsageError("host needs at least one address");
    const bool json = line.flag("--json");
    JsonWriter writer(std::cout);
    if (json)
        writer.beginArray();
    for (const std::string& address : line.operands()) {
        const auto name = reverseLookup(address);
        const std::string_view shown = name ? std::string_view(*name) : hostNameNotFound;
        if (json) {
            writer.beginObject();
            writer.key("address");
            writer.value(address);
            writer.key("hostname");
            writer.value(shown);
            writer.endObject();
        } else {
            std::cout << std::left << std::setw(40) << address << "  " << shown << std::endl;
        }
    }
    if (json)
        writer.endArray();
    return 0;
}

} // namespace rovex::cli
