#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace rovex {

// An IPv4 block as the country database writes it ("192.0.2.0/24"), in host byte order.
// first and last are the bounds of the block: the network's host bits are ignored, so
// 172.16.5.0/23 spans 172.16.4.0 to 172.16.5.255.
struct IPv4Block {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    int prefix = 0;
};

// The address as the C library's inet_aton reads it (short forms such as "10.1", hex and
// octal parts included), in host byte order; nothing when inet_aton refuses it. IPv6 text
// never reads.
std::optional<std::uint32_t> readIPv4(std::string_view text);

// The block split at "/": the first piece is the network (read by readIPv4), the second
// the prefix length (a decimal integer from 0 to 32). Nothing when there is no "/" or a
// piece does not read.
std::optional<IPv4Block> readIPv4Block(std::string_view block);

// True when the IPv4 address lies inside the block. An address or block that does not
// read matches nothing; "0.0.0.0/0" matches every IPv4 address.
bool matchIP(std::string_view address, std::string_view block);

} // namespace rovex
