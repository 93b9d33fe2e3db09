#include "app/desktop/CategoryWindow.h"

#include "app/desktop/ActionIcons.h"
#include "app/desktop/CategoryTablePanel.h"
#include "app/desktop/LiveTables.h"
#include "app/images/Images.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace rovex {

namespace {

// The log may appear or go at any moment: a shown window looks again this often.
constexpr int statusRefreshMs = 1000;

} // namespace

CategoryWindow::CategoryWindow(LiveTables& tables, TrafficKind kind, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_tables(tables),
      m_kind(kind),
      m_ports(new CategoryTablePanel(tables, portTable(kind))),
      m_addresses(new CategoryTablePanel(tables, addressTable(kind))),
      m_status(new QLabel(this)),
      m_pause(new QPushButton(QStringLiteral("Pause"), this)),
      m_refresh(new QTimer(this))
{
    setWindowTitle(menuText(titleKey(kind)));
    setWindowIcon(Images::named(actionIconName(kind)));
    m_tables.setShown(kind, false); // until the window is shown
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(m_ports);
    splitter->addWidget(m_addresses);
    for (CategoryTablePanel* panel : {m_ports, m_addresses}) {
        connect(panel, &CategoryTablePanel::informationRequested, this, &CategoryWindow::informationRequested);
        connect(panel, &CategoryTablePanel::pieRequested, this, &CategoryWindow::pieRequested);
    }
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    splitter->setSizes({460, 780});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addWidget(makeStatusBar());
    addShortcuts();
    // Once a second is enough for a line count, and a label laid out anew ten times a
    // second in every window costs more than all the rows it sits under; only a paused
    // window counts what it holds back as it comes.
    connect(&tables, &LiveTables::progressed, this, [this] {
        if (m_pause->isChecked())
            refreshStatus();
    });
    m_refresh->setInterval(statusRefreshMs);
    connect(m_refresh, &QTimer::timeout, this, &CategoryWindow::refreshStatus);
    refreshStatus();
    resize(1260, 580);
}

QWidget* CategoryWindow::makeStatusBar()
{
    auto* bar = new QWidget(this);
    m_status->setObjectName(QStringLiteral("logStatus"));
    m_status->setTextFormat(Qt::PlainText);
    m_pause->setObjectName(QStringLiteral("pause"));
    m_pause->setCheckable(true);
    m_pause->setToolTip(QStringLiteral("Hold both tables still while lines are still counted; "
                                       "un-pause to catch up"));
    connect(m_pause, &QPushButton::toggled, this, &CategoryWindow::setPaused);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_status, 1);
    layout->addWidget(m_pause);
    return bar;
}

void CategoryWindow::addShortcuts()
{
    // Spelt out: not every desktop's key scheme binds Close to Ctrl+W.
    auto* find = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    connect(find, &QShortcut::activated, this, &CategoryWindow::focusFilter);
    auto* closing = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_W), this);
    connect(closing, &QShortcut::activated, this, &QWidget::close);
}

void CategoryWindow::setPaused(bool paused)
{
    if (m_pause->isChecked() != paused) {
        m_pause->setChecked(paused); // comes back here through toggled
        return;
    }
    m_linesAtPause = m_tables.status().lines();
    m_tables.setPaused(m_kind, paused);
    refreshStatus();
}

void CategoryWindow::focusFilter()
{
    CategoryTablePanel* panel = m_ports->isAncestorOf(focusWidget()) ? m_ports : m_addresses;
    panel->filterField().setFocus(Qt::ShortcutFocusReason);
    panel->filterField().selectAll();
}

void CategoryWindow::refreshStatus()
{
    const LogStatus status = m_tables.status();
    m_status->setText(describe(status));
    m_pause->setText(m_pause->isChecked() ? QStringLiteral("Paused · %1 new lines").arg(status.lines() - m_linesAtPause)
                                          : QStringLiteral("Pause"));
}

void CategoryWindow::showEvent(QShowEvent* event)
{
    m_tables.setShown(m_kind, true);
    refreshStatus();
    m_refresh->start();
    QWidget::showEvent(event);
}

void CategoryWindow::hideEvent(QHideEvent* event)
{
    m_refresh->stop();
    m_tables.setShown(m_kind, false);
    QWidget::hideEvent(event);
}

const char* CategoryWindow::titleKey(TrafficKind kind)
{
    switch (kind) {
    case TrafficKind::BlockIn: return "wininboundblocked";
    case TrafficKind::BlockOut: return "winoutboundblocked";
    case TrafficKind::PassIn: return "wininboundpassed";
    case TrafficKind::PassOut: return "winoutboundpassed";
    }
    return "";
}

} // namespace rovex
