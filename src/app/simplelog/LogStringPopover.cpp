#include "app/simplelog/LogStringPopover.h"

#include <QFontDatabase>
#include <QLabel>
#include <QVBoxLayout>

namespace rovex {

LogStringPopover::LogStringPopover(QWidget* parent) : Popover(parent), m_infoLabel(new QLabel(this))
{
    setObjectName(QStringLiteral("logStringPopover"));
    m_infoLabel->setObjectName(QStringLiteral("infoLabel"));
    m_infoLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_infoLabel->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_infoLabel->setWordWrap(true);
    m_infoLabel->setMinimumWidth(480);
    m_infoLabel->setMaximumWidth(760);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_infoLabel);
}

} // namespace rovex
