// The version server's reply: decoded as text, then judged against the running release.
#include "version/VersionReply.h"

#include <cstdint>
#include <string_view>

using namespace rovex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    evaluateVersionReply(decodeVersionReply(bytes));
    return 0;
}
