#include "app/intel/VersionServerChoice.h"

namespace rovex {
namespace {

std::optional<QUrl> versionServerOf(const QString& text)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    const bool web = url.scheme() == u"http" || url.scheme() == u"https";
    if (!url.isValid() || !web || url.host().isEmpty())
        return std::nullopt;
    return url;
}

} // namespace

VersionServerChoice chooseVersionServer(const std::optional<QString>& option, const std::optional<QString>& environment,
                                        const std::optional<QString>& saved, const QString& optionName)
{
    QString source;
    QString text;
    if (option) {
        source = optionName;
        text = *option;
    } else if (environment && !environment->isEmpty()) {
        source = QString::fromLatin1(versionServerVariable);
        text = *environment;
    } else if (saved && !saved->isEmpty()) {
        source = QStringLiteral("the saved setting ") + QString::fromLatin1(versionServerSetting);
        text = *saved;
    } else {
        return {};
    }
    if (auto server = versionServerOf(text))
        return {std::move(server), {}};
    return {std::nullopt,
            source + QStringLiteral(" needs an http or https address such as http://127.0.0.1:8080, not \"") + text
                + u'"'};
}

} // namespace rovex
