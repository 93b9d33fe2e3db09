#pragma once

#include "lookup/WhoisServer.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>

namespace rovex {

class CountryDatabase;
class RXSockController;
class WhoisQuery;

// Everything the address popover shows about one address, looked up at once and each
// part delivered as it arrives: the country from the database, the host name by reverse
// DNS off the main thread, and the whois record (probe first, then the client; "none"
// when the probe failed). Only the latest lookup delivers: a result of an older one that
// arrives late is dropped, and a newer lookup ends the older whois client.
//
// The tag says who asks: "SimpleLog" (the simple log and the traffic windows) or
// "LogParser" (the statistics); it picks the probe's start signal and the update signal.
class AddressLookup final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AddressLookup)

public:
    // server: the one the user chose, or nothing (the probe tries defaultWhoisHost and the
    // client picks its registry).
    AddressLookup(const CountryDatabase& countries, const std::optional<WhoisServer>& server, QString tag,
                  QObject* parent = nullptr);
    ~AddressLookup() override;

    // Starts the three lookups for the address and returns at once; emits cleared() and
    // dnsStarted() before it returns, and countryFound() too when the database knows the
    // address.
    void resolveIP(const QString& address);

    const QString& ipAddressforwhois() const { return m_ipAddressforwhois; }
    const QString& tempWhoisString() const { return m_tempWhoisString; }
    const QString& tag() const { return m_tag; }
    RXSockController& sockController() const { return *m_myRXSockController; }
    WhoisQuery& whoisQuery() const { return *m_whoisQuery; }

Q_SIGNALS:
    // A new lookup began: flag, country, host name and whois areas are empty again.
    void cleared(const QString& address);
    void dnsStarted();
    // The host name, or "Hostname not found".
    void hostNameFound(const QString& text);
    // The flag's image name (the lower-case code) and the country name; an empty nation
    // means the name table does not know the code.
    void countryFound(const QString& code, const QString& nation);
    void whoisStarted();
    // tempWhoisString() holds the record: "updatewhoisinfo" for the tag "SimpleLog",
    // "updatewhoisinfoLogParser" for "LogParser".
    void updatewhoisinfo();
    void updatewhoisinfoLogParser();

private:
    void startwhoisquery();
    void whoisAnswered(const QString& address, const QString& text);

    const CountryDatabase& m_countries;
    QString m_tag;
    RXSockController* m_myRXSockController;
    WhoisQuery* m_whoisQuery;
    QString m_ipAddressforwhois;
    QString m_tempWhoisString;
    std::uint64_t m_generation = 0;
};

} // namespace rovex
