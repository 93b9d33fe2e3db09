#include "app/images/Images.h"

#include "IconNames.h"
#include "QtPrint.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace rovex {
namespace {

// The panels an icon meets: the light palette of the windows and a dark tray.
const QColor lightPanel(0xef, 0xef, 0xef);
const QColor darkPanel(0x2b, 0x2b, 0x2b);

double lightness(QRgb pixel) { return (0.299 * qRed(pixel) + 0.587 * qGreen(pixel) + 0.114 * qBlue(pixel)) / 255.0; }

// Pixels of the icon drawn on the panel that stand out clearly from it.
int standingOut(const QIcon& icon, int size, const QColor& panel)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(panel);
    QPainter painter(&image);
    icon.paint(&painter, 0, 0, size, size);
    painter.end();
    const double ground = lightness(panel.rgb());
    int count = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            count += std::abs(lightness(image.pixel(x, y)) - ground) >= 0.2 ? 1 : 0;
    return count;
}

int visiblePixels(const QImage& image)
{
    int visible = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            visible += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    return visible;
}

QImage asRgba(const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32); }

const QString flagsOfDebian = QStringLiteral("/usr/share/flags/countries/16x11");

// Each test that moves the flags folder puts Debian's back.
class ImagesTest : public testing::Test {
protected:
    void TearDown() override { Images::setFlagsFolder(flagsOfDebian); }
};

TEST_F(ImagesTest, EveryOwnImageIsASquareDrawingWithContentAtMenuAndTraySizes)
{
    for (const char* name : test::ownIconNames) {
        SCOPED_TRACE(name);
        const QIcon icon = Images::named(QString::fromLatin1(name));
        ASSERT_FALSE(icon.isNull());
        for (const int size : {16, 22}) {
            const QImage image = icon.pixmap(size).toImage();
            EXPECT_EQ(image.size(), QSize(size, size));
            // A drawing that filled the box, not a dot or a blank: at least a fifth covered.
            EXPECT_GE(visiblePixels(image), size * size / 5);
        }
        // Readable in a light window and on a dark tray: an eighth of the menu-size square
        // stands clear of either.
        for (const QColor& panel : {lightPanel, darkPanel})
            EXPECT_GE(standingOut(icon, 16, panel), 16 * 16 / 8) << "on " << panel.name().toStdString();
    }
}

TEST_F(ImagesTest, LowerCaseCountryCodeGivesTheFlagFile)
{
    ASSERT_EQ(Images::flagsFolder(), flagsOfDebian);
    for (const QString& code : {QStringLiteral("de"), QStringLiteral("it")}) {
        const QImage flag(flagsOfDebian + u'/' + code + QStringLiteral(".png"));
        ASSERT_FALSE(flag.isNull()) << "famfamfam-flag-png is not installed";
        const QIcon icon = Images::named(code);
        ASSERT_FALSE(icon.isNull());
        EXPECT_EQ(asRgba(icon.pixmap(flag.size()).toImage()), asRgba(flag));
        EXPECT_EQ(Images::filePath(code), flagsOfDebian + u'/' + code + QStringLiteral(".png"));
    }
    // The flag goes by the code as the database writes it: an upper-case code is no flag.
    EXPECT_TRUE(Images::named(QStringLiteral("DE")).isNull());
    EXPECT_TRUE(Images::named(QStringLiteral("xk")).isNull());
}

TEST_F(ImagesTest, NamesWithoutAnImageGiveNothing)
{
    for (const QString& name : {QStringLiteral("no-such-image-anywhere"), QString(), QStringLiteral("deu"),
                                QStringLiteral("d"), QStringLiteral("ssh.svg")}) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(Images::named(name).isNull());
        EXPECT_TRUE(Images::filePath(name).isEmpty());
    }
}

// Service image names come from the firewall product's library file: a path there must not
// pick up a file of its choosing (the icon theme lookup loads an absolute path as it is).
TEST_F(ImagesTest, NamesThatArePathsReachNoFile)
{
    const QString flag = flagsOfDebian + QStringLiteral("/de.png");
    ASSERT_TRUE(QFileInfo::exists(flag));
    for (const QString& name :
         {flag, QStringLiteral("../16x11/de"), QStringLiteral(":/icons/ssh.svg"), QStringLiteral("/icons/ssh")}) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(Images::named(name).isNull());
        EXPECT_TRUE(Images::filePath(name).isEmpty());
    }
}

TEST_F(ImagesTest, FlagsComeFromTheChosenFolderOnly)
{
    const QTemporaryDir folder;
    QImage red(16, 11, QImage::Format_ARGB32);
    red.fill(QColor(255, 0, 0));
    ASSERT_TRUE(red.save(folder.filePath(QStringLiteral("xk.png"))));

    ASSERT_FALSE(Images::named(QStringLiteral("de")).isNull());
    Images::setFlagsFolder(folder.path());
    EXPECT_EQ(Images::flagsFolder(), folder.path());
    const QIcon kosovo = Images::named(QStringLiteral("xk"));
    ASSERT_FALSE(kosovo.isNull());
    EXPECT_EQ(kosovo.pixmap(QSize(16, 11)).toImage().pixelColor(8, 5), QColor(255, 0, 0));
    EXPECT_EQ(Images::filePath(QStringLiteral("xk")), folder.filePath(QStringLiteral("xk.png")));
    // What was found in the old folder is forgotten with it.
    EXPECT_TRUE(Images::named(QStringLiteral("de")).isNull());
    EXPECT_TRUE(Images::filePath(QStringLiteral("de")).isEmpty());
    // A folder named like a flag is no flag.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("zz.png")));
    EXPECT_TRUE(Images::named(QStringLiteral("zz")).isNull());
}

TEST_F(ImagesTest, OwnImagesBecomePngFilesInThePrivateRuntimeFolder)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    ASSERT_FALSE(runtime.isEmpty());
    for (const char* name : test::ownIconNames) {
        SCOPED_TRACE(name);
        const QString path = Images::filePath(QString::fromLatin1(name));
        ASSERT_TRUE(path.startsWith(runtime + u'/')) << path.toStdString();
        QImageReader reader(path);
        EXPECT_EQ(reader.format(), "png");
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(64, 64));
        EXPECT_GE(visiblePixels(image), 64 * 64 / 5);
        EXPECT_EQ(Images::filePath(QString::fromLatin1(name)), path);
    }
}

TEST_F(ImagesTest, RemovedRenderIsMadeAgainInTheCacheWithoutARuntimeFolder)
{
    const QString first = Images::filePath(QStringLiteral("x11"));
    ASSERT_FALSE(first.isEmpty());
    ASSERT_TRUE(QFile::remove(first));

    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("XDG_RUNTIME_DIR");
    const QString again = Images::filePath(QStringLiteral("x11"));
    qputenv("XDG_RUNTIME_DIR", runtime);

    const QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    EXPECT_EQ(again, cache + QStringLiteral("/rovex-logs-visualizer/icons/x11.png"));
    EXPECT_EQ(QImage(again).size(), QSize(64, 64));
}

} // namespace
} // namespace rovex
