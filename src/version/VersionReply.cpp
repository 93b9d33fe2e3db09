#include "version/VersionReply.h"

#include "text/DecimalText.h"
#include "text/SplitText.h"

#include <algorithm>
#include <vector>

namespace rovex {
namespace {

// The reply without its spaces and line breaks (CR as well, so "a#14\r\n" reads as "a#14"),
// cut into its "#" fields.
std::vector<std::string> fieldsOf(std::string text)
{
    std::erase_if(text, [](char c) { return c == ' ' || c == '\n' || c == '\r'; });
    std::vector<std::string> fields;
    forEachPiece(text, '#', [&fields](std::string_view piece) { fields.emplace_back(piece); });
    return fields;
}

} // namespace

std::optional<std::string> decodeVersionReply(std::string_view bytes)
{
    const bool ascii = std::ranges::all_of(bytes, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (bytes.empty() || !ascii)
        return std::nullopt;
    return std::string(bytes);
}

VersionVerdict evaluateVersionReply(const std::optional<std::string>& reply)
{
    if (!reply)
        return {"connlost", false};
    const std::vector<std::string> fields = fieldsOf(*reply);
    if (fields.size() < 2)
        return {};
    const std::optional<std::int64_t> build = readDecimal(fields[1]);
    if (fields[0] == runningReleaseLine) {
        if (build == runningBuild)
            return {"noupd", false};
        if (build && *build > runningBuild)
            return {"yesupd", true};
        return {};
    }
    // Another line is announced only by a readable build: an error page that happens to
    // hold a "#" must neither raise the alert nor open the browser.
    if (build)
        return {"yesupgr", true};
    return {};
}

} // namespace rovex
