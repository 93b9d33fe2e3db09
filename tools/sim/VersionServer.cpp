#include "sim/VersionServer.h"

#include "sim/HttpRequestReader.h"
#include "version/VersionReply.h"

#include <QHostAddress>
#include <QTcpSocket>

#include <memory>
#include <stdexcept>
#include <string_view>

namespace rovex {
namespace {

constexpr std::string_view sitePage
    = "<!DOCTYPE html>\n<html><head><title>Rovex</title></head><body><h1>Rovex</h1></body></html>\n";

// An error page as web servers write them, with a link to an anchor: a "#" that is no
// version text.
constexpr std::string_view notFoundPage = "<!DOCTYPE html>\n<html><head><title>Not Found</title></head>"
                                          "<body><h1 id=\"top\">Not Found</h1><a href=\"#top\">top</a></body></html>\n";

// Bytes taken from a socket at a time, so that a reader sees a bounded piece.
constexpr qint64 readPiece = 4096;

QByteArray answer(std::string_view status, std::string_view type, std::string_view body)
{
    std::string text = "HTTP/1.1 " + std::string(status) + "\r\nContent-Type: " + std::string(type)
        + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
    text.append(body);
    return QByteArray::fromStdString(text);
}

QByteArray answerTo(HttpRequestReader::State state, const HttpRequest& request, std::string_view reply)
{
    if (state == HttpRequestReader::State::malformed)
        return answer("400 Bad Request", "text/plain", "bad request\n");
    if (state == HttpRequestReader::State::tooLarge)
        return answer("413 Content Too Large", "text/plain", "request too large\n");
    const bool get = request.method == "GET";
    if (!get && request.method != "POST")
        return answer("405 Method Not Allowed", "text/plain", "only GET and POST\n");
    if (request.path == versionPath)
        return answer("200 OK", "text/plain", reply);
    if (request.path == "/" && get)
        return answer("200 OK", "text/html; charset=utf-8", sitePage);
    return answer("404 Not Found", "text/html; charset=utf-8", notFoundPage);
}

} // namespace

VersionServer::VersionServer(VersionServerOptions options, QObject* parent)
    : QObject(parent), m_options(std::move(options))
{
    connect(&m_server, &QTcpServer::newConnection, this, &VersionServer::accept);
}

void VersionServer::listen()
{
    if (!m_server.listen(QHostAddress::LocalHost, m_options.port))
        throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(m_options.port) + ": "
                                 + m_server.errorString().toStdString());
}

void VersionServer::accept()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        if (m_options.silent) // read and drop, so that the peer's sending never blocks
            connect(socket, &QTcpSocket::readyRead, socket, [socket] { socket->readAll(); });
        else
            serve(socket);
    }
}

void VersionServer::serve(QTcpSocket* socket)
{
    struct Exchange {
        HttpRequestReader reader;
        bool answered = false;
    };
    const auto exchange = std::make_shared<Exchange>();
    connect(socket, &QTcpSocket::readyRead, socket, [this, socket, exchange] {
        if (exchange->answered) {
            socket->readAll(); // what comes after the request is dropped
            return;
        }
        HttpRequestReader& reader = exchange->reader;
        while (reader.state() == HttpRequestReader::State::reading && socket->bytesAvailable() > 0)
            reader.feed(socket->read(readPiece).toStdString());
        if (reader.state() == HttpRequestReader::State::reading)
            return;
        exchange->answered = true;
        socket->write(answerTo(reader.state(), reader.request(), m_options.reply));
        socket->disconnectFromHost();
    });
}

} // namespace rovex
