#pragma once

#include "text/SplitText.h"
#include "text/TextHash.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rovex {

// The ports of a "servicePorts" text: its pieces between single spaces. An empty piece
// (from the trailing spaces of an expanded range, or a double space) is never a port.
template <typename Visitor>
void forEachPort(std::string_view ports, Visitor&& visit)
{
    forEachPiece(ports, ' ', [&visit](std::string_view piece) {
        if (!piece.empty())
            visit(piece);
    });
}

// The ports one half of the watch listens to, each once, in the order first listed.
// Ports are texts: "022" and "22" are two ports, as the log's port never has a leading zero.
class PortSet final {
public:
    void insertEach(std::string_view ports);
    // Removes every port of the text in one pass over the set, however many there are.
    void eraseEach(std::string_view ports);
    void clear();

    bool contains(std::string_view port) const { return m_members.contains(port); }
    const std::vector<std::string>& inOrder() const { return m_order; }

private:
    TextSet m_members;
    std::vector<std::string> m_order;
};

// One service's own ports, kept small: numbered ports as runs of consecutive numbers, so
// that a service of every port costs a few bytes, and any other text as it is.
class ServicePorts final {
public:
    explicit ServicePorts(std::string_view ports);

    bool contains(std::string_view port) const;

private:
    struct Run {
        std::uint16_t first;
        std::uint16_t last;
    };
    std::vector<Run> m_runs;           // ascending, disjoint, not adjacent
    std::vector<std::string> m_others; // sorted, each once
};

} // namespace rovex
