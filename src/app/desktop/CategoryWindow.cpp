#include "app/desktop/CategoryWindow.h"

#include "app/desktop/ActionIcons.h"
#include "app/desktop/CategoryTablePanel.h"
#include "app/images/Images.h"

#include <QHBoxLayout>
#include <QSplitter>

namespace rovex {

CategoryWindow::CategoryWindow(LiveTables& tables, TrafficKind kind, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_kind(kind),
      m_ports(new CategoryTablePanel(tables, portTable(kind))),
      m_addresses(new CategoryTablePanel(tables, addressTable(kind)))
{
    setWindowTitle(menuText(titleKey(kind)));
    setWindowIcon(Images::named(actionIconName(kind)));
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
    splitter->setSizes({370, 780});
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(splitter);
    resize(1180, 560);
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
