#include "app/intel/AddressLookup.h"

#include "app/intel/BackgroundWork.h"
#include "app/intel/RXSockController.h"
#include "app/intel/WhoisQuery.h"
#include "lookup/CountryDatabase.h"
#include "lookup/ReverseDns.h"
#include "lookup/WhoisText.h"

#include <string>

namespace rovex {

AddressLookup::AddressLookup(const CountryDatabase& countries, const std::optional<WhoisServer>& server, QString tag,
                             QObject* parent)
    : QObject(parent),
      m_countries(countries),
      m_tag(std::move(tag)),
      // With no server chosen the probe still needs one to try; the client picks its own.
      m_myRXSockController(new RXSockController(server.value_or(WhoisServer{std::string(defaultWhoisHost)}), this)),
      m_whoisQuery(new WhoisQuery(server, this))
{
    // Only the start signal of this lookup's own tag answers it.
    if (m_tag == u"SimpleLog")
        connect(m_myRXSockController, &RXSockController::startwhoisquerySimpleLog, this,
                &AddressLookup::startwhoisquery);
    else if (m_tag == u"LogParser")
        connect(m_myRXSockController, &RXSockController::startwhoisqueryLogParser, this,
                &AddressLookup::startwhoisquery);
    connect(m_whoisQuery, &WhoisQuery::finished, this, &AddressLookup::whoisAnswered);
}

AddressLookup::~AddressLookup() = default;

void AddressLookup::resolveIP(const QString& address)
{
    // Everything still on its way for the previous address is dropped from here on: its
    // host name by the generation, its probe by starting a new one, its client ended now
    // even if this lookup's probe fails and never starts one.
    const std::uint64_t generation = ++m_generation;
    m_whoisQuery->stop();
    m_tempWhoisString.clear();
    Q_EMIT cleared(address);
    m_ipAddressforwhois = address;

    Q_EMIT dnsStarted();
    runInBackground<std::optional<std::string>>(
        this, [numeric = address.toStdString()] { return reverseLookup(numeric); },
        [this, generation](std::optional<std::string> name) {
            if (generation != m_generation)
                return;
            Q_EMIT hostNameFound(name ? QString::fromStdString(*name) : QString::fromUtf8(hostNameNotFound));
        });

    Q_EMIT whoisStarted();
    m_myRXSockController->checkWhois(m_tag);

    const CountryMatch match = m_countries.countryOf(address.toStdString());
    if (!match.code.empty())
        Q_EMIT countryFound(QString::fromStdString(match.code), QString::fromUtf8(match.nation));
}

void AddressLookup::startwhoisquery()
{
    if (m_myRXSockController->responseString() == u"2")
        m_whoisQuery->start(m_ipAddressforwhois);
    else
        whoisAnswered(m_ipAddressforwhois, QString::fromUtf8(noWhoisText));
}

void AddressLookup::whoisAnswered(const QString& address, const QString& text)
{
    Q_UNUSED(address); // a query of an older lookup was ended before it could answer
    m_tempWhoisString = text;
    if (m_tag == u"SimpleLog")
        Q_EMIT updatewhoisinfo();
    else if (m_tag == u"LogParser")
        Q_EMIT updatewhoisinfoLogParser();
}

} // namespace rovex
