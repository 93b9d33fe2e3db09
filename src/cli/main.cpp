// rovex-logs: the viewer's engine on the command line. Classifies pf log text into the
// eight tables, follows the live log, prints the simple log's rows, matches addresses to
// countries, tells what is known of ports and addresses (service table, whois, reverse
// DNS), reads the firewall product's library file, draws pies, hands addresses to the
// product and runs the version check.
#include "cli/CommandLine.h"
#include "cli/Commands.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* usage = R"(usage: rovex-logs COMMAND [OPTIONS]

  tables  [--root DIR] [--log FILE] [--ignore-port P]... [--ignore-ip A]... [--top N] [--layouts L] [--json]
          [FILE...]
          classify log files (or standard input, or bzip2 archives) into the eight tables
  follow  [--root DIR] [--log FILE] [--seconds N] [--layouts L] [--json]
          follow the root's live log (or FILE) and show the tables as they fill
  country [--root DIR] [--json] ADDRESS...
          the country of each address from the root's country database
  services [--root DIR]
          the library file's service images and watch lists, as JSON
  simple  [--root DIR] [--log FILE] [--limit L] [--layouts L] [--json] [FILE]
          the simple log's rows of the last L lines of the root's log (or FILE)
  port    [--services FILE] [--json] PORT...
          the service table's lines and the class of each port
  whois   [--server HOST[:PORT]] [--json] ADDRESS
          the whois record of an address, as the address popover shows it
  host    [--json] ADDRESS...
          the host name of each address by reverse DNS
  pie     [--json] NAME...
          the pie of a list with one name per occurrence: slices, colours, angles
  pie     --table SUFFIX --row NAME [--root DIR] [--log FILE] [--layouts L] [--json] [FILE...]
          the pie of one row of a table (PortBlockIn ... IpPassOut) of classified logs
  handoff blacklist|group [--json] ADDRESS...
          hand addresses to the running firewall product, as the windows' buttons do
  version [--server URL] [--json]
          the version check's verdict on the server's reply (or on standard input)
  stats   [--root DIR] [--log FILE] [--files N] [--action block|pass] [--direction in|out] [--limit L]
          [--port P [--port-direction in|out] [--port-limit L2]] [--layouts L] [--json]
          the leading addresses and target ports of the live log and N - 1 archives
          (FILE's archives: FILE.N.bz2, FILE.N.gz or FILE.N, as logrotate names them)

Fixed paths are resolved under --root (default /). --layouts all also reads the pflog
text of any pf firewall and the filterlog of pfSense and OPNsense (default: product).
)";

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "-h" || arguments[0] == "help") {
        (arguments.empty() ? std::cerr : std::cout) << usage;
        return arguments.empty() ? 2 : 0;
    }
    const std::string& command = arguments[0];
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    try {
        if (command == "tables")
            return rovex::cli::runTables(rest);
        if (command == "follow")
            return rovex::cli::runFollow(rest, argc, argv);
        if (command == "country")
            return rovex::cli::runCountry(rest);
        if (command == "services")
            return rovex::cli::runServices(rest);
        if (command == "simple")
            return rovex::cli::runSimple(rest);
        if (command == "port")
            return rovex::cli::runPort(rest);
        if (command == "whois")
            return rovex::cli::runWhois(rest, argc, argv);
        if (command == "host")
            return rovex::cli::runHost(rest);
        if (command == "pie")
            return rovex::cli::runPie(rest);
        if (command == "handoff")
            return rovex::cli::runHandoff(rest, argc, argv);
        if (command == "version")
            return rovex::cli::runVersion(rest, argc, argv);
        if (command == "stats")
            return rovex::cli::runStats(rest);
        throw rovex::cli::UsageError("unknown command " + command);
    } catch (const rovex::cli::UsageError& error) {
        std::cerr << "rovex-logs: " << error.what() << " (see rovex-logs --help)\n";
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "rovex-logs: " << error.what() << '\n';
        return 1;
    }
}
