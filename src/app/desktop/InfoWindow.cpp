#include "app/desktop/InfoWindow.h"

#include "app/images/Images.h"

#include <QGridLayout>
#include <QLabel>

namespace rovex {

namespace {

struct LegendRow {
    const char* image;
    const char* titleKey;
};

constexpr LegendRow legend[] = {
    {"menublockdown", "blockin"},
    {"menublockup", "blockout"},
    {"menupassdown", "passedin"},
    {"menupassup", "passedout"},
};

} // namespace

InfoWindow::InfoWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(menuText("wininfo"));
    auto* layout = new QGridLayout(this);
    auto* intro = new QLabel(
        QStringLiteral("Every line the firewall logs is counted as it is written: by its destination port and by "
                       "the remote address, separately for blocked and passed, inbound and outbound traffic. "
                       "Tables list the most frequent first. Ignored ports and addresses are no longer counted."),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro, 0, 0, 1, 2);
    int row = 1;
    for (const LegendRow& entry : legend) {
        auto* picture = new QLabel(this);
        picture->setPixmap(Images::named(QString::fromLatin1(entry.image)).pixmap(16, 16));
        layout->addWidget(picture, row, 0);
        layout->addWidget(new QLabel(menuText(entry.titleKey), this), row, 1);
        ++row;
    }
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(row, 1);
    resize(420, 240);
}

} // namespace rovex
