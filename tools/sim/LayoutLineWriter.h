#pragma once

#include "sim/FilterlogLineWriter.h"
#include "sim/PflogLineWriter.h"
#include "sim/SimLayout.h"
#include "sim/SimPacket.h"
#include "sim/SimRandom.h"

#include <cstdint>
#include <string>

namespace rovex {

// Writes generated packets in one layout, or in one picked line by line for Mixed. The
// choices of layout and envelope draw from a sequence of their own, fixed by the seed, so
// that the packets stay the generator's sequence for that seed whatever the layout.
class LayoutLineWriter final {
public:
    LayoutLineWriter(SimLayout layout, std::uint64_t seed);

    // Appends the packet as one line, without its "\n".
    void append(const SimPacket& packet, std::string& out);

    SimLayout layout() const { return m_layout; }

private:
    SimLayout m_layout;
    SimRandom m_random;
    PflogLineWriter m_pflog;
    FilterlogLineWriter m_filterlog;
};

} // namespace rovex
