#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace rovex {

// The environment variable that names the version server when no option does.
inline constexpr const char* versionServerVariable = "ROVEX_VERSION_SERVER";
// The saved setting that names it when neither the option nor the variable does.
inline constexpr const char* versionServerSetting = "versionServer";

// The version server the user chose: the option's text when given, else the environment
// variable's, else the saved setting's (an empty variable or setting counts as not set);
// none when none names one. A text that is not an http or https address with a host is
// refused: refusal is then one line that says which text and where it came from.
struct VersionServerChoice {
    std::optional<QUrl> server;
    QString refusal;
};
VersionServerChoice chooseVersionServer(const std::optional<QString>& option, const std::optional<QString>& environment,
                                        const std::optional<QString>& saved, const QString& optionName);

} // namespace rovex
