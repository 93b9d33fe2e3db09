// The whois record as a whois server sends it, cleaned for the address popover.
#include "lookup/WhoisText.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace rovex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view record(reinterpret_cast<const char*>(data), size);
    const std::string shown = cleanWhoisText(record);
    // Cleaning only removes: every "#" goes, and nothing is ever added.
    if (shown.size() > record.size() || shown.find('#') != std::string::npos)
        std::abort();
    return 0;
}
