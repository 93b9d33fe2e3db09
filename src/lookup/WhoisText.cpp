#include "lookup/WhoisText.h"

namespace rovex {
namespace {

// One pass from left to right, as a replace-all does: "%% " loses one "% " and keeps "%".
std::string withoutEvery(std::string_view text, std::string_view piece)
{
    std::string kept;
    kept.reserve(text.size());
    for (;;) {
        const std::size_t at = text.find(piece);
        kept.append(text.substr(0, at));
        if (at == std::string_view::npos)
            return kept;
        text.remove_prefix(at + piece.size());
    }
}

} // namespace

std::string cleanWhoisText(std::string_view text)
{
    return withoutEvery(withoutEvery(withoutEvery(text, "# "), "#"), "% ");
}

} // namespace rovex
