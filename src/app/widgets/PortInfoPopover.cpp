#include "app/widgets/PortInfoPopover.h"

#include "app/images/MenuTexts.h"
#include "app/intel/PortLookup.h"
#include "app/widgets/PopoverText.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace rovex {

PortInfoPopover::PortInfoPopover(PortLookup& lookup, QWidget* parent)
    : Popover(parent),
      m_portLabel(new QLabel(this)),
      m_portServiceName(new QPlainTextEdit(this)),
      m_portTypeLabel(new QLabel(this))
{
    setObjectName(QStringLiteral("portInfoPopOver"));
    m_portLabel->setObjectName(QStringLiteral("portLabel"));
    m_portServiceName->setObjectName(QStringLiteral("portServiceName"));
    m_portTypeLabel->setObjectName(QStringLiteral("portTypeLabel"));
    styleAsPopoverTitle(*m_portLabel);
    styleAsFileLines(*m_portServiceName);
    m_portServiceName->setMinimumSize(460, 110);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_portLabel);
    layout->addWidget(m_portTypeLabel);
    layout->addWidget(m_portServiceName, 1);
    connect(&lookup, &PortLookup::started, this, &PortInfoPopover::clear);
    connect(&lookup, &PortLookup::found, this, &PortInfoPopover::showAnswer);
}

void PortInfoPopover::clear(const QString& port)
{
    m_portServiceName->clear();
    m_portTypeLabel->clear();
    m_portLabel->setText(port);
}

void PortInfoPopover::showAnswer(const QString& port, const QString& serviceLines, const QString& typeKey)
{
    m_portLabel->setText(port);
    m_portServiceName->setPlainText(serviceLines.isEmpty() ? menuText("nomoreinfo") : serviceLines);
    m_portTypeLabel->setText(menuText(typeKey.toLatin1().constData()));
}

} // namespace rovex
