#include "app/intel/RXSockController.h"
#include "app/intel/WhoisQuery.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "lookup/WhoisServer.h"
#include "lookup/WhoisText.h"

#include <QCoreApplication>

#include <iostream>

namespace rovex::cli {
namespace {

struct WhoisAnswer {
    QString probe;
    QString text;
};

// The popover's chain on an event loop of its own: the probe, then the client only when
// the server could be reached.
WhoisAnswer askWhois(const QString& address, const std::optional<WhoisServer>& server, int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    RXSockController probe(server.value_or(WhoisServer{std::string(defaultWhoisHost)}));
    WhoisQuery query(server);
    WhoisAnswer answer;
    QObject::connect(&probe, &RXSockController::startwhoisquerySimpleLog, &application, [&] {
        answer.probe = probe.responseString();
        if (answer.probe == u"2") {
            query.start(address);
            return;
        }
        answer.text = QString::fromUtf8(noWhoisText);
        QCoreApplication::exit();
    });
    QObject::connect(&query, &WhoisQuery::finished, &application, [&answer](const QString&, const QString& text) {
        answer.text = text;
        QCoreApplication::exit();
    });
    probe.checkWhois(QStringLiteral("SimpleLog"));
    QCoreApplication::exec();
    return answer;
}

} // namespace

int runWhois(const std::vector<std::string>& arguments, int argc, char** argv)
{
    const CommandLine line(arguments, {{"--server"}, {"--json"}});
    if (line.operands().size() != 1)
        throw UsageError("whois takes one address");
    const std::string& address = line.operands().front();
    const WhoisChoice choice = chooseWhoisServer(line.value("--server"), "--server");
    if (!choice.refusal.empty())
        throw UsageError(choice.refusal);
    const std::optional<WhoisServer>& server = choice.server;
    const WhoisAnswer answer = askWhois(QString::fromStdString(address), server, argc, argv);
    if (answer.probe != u"2") {
        std::cerr << "rovex-logs: no whois server answered on "
                  << (server ? server->host : std::string(defaultWhoisHost)) << ':' << (server ? server->port : 43)
                  << '\n';
    }
    if (!line.flag("--json")) {
        std::cout << answer.text.toStdString() << (answer.text.endsWith(u'\n') ? "" : "\n");
        return 0;
    }
    JsonWriter json(std::cout);
    json.beginObject();
    json.key("address");
    json.value(address);
    json.key("probe");
    json.value(answer.probe.toStdString());
    json.key("text");
    json.value(answer.text.toStdString());
    json.endObject();
    return 0;
}

} // namespace rovex::cli
