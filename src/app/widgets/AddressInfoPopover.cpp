#include "app/widgets/AddressInfoPopover.h"

#include "app/images/Images.h"
#include "app/intel/AddressLookup.h"
#include "app/widgets/BusyIndicator.h"
#include "app/widgets/PopoverText.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>

namespace rovex {

namespace {

QLabel* titleLabel(const char* key, QWidget* parent)
{
    auto* label = new QLabel(menuText(key), parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

} // namespace

AddressInfoPopover::AddressInfoPopover(AddressLookup& lookup, QWidget* parent)
    : Popover(parent),
      m_lookup(lookup),
      m_ipaddr(new QLabel(this)),
      m_ipFlag(new QLabel(this)),
      m_ipNation(new QLabel(this)),
      m_queryProgress(new BusyIndicator(this)),
      m_resolveIPString(new QLabel(this)),
      m_whoisProgress(new BusyIndicator(this)),
      m_whoisString(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("addrinfoPopover"));
    layOut();
    connect(&lookup, &AddressLookup::cleared, this, &AddressInfoPopover::clear);
    connect(&lookup, &AddressLookup::dnsStarted, this, &AddressInfoPopover::startDns);
    connect(&lookup, &AddressLookup::hostNameFound, this, &AddressInfoPopover::showHostName);
    connect(&lookup, &AddressLookup::countryFound, this, &AddressInfoPopover::showCountry);
    connect(&lookup, &AddressLookup::whoisStarted, this, &AddressInfoPopover::startWhois);
    // Each window hears only the record of its own lookups.
    if (lookup.tag() == QStringLiteral("LogParser"))
        connect(&lookup, &AddressLookup::updatewhoisinfoLogParser, this, &AddressInfoPopover::whoisIPupdateGUI);
    else
        connect(&lookup, &AddressLookup::updatewhoisinfo, this, &AddressInfoPopover::whoisIPupdateGUI);
}

void AddressInfoPopover::layOut()
{
    m_ipaddr->setObjectName(QStringLiteral("ipaddr"));
    m_ipFlag->setObjectName(QStringLiteral("ipFlag"));
    m_ipNation->setObjectName(QStringLiteral("ipNation"));
    m_queryProgress->setObjectName(QStringLiteral("queryProgress"));
    m_resolveIPString->setObjectName(QStringLiteral("resolveIPString"));
    m_whoisProgress->setObjectName(QStringLiteral("whoisProgress"));
    m_whoisString->setObjectName(QStringLiteral("whoisString"));
    styleAsPopoverTitle(*m_ipaddr);
    m_ipFlag->setFixedSize(20, 14);
    for (QLabel* label : {m_ipNation, m_resolveIPString})
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_whoisString->setReadOnly(true);
    m_whoisString->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_whoisString->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_whoisString->setMinimumSize(560, 320);
    m_whoisProgress->hide();

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_ipFlag, 0, 0);
    grid->addWidget(m_ipaddr, 0, 1, 1, 2);
    grid->addWidget(titleLabel("popcountry", this), 1, 0, 1, 2);
    grid->addWidget(m_ipNation, 1, 2);
    grid->addWidget(titleLabel("pophostname", this), 2, 0, 1, 2);
    grid->addWidget(m_resolveIPString, 2, 2);
    grid->addWidget(m_queryProgress, 3, 2);
    grid->addWidget(titleLabel("popwhois", this), 4, 0, 1, 2);
    grid->addWidget(m_whoisProgress, 4, 2);
    grid->addWidget(m_whoisString, 5, 0, 1, 3);
    grid->setColumnStretch(2, 1);
}

// A new lookup: nothing of the previous address stays on show.
void AddressInfoPopover::clear(const QString& address)
{
    m_ipFlag->clear();
    m_flagCode.clear();
    m_ipNation->clear();
    m_whoisString->clear();
    m_resolveIPString->clear();
    m_whoisProgress->stopAnimation();
    m_queryProgress->stopAnimation();
    m_ipaddr->setText(address);
}

void AddressInfoPopover::startDns()
{
    m_queryProgress->startAnimation();
    m_resolveIPString->setText(QStringLiteral("Querying DNS..."));
}

void AddressInfoPopover::showHostName(const QString& text)
{
    m_resolveIPString->setText(text);
    m_queryProgress->stopAnimation();
}

// A code the name table does not know shows its flag and leaves the name as it was.
void AddressInfoPopover::showCountry(const QString& code, const QString& nation)
{
    m_flagCode = code;
    m_ipFlag->setPixmap(Images::named(code).pixmap(16, 11));
    if (!nation.isEmpty())
        m_ipNation->setText(nation);
}

void AddressInfoPopover::startWhois()
{
    m_whoisProgress->show();
    m_whoisProgress->startAnimation();
}

void AddressInfoPopover::whoisIPupdateGUI()
{
    m_whoisProgress->hide();
    m_whoisString->clear();
    m_whoisString->setPlainText(m_lookup.tempWhoisString());
}

} // namespace rovex
