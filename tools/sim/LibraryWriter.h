#pragma once

#include <filesystem>

namespace rovex {

enum class PlistFormat { xml, binary };

// Writes a sample of the firewall product's library file: a property list whose root is
// an array of entry dictionaries, services ("RXService") with their ports and watch flags,
// and address groups ("RXGroup") including a blacklist.
class LibraryWriter final {
public:
    // Replaces file as a whole (written beside it, then renamed), so that a reader never
    // sees half a library; creates the folder when missing. Throws on failure.
    static void write(const std::filesystem::path& file, PlistFormat format);
};

} // namespace rovex
