#include "app/images/MenuTexts.h"

#include "QtPrint.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

#include <gtest/gtest.h>

#include <vector>

namespace rovex {
namespace {

// Every key the application looks up in "MainMenu".
const std::vector<const char*> menuKeys{
    "blockin",
    "blockout",
    "passedin",
    "passedout",
    "torta",
    "menulogs",
    "console",
    "openinfo",
    "menuoptions",
    "menushowall",
    "menukeep",
    "menuignore",
    "menuclean",
    "menulogin",
    "menuupdates",
    "menuabout",
    "menuquit",
    "loginadded",
    "noupd",
    "wininboundblocked",
    "winoutboundblocked",
    "wininboundpassed",
    "winoutboundpassed",
    "winignore",
    "winabout",
    "wininfo",
    "colport",
    "coladdress",
    "colcount",
    "colfirstseen",
    "colcountry",
    "btnignore",
    "btnremove",
    "btnunignore",
    "ignoredports",
    "ignoredaddresses",
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
};

TEST_F(MenuTextsTest, AKeyWithoutTextShowsItself)
{
    EXPECT_EQ(menuText("blockin"), QStringLiteral("blockin"));
    installMenuTexts(*QCoreApplication::instance());
    EXPECT_EQ(menuText("nosuchkey"), QStringLiteral("nosuchkey"));
    EXPECT_EQ(menuText(""), QString());
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
    // Not Latin-1: the file is read as UTF-8.
    EXPECT_EQ(menuText("menuignore"), QStringLiteral("Ignore lists\u2026"));
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

} // namespace
} // namespace rovex
