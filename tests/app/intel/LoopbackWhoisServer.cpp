#include "LoopbackWhoisServer.h"

#include <QHostAddress>
#include <QTcpSocket>

#include <stdexcept>

namespace rovex::test {

LoopbackWhoisServer::LoopbackWhoisServer(Answer answer) : m_answer(std::move(answer))
{
    if (!m_listener.listen(QHostAddress::LocalHost))
        throw std::runtime_error("cannot listen on 127.0.0.1");
    connect(&m_listener, &QTcpServer::newConnection, this, [this] { accept(); });
}

// The open sockets are the listener's children and outlive the peer table: silenced first,
// so their last "disconnected" does not reach a table already gone.
LoopbackWhoisServer::~LoopbackWhoisServer()
{
    for (QTcpSocket* socket : m_peers.keys())
        socket->disconnect(this);
}

WhoisServer LoopbackWhoisServer::server() const { return {"127.0.0.1", m_listener.serverPort()}; }

void LoopbackWhoisServer::stopListening() { m_listener.close(); }

void LoopbackWhoisServer::accept()
{
    while (QTcpSocket* socket = m_listener.nextPendingConnection()) {
        ++m_connections;
        m_peers.insert(socket, {});
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { closed(socket); });
        // A peer gone before the socket was handed over left its bytes and its end behind.
        read(socket);
        if (socket->state() != QAbstractSocket::ConnectedState)
            closed(socket);
    }
}

void LoopbackWhoisServer::read(QTcpSocket* socket)
{
    Peer& peer = m_peers[socket];
    peer.received.append(socket->readAll());
    const qsizetype end = peer.received.indexOf('\n');
    if (end < 0 || peer.queried)
        return;
    peer.queried = true;
    const QByteArray query = peer.received.left(end).trimmed();
    m_queries.append(query);
    if (const std::optional<QByteArray> answer = m_answer(query)) {
        socket->write(*answer);
        socket->disconnectFromHost();
    } else {
        peer.held = true;
    }
}

void LoopbackWhoisServer::closed(QTcpSocket* socket)
{
    const auto found = m_peers.find(socket);
    if (found == m_peers.end())
        return;
    if (found->received.isEmpty())
        ++m_silentConnections;
    if (found->held)
        ++m_heldConnectionsClosed;
    m_peers.erase(found);
    socket->deleteLater();
}

} // namespace rovex::test
