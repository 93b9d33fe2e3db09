#include "app/images/Images.h"

#include "IconNames.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

#include <cmath>

namespace rovex {
namespace {

// The panels an icon meets: the Fusion light palette of the windows and a dark tray.
const QColor lightPanel(0xef, 0xef, 0xef);
const QColor darkPanel(0x2b, 0x2b, 0x2b);

QImage onPanel(const QIcon& icon, int size, const QColor& panel)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(panel);
    QPainter painter(&image);
    icon.paint(&painter, 0, 0, size, size);
    return image;
}

double lightness(QRgb pixel)
{
    return (0.299 * qRed(pixel) + 0.587 * qGreen(pixel) + 0.114 * qBlue(pixel)) / 255.0;
}

// Pixels that stand out clearly from the panel: what makes the picture readable there.
int standingOut(const QImage& image, const QColor& panel)
{
    const double ground = lightness(panel.rgb());
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += std::abs(lightness(image.pixel(x, y)) - ground) >= 0.2 ? 1 : 0;
    return count;
}

// One row per image: its name, then the image at 16, 22 and 32 px on the light panel and
// again on the dark one. The sheet is written beside the build for people to look at.
QImage contactSheet()
{
    constexpr int label = 170;
    constexpr int cell = 40;
    const int sizes[] = {16, 22, 32};
    const int rows = static_cast<int>(test::ownIconNames.size());
    QImage sheet(label + 6 * cell, rows * cell, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    for (int row = 0; row < rows; ++row) {
        const QString name = QString::fromLatin1(test::ownIconNames[static_cast<std::size_t>(row)]);
        const int top = row * cell;
        painter.setPen(Qt::black);
        painter.drawText(QRect(4, top, label - 8, cell), Qt::AlignVCenter, name);
        for (int column = 0; column < 6; ++column) {
            const QColor& panel = column < 3 ? lightPanel : darkPanel;
            const int size = sizes[column % 3];
            const QRect box(label + column * cell, top, cell, cell);
            painter.fillRect(box, panel);
            const int inset = (cell - size) / 2;
            Images::named(name).paint(&painter, box.x() + inset, box.y() + inset, size, size);
        }
    }
    return sheet;
}

TEST(IconSheetTest, EveryImageReadsOnLightAndDarkPanels)
{
    for (const char* name : test::ownIconNames) {
        SCOPED_TRACE(name);
        const QIcon icon = Images::named(QString::fromLatin1(name));
        for (const QColor& panel : {lightPanel, darkPanel}) {
            // An eighth of the menu-size square at least must stand clear of the panel.
            EXPECT_GE(standingOut(onPanel(icon, 16, panel), panel), 16 * 16 / 8)
                << "on " << panel.name().toStdString();
        }
    }
}

TEST(IconSheetTest, ContactSheetIsWritten)
{
    const QImage sheet = contactSheet();
    const QString path = QStringLiteral(ROVEX_BINARY_DIR "/icons-sheet.png");
    ASSERT_TRUE(sheet.save(path));
    const QImage written(path);
    EXPECT_EQ(written.size(), sheet.size());
}

} // namespace
} // namespace rovex
