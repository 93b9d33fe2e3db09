#include "app/simplelog/SimpleLogDetailPopover.h"

#include "app/images/Images.h"
#include "app/images/QtText.h"
#include "simplelog/RXSimpleLog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace rovex {

namespace {

// The image of an action as the popover names it: "pass in" and so on.
QString actionImageOf(const QString& azione)
{
    if (azione == QStringLiteral("pass in"))
        return QStringLiteral("passeddown");
    if (azione == QStringLiteral("pass out"))
        return QStringLiteral("passedup");
    if (azione == QStringLiteral("block in"))
        return QStringLiteral("blockeddown");
    if (azione == QStringLiteral("block out"))
        return QStringLiteral("blockedup");
    return {};
}

// An empty name clears the image.
void setImage(QLabel& label, const QString& name) { label.setPixmap(Images::named(name).pixmap(16, 16)); }

} // namespace

SimpleLogDetailPopover::SimpleLogDetailPopover(QWidget* parent)
    : Popover(parent), m_sourceInfo(new QToolButton(this)), m_targetInfo(new QToolButton(this))
{
    setObjectName(QStringLiteral("popOverSL"));
    layOut();
    connect(m_sourceInfo, &QToolButton::clicked, this, [this] { Q_EMIT sourceInfoRequested(m_sourceInfo); });
    connect(m_targetInfo, &QToolButton::clicked, this, [this] { Q_EMIT targetInfoRequested(m_targetInfo); });
}

QLabel* SimpleLogDetailPopover::addField(const char* name)
{
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

void SimpleLogDetailPopover::layOut()
{
    auto* grid = new QGridLayout(this);
    const auto caption = [this](const char* key) { return new QLabel(menuText(key), this); };
    m_sourceInfo->setObjectName(QStringLiteral("sourceInfo"));
    m_targetInfo->setObjectName(QStringLiteral("targetInfo"));
    for (QToolButton* button : {m_sourceInfo, m_targetInfo}) {
        button->setIcon(Images::named(QStringLiteral("iconaAddress")));
        button->setToolTip(menuText("btnaddressinfo"));
        button->setAutoRaise(true);
    }
    auto* iconaAzione = addField("iconaAzione");
    grid->addWidget(iconaAzione, 0, 0);
    grid->addWidget(addField("azione"), 0, 1);
    grid->addWidget(addField("interfaccia"), 0, 2);
    grid->addWidget(caption("detdate"), 1, 0);
    auto* date = new QHBoxLayout;
    for (const char* name : {"mese", "giorno", "orario"})
        date->addWidget(addField(name));
    date->addStretch(1);
    grid->addLayout(date, 1, 1, 1, 3);
    grid->addWidget(caption("detsource"), 2, 0);
    grid->addWidget(addField("ipSorgente"), 2, 1);
    grid->addWidget(m_sourceInfo, 2, 2);
    grid->addWidget(addField("immagineSorgente"), 2, 3);
    grid->addWidget(addField("portaSorgente"), 2, 4);
    grid->addWidget(caption("detdestination"), 3, 0);
    grid->addWidget(addField("ipDestinazione"), 3, 1);
    grid->addWidget(m_targetInfo, 3, 2);
    grid->addWidget(addField("immagineDestinazione"), 3, 3);
    grid->addWidget(addField("portaDestinazione"), 3, 4);
    QLabel* line = addField("stringaLog");
    line->setWordWrap(true);
    line->setMinimumWidth(520);
    grid->addWidget(line, 4, 0, 1, 5);
    grid->setColumnStretch(1, 1);
}

QLabel& SimpleLogDetailPopover::field(const char* name) const
{
    return *findChild<QLabel*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

void SimpleLogDetailPopover::showRow(const RXSimpleLog& row)
{
    field("ipSorgente").setText(textOf(row.logFirstAddress()));
    field("ipDestinazione").setText(textOf(row.logSecondAddress()));
    field("stringaLog").setText(textOf(row.logString()));
    field("giorno").setText(textOf(row.logDay()));
    field("mese").setText(textOf(row.logMonth()));
    field("orario").setText(textOf(row.logTime()));
    field("azione").setText(textOf(row.logAction()) + u' ' + textOf(row.logDirection()));
    field("interfaccia").setText(textOf(row.logInterface()));
    field("portaSorgente").setText(textOf(row.logFirstPort()));
    field("portaDestinazione").setText(textOf(row.logSecondPort()));
    setImage(field("immagineSorgente"), textOf(row.logFirstPortImage()));
    setImage(field("immagineDestinazione"), textOf(row.logSecondPortImage()));
    // Each row shows its own action: another action word shows none rather than the
    // previous row's.
    m_actionImage = actionImageOf(field("azione").text());
    setImage(field("iconaAzione"), m_actionImage);
}

} // namespace rovex
