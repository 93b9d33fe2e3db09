#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace rovex::test {

// The eight tables as a plain reading of pf log text gives them, written apart from the
// program so that its counts can be checked against it: fields at whitespace (the logs
// of the tests have no run of five spaces), action at field 8, direction at 9, endpoints
// at 12 and 14; an endpoint is an address and a port after its last dot, both endpoints
// IPv4 (four dots) or both IPv6 (one dot). Ports are keyed by the destination port,
// addresses by the remote side; rows by count, ties in order of sighting. Lines with a
// byte outside ASCII are left out (the tests' only such lines are not UTF-8).
using PlainRows = std::vector<std::pair<std::string, int>>;

struct PlainIgnores {
    std::string address;
    std::string port;
};

// Tables by name ("PortBlockIn", ... "IpPassOut"); a table nothing reached is absent.
std::map<std::string, PlainRows> plainTables(const std::string& log, const PlainIgnores& ignores = {});

} // namespace rovex::test
