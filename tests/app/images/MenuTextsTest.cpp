#include "app/images/MenuTexts.h"

#include "QtPrint.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace rovex {
namespace {

// Every key the application looks up in "MainMenu".
const std::vector<const char*> menuKeys{
    "blockin", "blockout", "passedin", "passedout", "torta", "menulogs", "console", "openinfo",
    "menuoptions", "menushowall", "menukeep", "menuignore", "menuclean", "menulogin",
    "menuupdates", "menuabout", "menuquit", "loginadded", "noupd",
    "wininboundblocked", "winoutboundblocked", "wininboundpassed", "winoutboundpassed",
    "winignore", "winabout", "wininfo",
    "colport", "coladdress", "colcount", "colfirstseen", "colcountry",
    "btnignore", "btnremove", "btnunignore", "ignoredports", "ignoredaddresses",
};

// Each test starts with no texts installed and in the C locale.
class MenuTextsTest : public testing::Test {
protected:
    void SetUp() override { removeTexts(); }
    void TearDown() override
    {
        removeTexts();
        QLocale::setDefault(QLocale::c());
    }

    static void removeTexts()
    {
        // A deleted translator leaves the application's list by itself.
        for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>())
            delete translator;
    }
    static qsizetype installedTexts()
    {
        return QCoreApplication::instance()->findChildren<QTranslator*>().size();
    }
};

TEST_F(MenuTextsTest, KeysShowThemselvesUntilTextsAreInstalled)
{
    EXPECT_EQ(menuText("blockin"), QStringLiteral("blockin"));
    EXPECT_EQ(menuText("menuquit"), QStringLiteral("menuquit"));
}

TEST_F(MenuTextsTest, EveryKeyHasEnglishText)
{
    installMenuTexts(*QCoreApplication::instance());
    for (const char* key : menuKeys) {
        SCOPED_TRACE(key);
        const QString text = menuText(key);
        EXPECT_FALSE(text.trimmed().isEmpty());
        EXPECT_NE(text, QString::fromLatin1(key));
    }
    const std::vector<std::pair<const char*, const char*>> fixed{
        {"torta", "Statistics"}, {"menulogs", "Simple log"}, {"console", "Open log in viewer"},
        {"menuquit", "Quit"}, {"noupd", "You have the latest version."}, {"colfirstseen", "First seen"},
        {"menuabout", "About RovexLogsVisualizer"}};
    for (const auto& [key, text] : fixed)
        EXPECT_EQ(menuText(key), QString::fromLatin1(text));
    // Not Latin-1: the file is read as UTF-8.
    EXPECT_EQ(menuText("menuignore"), QStringLiteral("Ignore lists\u2026"));
}

TEST_F(MenuTextsTest, UnknownKeyShowsItself)
{
    installMenuTexts(*QCoreApplication::instance());
    EXPECT_EQ(menuText("nosuchkey"), QStringLiteral("nosuchkey"));
    EXPECT_EQ(menuText(""), QString());
}

TEST_F(MenuTextsTest, LanguageWithoutTextsFallsBackToEnglish)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale british(QLocale::English, QLocale::UnitedKingdom);
    for (const QLocale& locale : {german, british}) {
        SCOPED_TRACE(locale.name().toStdString());
        removeTexts();
        QLocale::setDefault(locale);
        installMenuTexts(*QCoreApplication::instance());
        EXPECT_EQ(menuText("blockin"), QStringLiteral("Inbound blocked"));
    }
}

TEST_F(MenuTextsTest, InstallingAgainReplacesTheTexts)
{
    installMenuTexts(*QCoreApplication::instance());
    installMenuTexts(*QCoreApplication::instance());
    EXPECT_EQ(installedTexts(), 1);
    EXPECT_EQ(menuText("passedout"), QStringLiteral("Outbound passed"));
}

} // namespace
} // namespace rovex
