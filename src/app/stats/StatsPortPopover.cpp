#include "app/stats/StatsPortPopover.h"

#include "app/images/MenuTexts.h"
#include "app/stats/StatsEntryModel.h"
#include "app/stats/StatsWindow.h"
#include "app/widgets/BusyIndicator.h"
#include "app/widgets/PopoverText.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace rovex {

StatsPortPopover::StatsPortPopover(QWidget* parent)
    : Popover(parent),
      m_portLabel(new QLabel(this)),
      m_portServiceName(new QPlainTextEdit(this)),
      m_portProgress(new BusyIndicator(this)),
      m_ipForPort(new StatsEntryModel(this)),
      m_ipforportScrollView(new QTableView(this)),
      m_ipinfobtn(new QPushButton(menuText("btnaddressinfo"), this)),
      m_closebtn(new QPushButton(menuText("btnclose"), this))
{
    setObjectName(QStringLiteral("portPopover"));
    m_portLabel->setObjectName(QStringLiteral("portLabel"));
    styleAsPopoverTitle(*m_portLabel);
    styleAsFileLines(*m_portServiceName);
    m_portServiceName->setFixedSize(480, 90);
    m_ipforportScrollView->setObjectName(QStringLiteral("ipforportScrollView"));
    configureStatsList(*m_ipforportScrollView, *m_ipForPort);
    // The indicator and the list share one area of a fixed size, so the popover, placed
    // while the list is still being built, keeps its place and size when the list comes.
    auto* listArea = new QWidget(this);
    listArea->setFixedSize(480, 240);
    auto* listLayout = new QVBoxLayout(listArea);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addWidget(m_portProgress, 0, Qt::AlignTop);
    listLayout->addWidget(m_ipforportScrollView, 1);
    m_ipinfobtn->setObjectName(QStringLiteral("showinfoippopover"));
    m_closebtn->setObjectName(QStringLiteral("closebtn"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_ipinfobtn);
    buttons->addStretch(1);
    buttons->addWidget(m_closebtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_portLabel);
    layout->addWidget(m_portServiceName);
    layout->addWidget(listArea, 1);
    layout->addLayout(buttons);
}

} // namespace rovex
