#include "app/desktop/LauncherWindow.h"

#include "app/desktop/IconView.h"
#include "app/images/Images.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

namespace rovex {

LauncherWindow::LauncherWindow(QMenu& menu, QSystemTrayIcon* item, QWidget* parent)
    : QWidget(parent, Qt::Window), m_menu(menu), m_iconView(new IconView(QStringLiteral("visualizermini"), item, this))
{
    setWindowTitle(QStringLiteral("RovexLogsVisualizer"));
    setWindowIcon(Images::named(QStringLiteral("rovex-logs-visualizer")));
    auto* title = new QLabel(QStringLiteral("RovexLogsVisualizer"), this);
    auto* open = new QToolButton(this);
    open->setText(QStringLiteral("☰"));
    open->setAutoRaise(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->addWidget(m_iconView);
    layout->addWidget(title, 1);
    layout->addWidget(open);
    m_iconView->setOnMouseDown([this] { popUpMenu(); });
    connect(open, &QToolButton::clicked, this, &LauncherWindow::popUpMenu);
    connect(&m_menu, &QMenu::aboutToHide, this, [this] { m_iconView->setIsSelected(false); });
}

void LauncherWindow::popUpMenu()
{
    m_iconView->setIsSelected(true);
    m_menu.popup(m_iconView->mapToGlobal(QPoint(0, m_iconView->height())));
}

void LauncherWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        Q_EMIT closed();
}

} // namespace rovex
