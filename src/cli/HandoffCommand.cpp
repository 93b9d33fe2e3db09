#include "app/bus/ProductBus.h"
#include "app/bus/ProductHandOff.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include <iostream>

namespace rovex::cli {
namespace {

struct Sent {
    std::string member;
    ProductHandOff::Outcome outcome;
};

// The buttons' rule: one address goes to the blacklist alone, more as a list; the group
// always gets a list.
Sent handOver(ProductHandOff& handOff, const std::string& action, const QStringList& addresses)
{
    if (action == "group")
        return {"addToGroup", handOff.sendToRovexGroup(addresses)};
    if (addresses.size() == 1)
        return {"blacklistIP", handOff.sendRovexAddress(addresses.constFirst())};
    return {"blacklistIPs", handOff.sendRovexAddresses(addresses)};
}

void writeSent(const Sent& sent, const std::vector<std::string>& addresses, bool json)
{
    if (!json) {
        std::cout << "sent " << sent.member << " with " << addresses.size()
                  << (addresses.size() == 1 ? " address" : " addresses") << '\n';
        return;
    }
    JsonWriter out(std::cout);
    out.beginObject();
    out.key("member");
    out.value(sent.member);
    out.key("addresses");
    out.beginArray();
    for (const std::string& address : addresses)
        out.value(address);
    out.endArray();
    out.endObject();
}

} // namespace

int runHandoff(const std::vector<std::string>& arguments, int argc, char** argv)
{
    // --proc: where running processes are listed (tests list their own product there).
    const CommandLine line(arguments, {{"--proc"}, {"--json"}});
    const std::vector<std::string>& operands = line.operands();
    if (operands.empty() || (operands[0] != "blacklist" && operands[0] != "group"))
        throw UsageError("handoff needs blacklist or group, then the addresses");
    if (operands.size() < 2)
        throw UsageError("handoff " + operands[0] + " needs at least one address");
    const std::vector<std::string> addresses(operands.begin() + 1, operands.end());
    QStringList list;
    for (const std::string& address : addresses)
        list.append(QString::fromStdString(address));

    const QCoreApplication application(argc, argv);
    const QDBusConnection bus = QDBusConnection::sessionBus();
    ProductBus product(bus);
    ProductHandOff handOff(product, QString::fromStdString(line.value("--proc").value_or("/proc")));
    const Sent sent = handOver(handOff, operands[0], list);
    if (sent.outcome == ProductHandOff::Outcome::SendFailed)
        std::cerr << "rovex-logs: " << handOff.diagnostic().toStdString() << '\n';
    if (sent.outcome != ProductHandOff::Outcome::Sent) {
        std::cerr << "rovex-logs: norovex: the firewall product (a process named Rovex) is not running or "
                     "cannot be reached; nothing was sent\n";
        return 1;
    }
    // A round trip to the bus: the messages have left before this process ends.
    bus.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.DBus"));
    writeSent(sent, addresses, line.flag("--json"));
    return 0;
}

} // namespace rovex::cli
