#include "app/images/Images.h"
#include "app/images/ThemeIconFile.h"

#include "QtPrint.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace rovex {
namespace {

// A private icon theme "rovex-test" that inherits "rovex-base", a private "hicolor" and a
// folder of loose icons, put in place of the desktop's for the length of one test.
class ThemeIconsTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        writeTheme(QStringLiteral("rovex-test"),
                   QStringLiteral("Inherits=rovex-base\n"
                                  "Directories=48x48@2/apps,16x16/apps,48x48/apps,scalable/apps\n"
                                  "[48x48@2/apps]\nSize=48\nScale=2\nType=Fixed\n"
                                  "[16x16/apps]\nSize=16\nType=Fixed\n"
                                  "[48x48/apps]\nSize=48\nType=Fixed\n"
                                  "[scalable/apps]\nSize=16\nType=Scalable\nMinSize=8\nMaxSize=32\n"));
        writeTheme(QStringLiteral("rovex-base"), QStringLiteral("Directories=apps\n[apps]\nSize=30\nThreshold=2\n"));
        writeTheme(QStringLiteral("hicolor"), QStringLiteral("Directories=apps\n[apps]\nSize=48\nType=Fixed\n"));
        m_saved = {QIcon::themeName(), QIcon::fallbackThemeName(), QIcon::themeSearchPaths(),
                   QIcon::fallbackSearchPaths()};
        QIcon::setThemeSearchPaths({m_root.path()});
        QIcon::setFallbackSearchPaths({m_root.filePath(QStringLiteral("loose"))});
        QIcon::setFallbackThemeName(QStringLiteral("hicolor"));
        QIcon::setThemeName(QStringLiteral("rovex-test"));
    }

    void TearDown() override
    {
        QIcon::setThemeSearchPaths(m_saved.searchPaths);
        QIcon::setFallbackSearchPaths(m_saved.fallbackPaths);
        QIcon::setFallbackThemeName(m_saved.fallbackTheme);
        QIcon::setThemeName(m_saved.theme);
    }

    void writeTheme(const QString& theme, const QString& index)
    {
        QFile file(path(theme + QStringLiteral("/index.theme")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("[Icon Theme]\nName=%1\n").arg(theme).toUtf8());
        file.write(index.toUtf8());
    }

    // A one-colour PNG of the given side at PATH under the root, folders made as needed.
    QString icon(const QString& relative, int side, QColor colour = Qt::blue)
    {
        const QString file = path(relative);
        QImage image(side, side, QImage::Format_ARGB32);
        image.fill(colour);
        EXPECT_TRUE(image.save(file));
        return file;
    }

    QString svg(const QString& relative)
    {
        const QString file = path(relative);
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\">"
                  "<rect width=\"16\" height=\"16\" fill=\"#0a0\"/></svg>");
        return file;
    }

    QString path(const QString& relative)
    {
        const QString file = m_root.filePath(relative);
        EXPECT_TRUE(QDir().mkpath(QFileInfo(file).path()));
        return file;
    }

private:
    struct Saved {
        QString theme;
        QString fallbackTheme;
        QStringList searchPaths;
        QStringList fallbackPaths;
    };
    QTemporaryDir m_root;
    Saved m_saved;
};

TEST_F(ThemeIconsTest, NearestSizeOfTheThemeWins)
{
    const QString small = icon(QStringLiteral("rovex-test/16x16/apps/sized.png"), 16);
    const QString large = icon(QStringLiteral("rovex-test/48x48/apps/sized.png"), 48);
    const QString scalable = svg(QStringLiteral("rovex-test/scalable/apps/sized.svg"));
    // Drawn for screens of double density: never handed out as a plain file of its size.
    icon(QStringLiteral("rovex-test/48x48@2/apps/sized.png"), 96);
    icon(QStringLiteral("rovex-base/apps/sized.png"), 30);

    EXPECT_EQ(ThemeIconFile::find(QStringLiteral("sized"), 64), large);
    EXPECT_EQ(ThemeIconFile::find(QStringLiteral("sized"), 44), large);
    EXPECT_EQ(ThemeIconFile::find(QStringLiteral("sized"), 24), scalable);
    ASSERT_TRUE(QFile::remove(scalable));
    EXPECT_EQ(ThemeIconFile::find(QStringLiteral("sized"), 24), small);
    EXPECT_EQ(ThemeIconFile::find(QStringLiteral("sized"), 16), small);
}

TEST_F(ThemeIconsTest, InheritedThemesThenHicolorThenLooseIcons)
{
    const QString inherited = icon(QStringLiteral("rovex-base/apps/inherited.png"), 30);
    const QString hicolor = icon(QStringLiteral("hicolor/apps/lastresort.png"), 48);
    const QString loose = icon(QStringLiteral("loose/loose.png"), 32);
    icon(QStringLiteral("hicolor/apps/inherited.png"), 48);

    EXPECT_EQ(ThemeIconFile::find(QStringLiteral("inherited"), 64), inherited);
    EXPECT_EQ(ThemeIconFile::find(QStringLiteral("lastresort"), 64), hicolor);
    EXPECT_EQ(ThemeIconFile::find(QStringLiteral("loose"), 64), loose);
    EXPECT_TRUE(ThemeIconFile::find(QStringLiteral("nowhere"), 64).isEmpty());
    EXPECT_TRUE(ThemeIconFile::find(QStringLiteral("../rovex-base/apps/inherited"), 64).isEmpty());
}

TEST_F(ThemeIconsTest, ThemeIconsAreShownAndHandedOverByTheirFile)
{
    const QString file = icon(QStringLiteral("rovex-base/apps/themed-service.png"), 30, QColor(0, 128, 255));
    const QIcon themed = Images::named(QStringLiteral("themed-service"));
    ASSERT_FALSE(themed.isNull());
    EXPECT_EQ(themed.pixmap(16).toImage().pixelColor(8, 8), QColor(0, 128, 255));
    EXPECT_EQ(Images::filePath(QStringLiteral("themed-service")), file);
}

TEST_F(ThemeIconsTest, OwnImagesAndFlagsComeBeforeTheTheme)
{
    const QString themeSsh = icon(QStringLiteral("rovex-test/48x48/apps/ssh.png"), 48, Qt::red);
    icon(QStringLiteral("rovex-test/16x16/apps/ssh.png"), 16, Qt::red);
    const QString themeFlag = icon(QStringLiteral("rovex-test/48x48/apps/fr.png"), 48, Qt::red);

    const QImage own = QIcon(QStringLiteral(":/icons/ssh.svg")).pixmap(16).toImage();
    EXPECT_EQ(Images::named(QStringLiteral("ssh")).pixmap(16).toImage(), own);
    EXPECT_NE(Images::filePath(QStringLiteral("ssh")), themeSsh);
    EXPECT_EQ(Images::filePath(QStringLiteral("fr")), Images::flagsFolder() + QStringLiteral("/fr.png"));
    EXPECT_NE(Images::filePath(QStringLiteral("fr")), themeFlag);
}

} // namespace
} // namespace rovex
