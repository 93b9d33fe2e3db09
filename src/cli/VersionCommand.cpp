#include "app/intel/VersionCheck.h"
#include "app/intel/VersionServerChoice.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "version/VersionReply.h"

#include <QCoreApplication>

#include <chrono>
#include <iostream>

namespace rovex::cli {
namespace {

// The reply bytes from standard input; like a server's, one longer than the limit is none.
std::optional<std::string> replyFromInput()
{
    std::string bytes(versionReplyLimit + 1, '\0');
    std::cin.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(std::cin.gcount()));
    if (bytes.size() > versionReplyLimit)
        return std::nullopt;
    return decodeVersionReply(bytes);
}

// The desktop's check on an event loop of its own; why no reply came goes to standard error.
std::optional<std::string> replyFromServer(const QUrl& server, std::chrono::milliseconds timeout, int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    VersionCheck check(server);
    check.setTimeout(timeout);
    std::optional<std::string> text;
    const QUrl address = check.versionUrl();
    check.requestVersion(address, [&text, &address](const std::optional<QString>& reply, const QString& error) {
        if (!error.isEmpty())
            std::cerr << "rovex-logs: " << address.toString().toStdString() << ": " << error.toStdString() << '\n';
        if (reply)
            text = reply->toStdString();
        QCoreApplication::exit();
    });
    QCoreApplication::exec();
    return text;
}

void printVerdict(const VersionVerdict& verdict, bool json)
{
    if (!json) {
        if (verdict.alert)
            std::cout << "alert: " << *verdict.alert << ", open site: " << (verdict.openSite ? "yes" : "no") << '\n';
        else
            std::cout << "alert: none\n";
        return;
    }
    JsonWriter writer(std::cout);
    writer.beginObject();
    writer.key("alert");
    if (verdict.alert)
        writer.value(*verdict.alert);
    else
        writer.null();
    writer.key("openSite");
    writer.value(verdict.openSite);
    writer.endObject();
}

} // namespace

int runVersion(const std::vector<std::string>& arguments, int argc, char** argv)
{
    const CommandLine line(arguments, {{"--server", "--timeout-ms"}, {"--json"}});
    if (!line.operands().empty())
        throw UsageError("version takes no operand");
    const auto timeout = std::chrono::milliseconds(
        line.wholeNumber("--timeout-ms", "milliseconds", 1, 3'600'000).value_or(VersionCheck::defaultTimeout.count()));
    const auto option = line.value("--server");
    std::optional<std::string> reply;
    if (option) {
        const QString text = QString::fromStdString(*option);
        const VersionServerChoice choice = chooseVersionServer(text, std::nullopt, std::nullopt,
                                                               QStringLiteral("--server"));
        if (!choice.server)
            throw CommandError(choice.refusal.toStdString());
        reply = replyFromServer(*choice.server, timeout, argc, argv);
    } else {
        reply = replyFromInput();
    }
    printVerdict(evaluateVersionReply(reply), line.flag("--json"));
    return 0;
}

} // namespace rovex::cli
