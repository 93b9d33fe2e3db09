#include "app/desktop/AboutWindow.h"

#include "app/images/Images.h"

#include <QLabel>
#include <QVBoxLayout>

namespace rovex {

AboutWindow::AboutWindow(QWidget* parent) : QWidget(parent, Qt::Window), m_aboutVersionLabel(new QLabel(this))
{
    setWindowTitle(menuText("winabout"));
    const QIcon icon = Images::named(QStringLiteral("rovex-logs-visualizer"));
    setWindowIcon(icon);
    auto* picture = new QLabel(this);
    picture->setPixmap(icon.pixmap(64, 64));
    auto* name = new QLabel(QStringLiteral("RovexLogsVisualizer"), this);
    QFont large = name->font();
    large.setBold(true);
    large.setPointSizeF(large.pointSizeF() * 1.4);
    name->setFont(large);
    auto* purpose = new QLabel(QStringLiteral("The pf firewall's log, live: who knocks on which port."), this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    for (QLabel* label : {picture, name, m_aboutVersionLabel, purpose}) {
        label->setAlignment(Qt::AlignHCenter);
        layout->addWidget(label);
    }
}

void AboutWindow::setVersion(const QString& version)
{
    m_aboutVersionLabel->setText(QStringLiteral("Version ") + version);
}

} // namespace rovex
