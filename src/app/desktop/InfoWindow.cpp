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
    m_reading = new QLabel(this);
    m_reading->setObjectName(QStringLiteral("readingReport"));
    m_reading->setWordWrap(true);
    m_reading->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_reading, row++, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(row, 1);
    resize(420, 280);
    m_refresh.setInterval(1000);
    connect(&m_refresh, &QTimer::timeout, this, &InfoWindow::refreshReading);
}

void InfoWindow::setReadingReport(std::function<QString()> report)
{
    m_report = std::move(report);
    refreshReading();
}

QString InfoWindow::readingText() const { return m_reading->text(); }

void InfoWindow::refreshReading() { m_reading->setText(m_report ? m_report() : QString()); }

void InfoWindow::showEvent(QShowEvent* event)
{
    refreshReading();
    m_refresh.start();
    QWidget::showEvent(event);
}

void InfoWindow::hideEvent(QHideEvent* event)
{
    m_refresh.stop();
    QWidget::hideEvent(event);
}

} // namespace rovex
