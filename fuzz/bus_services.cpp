// The watched services that arrive over the session bus (addservice, delservice and their
// "block" twins): each message's texts, any of them absent, applied to the service watch
// in the order they came, with the notifications for their ports asked after each.
#include "intake/ServiceWatch.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

using namespace rovex;

namespace {

std::optional<std::string> textOf(FuzzedDataProvider& input)
{
    if (!input.ConsumeBool())
        return std::nullopt;
    return input.ConsumeRandomLengthString(1024);
}

// An added service's ports are watched, whatever was added or removed before; only the
// Kerberos port is never notified.
void expectWatched(const ServiceWatch& watch, const ServiceDescription& service, bool blocked)
{
    if (!service.servicePorts)
        return;
    forEachPort(*service.servicePorts, [&](std::string_view port) {
        const bool notified = blocked ? watch.buildNotifyBlock(port, "203.0.113.7").has_value()
                                      : watch.buildNotify(port, "203.0.113.7").has_value();
        if (notified != (port != ServiceWatch::kerberos))
            std::abort();
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    ServiceWatch watch;
    while (input.remaining_bytes() > 0) {
        const int message = input.ConsumeIntegralInRange(0, 3);
        std::optional<std::string> name = textOf(input);
        std::optional<std::string> ports = textOf(input);
        std::optional<std::string> image = textOf(input);
        const ServiceDescription service{std::move(name), std::move(ports), std::move(image)};
        switch (message) {
        case 0:
            watch.addservice(service);
            expectWatched(watch, service, false);
            break;
        case 1: watch.delservice(service); break;
        case 2:
            watch.addserviceblock(service);
            expectWatched(watch, service, true);
            break;
        default: watch.delserviceblock(service); break;
        }
    }
    return 0;
}
