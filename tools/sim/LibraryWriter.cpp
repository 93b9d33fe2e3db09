#include "sim/LibraryWriter.h"

#include "sim/UniqueFd.h"

#include <fcntl.h>
#include <plist/plist.h>

#include <array>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace rovex {

namespace {

struct ServiceEntry {
    const char* name;
    const char* description;
    const char* image;
    const char* ports;
    bool notifyPassed;
    bool notifyBlocked;
};

// What a user of the product typically has: SSH watched for blocked attempts, the web
// servers for passed connections, remote desktop for both.
constexpr std::array<ServiceEntry, 12> services{{
    {"SSH", "Secure Shell remote login", "ssh", "22", false, true},
    {"HTTP", "Web server", "http", "80 8080", true, false},
    {"HTTPS", "Secure web server", "https", "443", true, false},
    {"DNS", "Domain name service", "dns", "53", false, false},
    {"X11", "X Window System", "x11", "6000:6063", false, false},
    {"RDP", "Remote desktop", "rdp", "3389", true, true},
    {"SMB", "Windows file sharing", "smb", "139 445", false, true},
    {"NTP", "Network time", "ntp", "123", false, false},
    {"mDNS", "Bonjour multicast DNS", "mdns", "5353", false, false},
    {"Telnet", "Unencrypted remote login", "genericservice", "23", false, true},
    {"SMTP", "Mail transfer", "genericservice", "25", false, false},
    {"Dynamic ports", "Ports handed out to client connections", "genericservice", "49152:65535", false, false},
}};

struct GroupEntry {
    const char* name;
    std::vector<const char*> addresses;
    bool isDefault;
    bool isBlacklisted;
    bool isEveryone;
};

const std::vector<GroupEntry>& groups()
{
    static const std::vector<GroupEntry> entries{
        {"Everyone", {}, true, false, true},
        {"Local network", {"192.168.1.0/24", "10.0.0.0/24", "fe80::/10"}, false, false, false},
        {"Office", {"81.169.145.20", "81.169.145.21", "2a01:238:20a:202:1000::21"}, false, false, false},
        {"Blacklist",
         {"45.155.205.233", "185.220.101.4", "193.32.162.157", "2a0e:97c0:3e3:4d2::1"},
         false,
         true,
         false},
    };
    return entries;
}

struct PlistDeleter {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistHandle = std::unique_ptr<void, PlistDeleter>;

void setText(plist_t dict, const char* key, const char* value)
{
    plist_dict_set_item(dict, key, plist_new_string(value));
}

void setBool(plist_t dict, const char* key, bool value)
{
    plist_dict_set_item(dict, key, plist_new_bool(value ? 1 : 0));
}

plist_t serviceNode(const ServiceEntry& service)
{
    plist_t dict = plist_new_dict();
    setText(dict, "rovexClassName", "RXService");
    setText(dict, "serviceName", service.name);
    setText(dict, "serviceDescription", service.description);
    setText(dict, "serviceImage", service.image);
    setText(dict, "servicePorts", service.ports);
    setBool(dict, "serviceNotifyInbound", service.notifyPassed);
    setBool(dict, "serviceNotifyInboundBlock", service.notifyBlocked);
    return dict;
}

plist_t groupNode(const GroupEntry& group)
{
    plist_t dict = plist_new_dict();
    setText(dict, "rovexClassName", "RXGroup");
    setText(dict, "groupName", group.name);
    plist_t addresses = plist_new_array();
    for (const char* address : group.addresses)
        plist_array_append_item(addresses, plist_new_string(address));
    plist_dict_set_item(dict, "groupAddresses", addresses);
    setText(dict, "groupInterface", "all");
    setBool(dict, "groupIsDefault", group.isDefault);
    setBool(dict, "groupIsBlacklisted", group.isBlacklisted);
    setBool(dict, "groupIsEveryone", group.isEveryone);
    plist_dict_set_item(dict, "groupNumberOfRecords", plist_new_uint(group.addresses.size()));
    return dict;
}

std::string serialise(plist_t root, PlistFormat format)
{
    char* bytes = nullptr;
    std::uint32_t length = 0;
    if (format == PlistFormat::xml)
        plist_to_xml(root, &bytes, &length);
    else
        plist_to_bin(root, &bytes, &length);
    if (!bytes)
        throw std::runtime_error("the library could not be serialised");
    std::string result(bytes, length);
    if (format == PlistFormat::xml)
        plist_to_xml_free(bytes);
    else
        plist_to_bin_free(bytes);
    return result;
}

} // namespace

void LibraryWriter::write(const std::filesystem::path& file, PlistFormat format)
{
    const PlistHandle root(plist_new_array());
    for (const ServiceEntry& service : services)
        plist_array_append_item(root.get(), serviceNode(service));
    for (const GroupEntry& group : groups())
        plist_array_append_item(root.get(), groupNode(group));
    const std::string bytes = serialise(root.get(), format);

    std::filesystem::create_directories(file.parent_path());
    std::filesystem::path pending = file;
    pending += ".tmp";
    {
        const UniqueFd out = UniqueFd::open(pending, O_WRONLY | O_CREAT | O_TRUNC);
        out.writeAll(bytes);
    }
    std::filesystem::rename(pending, file);
}

} // namespace rovex
