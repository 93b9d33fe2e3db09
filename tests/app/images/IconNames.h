#pragma once

#include <array>

namespace rovex::test {

// Every image the application asks for by a name of its own.
inline constexpr std::array ownIconNames{
    "visualizerTemplate",
    "visualizermini",
    "rovex-logs-visualizer",
    "menublockdown",
    "menublockup",
    "menupassdown",
    "menupassup",
    "menutorta",
    "menulogs",
    "menuconsole",
    "blockeddown",
    "blockedup",
    "passeddown",
    "passedup",
    "genericservice",
    "iconaPort",
    "iconaAddress",
    "ssh",
    "http",
    "https",
    "dns",
    "x11",
    "rdp",
    "smb",
    "ntp",
    "mdns",
};

} // namespace rovex::test
