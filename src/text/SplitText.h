#pragma once

#include <string_view>

namespace rovex {

// Calls visit(piece) for every piece of text between occurrences of separator, in order,
// empty pieces included: "22  80" split at ' ' gives "22", "", "80". Nothing is copied.
template <typename Visitor>
void forEachPiece(std::string_view text, char separator, Visitor&& visit)
{
    for (;;) {
        const std::size_t at = text.find(separator);
        if (at == std::string_view::npos) {
            visit(text);
            return;
        }
        visit(text.substr(0, at));
        text.remove_prefix(at + 1);
    }
}

} // namespace rovex
