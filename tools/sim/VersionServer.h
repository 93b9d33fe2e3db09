#pragma once

#include <QObject>
#include <QTcpServer>

#include <cstdint>
#include <string>

class QTcpSocket;

namespace rovex {

struct VersionServerOptions {
    std::uint16_t port = 0; // 0: any free port
    std::string reply = "a#14\n";
    bool silent = false; // take connections, never answer: a server that hangs
};

// The product's version server on loopback: the version text at the version path (POST or
// GET), a small page for the product web site at "/", 404 elsewhere. It reads one request
// per connection within bounds, answers it and closes the connection.
class VersionServer final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VersionServer)

public:
    explicit VersionServer(VersionServerOptions options, QObject* parent = nullptr);

    // Listens on 127.0.0.1; throws std::runtime_error when the port cannot be had.
    void listen();
    std::uint16_t port() const { return m_server.serverPort(); }

private:
    void accept();
    void serve(QTcpSocket* socket);

    VersionServerOptions m_options;
    QTcpServer m_server;
};

} // namespace rovex
