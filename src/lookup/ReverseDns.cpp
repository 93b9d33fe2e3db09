#include "lookup/ReverseDns.h"

#include <array>
#include <memory>
#include <netdb.h>
#include <sys/socket.h>

namespace rovex {
namespace {

struct AddressListFree {
    void operator()(addrinfo* list) const { freeaddrinfo(list); }
};

using AddressList = std::unique_ptr<addrinfo, AddressListFree>;

// The socket address of numeric text only: AI_NUMERICHOST keeps the resolver from
// looking a name up forwards, so text from the log never becomes a DNS query of its own.
AddressList numericAddress(std::string_view address)
{
    if (address.empty() || address.find('\0') != std::string_view::npos)
        return nullptr;
    const std::string terminated(address);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_flags = AI_NUMERICHOST;
    addrinfo* list = nullptr;
    if (getaddrinfo(terminated.c_str(), nullptr, &hints, &list) != 0)
        return nullptr;
    return AddressList(list);
}

} // namespace

std::optional<std::string> reverseLookup(std::string_view address)
{
    const AddressList found = numericAddress(address);
    if (!found)
        return std::nullopt;
    std::array<char, NI_MAXHOST> name{};
    if (getnameinfo(found->ai_addr, found->ai_addrlen, name.data(), name.size(), nullptr, 0, NI_NAMEREQD) != 0)
        return std::nullopt;
    return std::string(name.data());
}

} // namespace rovex
