#include "app/intel/RXSockController.h"

#include "app/intel/BackgroundWork.h"

#include <QHostAddress>
#include <QList>
#include <QNetworkProxy>
#include <QTcpSocket>
#include <QTimer>

#include <netdb.h>
#include <sys/socket.h>

namespace rovex {
namespace {

// Every address of the host, in the resolver's order; none when it cannot be resolved.
QList<QHostAddress> addressesOf(const std::string& host)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (host.empty() || getaddrinfo(host.c_str(), nullptr, &hints, &list) != 0)
        return {};
    QList<QHostAddress> addresses;
    for (const addrinfo* entry = list; entry != nullptr; entry = entry->ai_next)
        addresses.append(QHostAddress(entry->ai_addr));
    freeaddrinfo(list);
    return addresses;
}

} // namespace

// One probe in flight: the deadline for all of it, the resolved addresses still to try and
// the socket. It also receives the name resolution, so a probe that is given up drops it.
struct RXSockController::Probe final : public QObject {
    Probe(QObject* parent, QString tag) : QObject(parent), caller(std::move(tag))
    {
        deadline.setSingleShot(true);
        // The whois client connects directly, so the probe does too.
        socket.setProxy(QNetworkProxy::NoProxy);
    }
    Q_DISABLE_COPY_MOVE(Probe)

    QString caller;
    QTimer deadline{this};
    QTcpSocket socket{this};
    QList<QHostAddress> untried;
};

RXSockController::RXSockController(WhoisServer server, QObject* parent) : QObject(parent), m_server(std::move(server))
{}

RXSockController::~RXSockController() = default;

void RXSockController::checkWhois(const QString& caller)
{
    retire();
    m_probe = new Probe(this, caller);
    Probe* probe = m_probe;
    connect(&probe->deadline, &QTimer::timeout, this, [this] { finish(false); });
    connect(&probe->socket, &QTcpSocket::connected, this, [this] { finish(true); });
    // The socket may not take a new connection from inside its error signal: next turn.
    connect(&probe->socket, &QTcpSocket::errorOccurred, this, [this, probe] {
        QTimer::singleShot(0, probe, [this, probe] {
            if (probe == m_probe)
                connectNext();
        });
    });
    probe->deadline.start(probeMilliseconds);
    runInBackground<QList<QHostAddress>>(
        probe, [host = m_server.host] { return addressesOf(host); },
        [this, probe](QList<QHostAddress> addresses) {
            if (probe != m_probe)
                return; // given up, and waiting to be deleted
            probe->untried = std::move(addresses);
            connectNext();
        });
}

void RXSockController::connectNext()
{
    if (m_probe->untried.isEmpty()) {
        finish(false);
        return;
    }
    m_probe->socket.abort();
    m_probe->socket.connectToHost(m_probe->untried.takeFirst(), m_server.port);
}

void RXSockController::finish(bool reached)
{
    const QString caller = m_probe->caller;
    retire();
    m_responseString = reached ? QStringLiteral("2") : QStringLiteral("1");
    if (caller == u"SimpleLog")
        Q_EMIT startwhoisquerySimpleLog();
    else if (caller == u"LogParser")
        Q_EMIT startwhoisqueryLogParser();
}

// Closes the socket without a byte written or read and silences the probe; it goes once
// control is back in the event loop, since this may run inside one of its socket's signals.
void RXSockController::retire()
{
    if (m_probe == nullptr)
        return;
    Probe* probe = std::exchange(m_probe, nullptr);
    probe->socket.disconnect(this);
    probe->deadline.disconnect(this);
    probe->socket.abort();
    probe->deleteLater();
}

} // namespace rovex
