#pragma once

#include "sim/AddressRange.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rovex {

// One aligned IPv4 block: network/prefix, the country database's line format.
struct CidrBlock {
    std::uint32_t network = 0;
    int prefix = 32;

    bool operator==(const CidrBlock&) const = default;

    // "a.b.c.d/p"
    std::string text() const;
    void appendText(std::string& out) const;
};

// Appends the smallest list of aligned blocks that covers exactly the range, in address
// order: 1.0.0.1-1.0.0.6 gives 1.0.0.1/32 1.0.0.2/31 1.0.0.4/31 1.0.0.6/32.
void appendCidrBlocks(AddressRange range, std::vector<CidrBlock>& out);

} // namespace rovex
