#pragma once

#include "lookup/WhoisServer.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTcpServer>

#include <functional>
#include <optional>

class QTcpSocket;

namespace rovex::test {

// A whois server on 127.0.0.1 inside the test process, served by the test's event loop. It
// reads one query line per connection and answers as the test says (then closes), or holds
// the connection open without an answer. It notes what the peers did.
class LoopbackWhoisServer final : public QObject {
public:
    // The answer to a query (the line without "\r\n"), or nothing to hold the connection.
    using Answer = std::function<std::optional<QByteArray>(const QByteArray& query)>;

    explicit LoopbackWhoisServer(Answer answer);
    ~LoopbackWhoisServer() override;
    Q_DISABLE_COPY_MOVE(LoopbackWhoisServer)

    WhoisServer server() const;
    const QList<QByteArray>& queries() const { return m_queries; }
    // Connections the peer closed without having sent a byte: the probes.
    int silentConnections() const { return m_silentConnections; }
    // Held connections the peer closed: a client that was ended.
    int heldConnectionsClosed() const { return m_heldConnectionsClosed; }
    int connections() const { return m_connections; }
    // New connections are refused from now on; open ones stay.
    void stopListening();

private:
    struct Peer {
        QByteArray received;
        bool queried = false;
        bool held = false;
    };

    void accept();
    void read(QTcpSocket* socket);
    void closed(QTcpSocket* socket);

    QTcpServer m_listener;
    Answer m_answer;
    QHash<QTcpSocket*, Peer> m_peers;
    QList<QByteArray> m_queries;
    int m_connections = 0;
    int m_silentConnections = 0;
    int m_heldConnectionsClosed = 0;
};

} // namespace rovex::test
