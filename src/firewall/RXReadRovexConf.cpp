#include "firewall/RXReadRovexConf.h"

#include "text/DecimalText.h"
#include "text/SplitText.h"

#include <plist/plist.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace rovex {
namespace {

using namespace std::string_view_literals;

struct PlistFree {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistTree = std::unique_ptr<void, PlistFree>;

// The whole file; nothing when it cannot be opened, fails while read, or is larger than
// the parser takes.
std::optional<std::string> readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes;
    std::array<char, 65536> chunk{};
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
        bytes.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > std::numeric_limits<std::uint32_t>::max())
            return std::nullopt;
    }
    if (in.bad())
        return std::nullopt;
    return bytes;
}

// The file's list of entries, XML or binary; empty when the file holds anything else.
PlistTree readEntries(const std::filesystem::path& path)
{
    const std::optional<std::string> bytes = readBytes(path);
    if (!bytes || bytes->empty())
        return nullptr;
    plist_t root = nullptr;
    plist_from_memory(bytes->data(), static_cast<std::uint32_t>(bytes->size()), &root);
    PlistTree tree(root);
    if (!root || plist_get_node_type(root) != PLIST_ARRAY)
        return nullptr;
    return tree;
}

std::optional<std::string_view> textAt(plist_t dict, const char* key)
{
    const plist_t node = plist_dict_get_item(dict, key);
    if (!node || plist_get_node_type(node) != PLIST_STRING)
        return std::nullopt;
    std::uint64_t length = 0;
    const char* text = plist_get_string_ptr(node, &length);
    if (!text)
        return std::nullopt;
    return std::string_view(text, length);
}

std::optional<bool> flagAt(plist_t dict, const char* key)
{
    const plist_t node = plist_dict_get_item(dict, key);
    if (!node || plist_get_node_type(node) != PLIST_BOOLEAN)
        return std::nullopt;
    std::uint8_t value = 0;
    plist_get_bool_val(node, &value);
    return value != 0;
}

// A service entry of the library; its texts point into the parsed file.
struct ServiceEntry {
    plist_t dict;
    std::string_view name;
    std::string_view image;
    std::string_view ports;
};

// The entry as a service; nothing for groups and for entries that lack one of the texts
// every reader needs, or hold it as another type.
std::optional<ServiceEntry> readService(plist_t entry)
{
    if (!entry || plist_get_node_type(entry) != PLIST_DICT || textAt(entry, "rovexClassName") != "RXService"sv)
        return std::nullopt;
    const std::optional<std::string_view> name = textAt(entry, "serviceName");
    const std::optional<std::string_view> image = textAt(entry, "serviceImage");
    const std::optional<std::string_view> ports = textAt(entry, "servicePorts");
    if (!name || !image || !ports)
        return std::nullopt;
    return ServiceEntry{entry, *name, *image, *ports};
}

template <typename Visitor>
void forEachService(const std::filesystem::path& path, Visitor&& visit)
{
    const PlistTree entries = readEntries(path);
    if (!entries)
        return;
    const std::uint32_t count = plist_array_get_size(entries.get());
    for (std::uint32_t i = 0; i < count; ++i) {
        if (const std::optional<ServiceEntry> service = readService(plist_array_get_item(entries.get(), i)))
            visit(*service);
    }
}

struct PortRange {
    std::int64_t low;
    std::int64_t high;
};

constexpr std::int64_t highestPort = 65535;

bool isRange(std::string_view token) { return token.find(':') != std::string_view::npos; }

// The two ends around the first ":". Ends that do not read, that fall outside the ports or
// that are in falling order make no range at all: "1:4000000000" would otherwise spell out
// billions of ports and exhaust memory.
std::optional<PortRange> readRange(std::string_view token)
{
    const std::size_t colon = token.find(':');
    const std::optional<std::int64_t> low = readDecimal(token.substr(0, colon));
    const std::optional<std::int64_t> high = readDecimal(token.substr(colon + 1));
    if (!low || !high || *low < 0 || *low > *high || *high > highestPort)
        return std::nullopt;
    return PortRange{*low, *high};
}

// All ports, the registered and the dynamic ones. The image dictionary keeps such a token
// whole; it is recognised wherever it appears inside the token.
bool isBroadRange(std::string_view token)
{
    constexpr std::array broad{"1:65535"sv, "1024:49151"sv, "49152:65535"sv};
    for (const std::string_view range : broad) {
        if (token.find(range) != std::string_view::npos)
            return true;
    }
    return false;
}

void addImageKeys(ServiceImages& images, std::string_view token, std::string_view image)
{
    // A broad range is never read as a range here: it only stands as its own key.
    if (isRange(token) && !isBroadRange(token)) {
        const std::optional<PortRange> range = readRange(token);
        if (!range)
            return;
        for (std::int64_t port = range->low; port <= range->high; ++port)
            images.try_emplace(std::to_string(port), image);
    }
    // try_emplace keeps the image of the service that listed the key first.
    images.try_emplace(std::string(token), image);
}

// The watch compares ports one by one, so every range is spelled out, each port followed by
// a space, and every token is closed by one more space: "22 6000:6002" gives
// "22 6000 6001 6002  ".
std::string expandPorts(std::string_view ports)
{
    std::string expanded;
    forEachPiece(ports, ' ', [&expanded](std::string_view token) {
        if (!isRange(token)) {
            expanded.append(token);
        } else if (const std::optional<PortRange> range = readRange(token)) {
            for (std::int64_t port = range->low; port <= range->high; ++port) {
                expanded.append(std::to_string(port));
                expanded.push_back(' ');
            }
        } else {
            return;
        }
        expanded.push_back(' ');
    });
    return expanded;
}

ServiceList loadWatched(const std::filesystem::path& path, const char* flag)
{
    ServiceList watched;
    forEachService(path, [&watched, flag](const ServiceEntry& service) {
        if (flagAt(service.dict, flag) != true)
            return;
        watched.push_back(ServiceDescription{
            .serviceName = std::string(service.name),
            .servicePorts = expandPorts(service.ports),
            .serviceImage = std::string(service.image),
        });
    });
    return watched;
}

} // namespace

// Each port key of every service mapped to what text(service) gives, the first service
// listing a key keeping it.
template <typename Text>
ServiceImages portKeys(const std::filesystem::path& path, Text&& text)
{
    ServiceImages keys;
    forEachService(path, [&keys, &text](const ServiceEntry& service) {
        forEachPiece(service.ports, ' ',
                     [&keys, &service, &text](std::string_view token) { addImageKeys(keys, token, text(service)); });
    });
    return keys;
}

ServiceImages RXReadRovexConf::loadAllServices(const std::filesystem::path& path) const
{
    return portKeys(path, [](const ServiceEntry& service) { return service.image; });
}

ServiceImages RXReadRovexConf::loadServiceNames(const std::filesystem::path& path) const
{
    return portKeys(path, [](const ServiceEntry& service) { return service.name; });
}

ServiceList RXReadRovexConf::loadNotify(const std::filesystem::path& path) const
{
    return loadWatched(path, "serviceNotifyInbound");
}

ServiceList RXReadRovexConf::loadNotifyBlock(const std::filesystem::path& path) const
{
    return loadWatched(path, "serviceNotifyInboundBlock");
}

} // namespace rovex
