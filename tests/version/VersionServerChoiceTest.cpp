#include "app/intel/VersionServerChoice.h"

#include <gtest/gtest.h>

using rovex::chooseVersionServer;
using rovex::VersionServerChoice;

namespace {

const QString optionName = QStringLiteral("--version-server");

VersionServerChoice choose(std::optional<QString> option, std::optional<QString> environment,
                           std::optional<QString> saved)
{
    return chooseVersionServer(option, environment, saved, optionName);
}

QString text(const char* ascii) { return QString::fromLatin1(ascii); }

} // namespace

TEST(VersionServerChoice, OptionBeatsEnvironmentBeatsSetting)
{
    const QString option = text("http://127.0.0.1:8001");
    const QString environment = text("https://versions.example:8443");
    const QString saved = text("http://saved.example");
    EXPECT_EQ(choose(option, environment, saved).server, QUrl(option));
    EXPECT_EQ(choose(std::nullopt, environment, saved).server, QUrl(environment));
    EXPECT_EQ(choose(std::nullopt, QString(), saved).server, QUrl(saved));
    EXPECT_EQ(choose(std::nullopt, std::nullopt, saved).server, QUrl(saved));
    for (const auto& nothing :
         {choose(std::nullopt, std::nullopt, std::nullopt), choose(std::nullopt, QString(), QString())}) {
        EXPECT_FALSE(nothing.server.has_value());
        EXPECT_TRUE(nothing.refusal.isEmpty());
    }
}

TEST(VersionServerChoice, RefusesWhatIsNotAWebAddressNamingItsSource)
{
    const QString good = text("http://127.0.0.1:8001");
    for (const char* bad :
         {"ftp://127.0.0.1/", "localhost:8080", "http://", "http://host:99999", "not an address", ""}) {
        SCOPED_TRACE(bad);
        const QString value = text(bad);
        const VersionServerChoice fromOption = choose(value, good, good);
        EXPECT_FALSE(fromOption.server.has_value()); // a refused option never falls back
        EXPECT_TRUE(fromOption.refusal.startsWith(optionName)) << fromOption.refusal.toStdString();
        EXPECT_TRUE(fromOption.refusal.contains(value));
        EXPECT_FALSE(fromOption.refusal.contains(u'\n'));
        if (value.isEmpty())
            continue; // empty: the variable and the setting count as not set
        EXPECT_TRUE(choose(std::nullopt, value, good).refusal.startsWith(u"ROVEX_VERSION_SERVER"));
        EXPECT_TRUE(choose(std::nullopt, std::nullopt, value).refusal.contains(u"versionServer"));
    }
}
