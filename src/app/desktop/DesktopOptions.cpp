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
    QCommandLineOption log{QStringLiteral("log"),
                           QStringLiteral("Follow FILE instead of the firewall product's log (default: the file last "
                                          "chosen in the options, else the product's log under the root)."),
                           QStringLiteral("FILE")};
    QCommandLineOption layouts{
        QStringLiteral("layouts"),
        QStringLiteral("product: read the product's own log layout; all: also pflog text and pfSense/OPNsense "
                       "filterlog (default: as last chosen in the options)."),
        QStringLiteral("LAYOUTS")};
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
    parser.addOptions({options.root, options.log, options.layouts, options.showAll, options.pictures,
                       options.picturesAfter, options.whoisServer, options.versionServer});
    parser.process(application);

    DesktopOptions result;
    result.root = parser.value(options.root).toStdString();
    std::error_code error;
    if (!std::filesystem::is_directory(result.root, error))
        return OptionsRefusal{QStringLiteral("root folder %1 does not exist").arg(parser.value(options.root))};
    result.log = LogChoice::remembered();
    if (const std::optional<QString> log = valueIfSet(parser, options.log)) {
        if (log->isEmpty())
            return OptionsRefusal{QStringLiteral("--log needs a file")};
        result.log.file = std::filesystem::path(log->toStdString());
    }
    if (const std::optional<QString> layouts = valueIfSet(parser, options.layouts)) {
        if (*layouts != QLatin1StringView("product") && *layouts != QLatin1StringView("all"))
            return OptionsRefusal{QStringLiteral("--layouts needs product or all")};
        result.log.layouts = *layouts == QLatin1StringView("all") ? LayoutSetting::All : LayoutSetting::Product;
    }
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
