#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace rovex::cli {

// Something the user asked for that cannot be done (a missing root, an unreadable file):
// reported in one line, exit code 1.
class CommandError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Each command takes the arguments after its name and returns the exit code.
int runTables(const std::vector<std::string>& arguments);
int runFollow(const std::vector<std::string>& arguments, int argc, char** argv);
int runCountry(const std::vector<std::string>& arguments);
int runServices(const std::vector<std::string>& arguments);
int runSimple(const std::vector<std::string>& arguments);
int runPort(const std::vector<std::string>& arguments);
int runWhois(const std::vector<std::string>& arguments, int argc, char** argv);
int runHost(const std::vector<std::string>& arguments);
int runPie(const std::vector<std::string>& arguments);
int runHandoff(const std::vector<std::string>& arguments, int argc, char** argv);
int runVersion(const std::vector<std::string>& arguments, int argc, char** argv);
int runStats(const std::vector<std::string>& arguments);

} // namespace rovex::cli
