#include "app/desktop/DesktopOptions.h"

#include "app/intel/VersionServerChoice.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSettings>

namespace rovex {
namespace {

struct Options {
    QCommandLineOption root{QStringLiteral("root"),
                            QStringLiteral("Resolve the firewall's fixed paths under DIR (default /)."),
                            QStringLiteral("DIR"), QStringLiteral("/")};
    QCommandLineOption showAll{QStringLiteral("show-all"), QStringLiteral("Open the four traffic windows at start.")};
    QCommandLineOption pictures{QStringLiteral("pictures"),
                                QStringLiteral("Save a picture of each traffic window into DIR after a while."),
                                QStringLiteral("DIR")};
    QCommandLineOption picturesAfter{QStringLiteral("pictures-after"),
                                     QStringLiteral("Seconds before the pictures are taken (default 10)."),
                                     QStringLiteral("SECONDS"), QStringLiteral("10")};
    QCommandLineOption whoisServer{
        QStringLiteral("whois-server"),
        QStringLiteral("Ask this whois server (HOST, HOST:PORT or [IPV6]:PORT); default: $ROVEX_WHOIS_SERVER, else the "
                       "whois client picks its registry."),
        QStringLiteral("SERVER")};
    QCommandLineOption versionServer{
        QStringLiteral("version-server"),
        QStringLiteral("Ask this server (http or https URL) for the current version; default: $ROVEX_VERSION_SERVER, "
                       "else the saved setting versionServer."),
        QStringLiteral("URL")};
};

std::optional<QString> valueIfSet(const QCommandLineParser& parser, const QCommandLineOption& option)
{
    return parser.isSet(option) ? std::optional(parser.value(option)) : std::nullopt;
}

} // namespace

std::variant<DesktopOptions, OptionsRefusal> readDesktopOptions(const QCoreApplication& application)
{
    const Options options;
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The pf firewall's log, live, from the tray."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({options.root, options.showAll, options.pictures, options.picturesAfter, options.whoisServer,
                       options.versionServer});
    parser.process(application);

    DesktopOptions result;
    result.root = parser.value(options.root).toStdString();
    std::error_code error;
    if (!std::filesystem::is_directory(result.root, error))
        return OptionsRefusal{QStringLiteral("root folder %1 does not exist").arg(parser.value(options.root))};
    result.showAll = parser.isSet(options.showAll);
    result.picturesFolder = valueIfSet(parser, options.pictures);
    bool secondsRead = false;
    result.picturesAfterSeconds = parser.value(options.picturesAfter).toInt(&secondsRead);
    if (!secondsRead || result.picturesAfterSeconds < 0)
        return OptionsRefusal{QStringLiteral("--pictures-after needs a whole number of seconds")};

    const std::optional<QString> whoisText = valueIfSet(parser, options.whoisServer);
    const WhoisChoice whois = chooseWhoisServer(whoisText ? std::optional(whoisText->toStdString()) : std::nullopt,
                                                "--whois-server");
    if (!whois.refusal.empty())
        return OptionsRefusal{QString::fromStdString(whois.refusal)};
    result.whoisServer = whois.server;

    const VersionServerChoice version = chooseVersionServer(
        valueIfSet(parser, options.versionServer), qEnvironmentVariable(versionServerVariable),
        QSettings().value(QLatin1StringView(versionServerSetting)).toString(), QStringLiteral("--version-server"));
    if (!version.refusal.isEmpty())
        return OptionsRefusal{version.refusal};
    result.versionServer = version.server;
    return result;
}

} // namespace rovex
