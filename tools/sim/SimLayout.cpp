#include "sim/SimLayout.h"

namespace rovex {

std::optional<SimLayout> simLayoutNamed(std::string_view name)
{
    if (name == "product")
        return SimLayout::Product;
    if (name == "pflog")
        return SimLayout::Pflog;
    if (name == "filterlog")
        return SimLayout::Filterlog;
    if (name == "mixed")
        return SimLayout::Mixed;
    return std::nullopt;
}

} // namespace rovex
