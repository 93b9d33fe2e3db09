#pragma once

#include "app/widgets/Popover.h"

class QLabel;
class QPlainTextEdit;

namespace rovex {

class AddressLookup;
class BusyIndicator;

// What is known of one address: its flag and country, its host name and its whois record,
// each area filled as its lookup delivers. It shows the lookups of one AddressLookup.
class AddressInfoPopover final : public Popover {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AddressInfoPopover)

public:
    explicit AddressInfoPopover(AddressLookup& lookup, QWidget* parent = nullptr);

    QLabel& ipaddr() const { return *m_ipaddr; }
    QLabel& ipFlag() const { return *m_ipFlag; }
    QLabel& ipNation() const { return *m_ipNation; }
    BusyIndicator& queryProgress() const { return *m_queryProgress; }
    QLabel& resolveIPString() const { return *m_resolveIPString; }
    BusyIndicator& whoisProgress() const { return *m_whoisProgress; }
    QPlainTextEdit& whoisString() const { return *m_whoisString; }
    // The code of the flag shown; empty when none.
    const QString& flagCode() const { return m_flagCode; }

private:
    void layOut();
    void clear(const QString& address);
    void startDns();
    void showHostName(const QString& text);
    void showCountry(const QString& code, const QString& nation);
    void startWhois();
    void whoisIPupdateGUI();

    AddressLookup& m_lookup;
    QLabel* m_ipaddr;
    QLabel* m_ipFlag;
    QLabel* m_ipNation;
    BusyIndicator* m_queryProgress;
    QLabel* m_resolveIPString;
    BusyIndicator* m_whoisProgress;
    QPlainTextEdit* m_whoisString;
    QString m_flagCode;
};

} // namespace rovex
