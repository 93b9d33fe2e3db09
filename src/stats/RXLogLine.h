#pragma once

#include <string_view>

namespace rovex {

// One line as the statistics read it. The texts are views of the line they came from and
// live as long as it does; the fields the statistics never fill stay empty.
struct RXLogLine {
    std::string_view logLineDate;
    std::string_view logLineTime;
    std::string_view logLineMac;
    std::string_view logLineMatch;
    std::string_view logLineAction;
    std::string_view logLineDirection;
    std::string_view logLineInterface;
    std::string_view logLineSourceAddress;
    std::string_view logLineSourcePort;
    std::string_view logLineTargetAddress;
    std::string_view logLineTargetPort; // with every ':' removed, see StatsLineReader
    std::string_view logLineArgs;
    std::string_view logLineProtocol;
};

} // namespace rovex
