#pragma once

#include "lookup/WhoisServer.h"

#include <QObject>
#include <QString>

namespace rovex {

// The whois probe: can the whois server be reached on its port? It connects and closes
// again, writing and reading nothing, within 5 s in all (name resolution included), on the
// event loop. The answer is responseString(): "1" unreachable (also before the first
// probe), "2" reachable; then the start signal of the caller's tag is emitted, once per
// probe. A new probe abandons the one still running, which then signals nothing.
class RXSockController final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RXSockController)

public:
    static constexpr int probeMilliseconds = 5000;

    explicit RXSockController(WhoisServer server, QObject* parent = nullptr);
    ~RXSockController() override;

    // caller: "SimpleLog" or "LogParser"; any other tag probes but signals nothing.
    void checkWhois(const QString& caller);
    const QString& responseString() const { return m_responseString; }
    const WhoisServer& server() const { return m_server; }

Q_SIGNALS:
    void startwhoisquerySimpleLog();
    void startwhoisqueryLogParser();

private:
    struct Probe;
    void connectNext();
    void finish(bool reached);
    void retire();

    WhoisServer m_server;
    QString m_responseString = QStringLiteral("1");
    Probe* m_probe = nullptr; // child; the probe in flight, if any
};

} // namespace rovex
