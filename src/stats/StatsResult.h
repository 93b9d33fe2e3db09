#pragma once

#include "intake/LayoutAdapter.h"
#include "chart/Palette.h"
#include "chart/RXDiaObj.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rovex {

// One address of a result list.
struct RXAddress {
    std::string theAddress;
    std::int64_t theOccurrences = 0;
    std::int64_t maxOccurrences = 0; // the total of the list the entry belongs to
    int rank = 0;                    // from 1; 0 in the per-port list, which has no colour
    std::optional<Rgb> theColor;     // colori10(rank); none keeps the plain colour
    std::string theSign{pieSign};
};

// One destination port text of a result list; thePort is its decimal reading, 0 when it
// does not read, so several texts may show as port 0.
struct RXPort {
    std::string portText;
    std::int64_t thePort = 0;
    std::int64_t theOccurrences = 0;
    std::string thePortString; // thePort in decimal
    std::int64_t maxOccurrences = 0;
    int rank = 0;
    std::optional<Rgb> theColor;
    std::string theSign{pieSign};
};

// Which result areas of the window are shown once the run ends.
struct StatsBoxes {
    bool ipBox = false;
    bool portBox = false;
    bool dangerBox = false;
};

// The addresses seen on one port, with the total over all of them.
struct IpsForPort {
    std::string parserDirection;
    std::vector<RXAddress> entries;
};

// Everything a run shows, built once and not changed afterwards.
struct StatsResult {
    bool missing = false;           // no live log: nothing was read
    std::int64_t fileCount = 0;     // N of files asked for
    std::uint64_t liveLogBytes = 0; // how much of the live log was read
    std::int64_t lineCount = 0;     // every line read, empty and unreadable ones included
    std::int64_t counted = 0;       // c
    std::int64_t kept = 0;
    std::int64_t selected = 0;
    bool empty = false; // the selection holds no record
    StatsBoxes boxes;
    std::vector<RXAddress> addresses;
    std::vector<RXPort> ports;
    std::vector<RXDiaObj> addressSlices;
    std::vector<RXDiaObj> portSlices;
    std::optional<IpsForPort> ipsForPort;
    std::vector<std::string> diagnostics; // one line per archive that was not merged
    // Lines read per log layout, when every layout was read.
    std::optional<LayoutAdapter::LayoutCounts> layoutCounts;
};

} // namespace rovex
