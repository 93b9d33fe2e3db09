#include "app/intel/VersionCheck.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>

namespace rovex {
namespace {

constexpr qint64 replyLimit = static_cast<qint64>(versionReplyLimit);

// What one request has read so far.
struct Transfer {
    QByteArray bytes;
    bool overLimit = false;
};

// Reads at most one byte past the limit: enough to know the reply is too long, which ends
// the transfer.
void receive(QNetworkReply& reply, Transfer& transfer)
{
    if (transfer.overLimit)
        return;
    transfer.bytes += reply.read(replyLimit + 1 - transfer.bytes.size());
    if (transfer.bytes.size() > replyLimit) {
        transfer.overLimit = true;
        reply.abort();
    }
}

// A server answered and its answer came in whole: its body is the reply, whatever its
// status (an error page is read as text too). A transfer cut off by the network, the
// time-out or a broken protocol has no reply, even when some bytes came.
bool answeredInFull(const QNetworkReply& reply)
{
    const int code = reply.error();
    const bool transportFailed = (code > 0 && code < 200) || (code >= 300 && code < 400);
    return !transportFailed && reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
}

std::optional<QString> replyText(const QNetworkReply& reply, const Transfer& transfer)
{
    if (transfer.overLimit || !answeredInFull(reply))
        return std::nullopt;
    const QByteArray& bytes = transfer.bytes;
    const auto text = decodeVersionReply({bytes.constData(), static_cast<std::size_t>(bytes.size())});
    return text ? std::optional(QString::fromLatin1(*text)) : std::nullopt;
}

QString errorOf(const QNetworkReply& reply, const Transfer& transfer)
{
    if (transfer.overLimit)
        return QStringLiteral("the reply is longer than %1 bytes").arg(replyLimit);
    return reply.error() == QNetworkReply::NoError ? QString() : reply.errorString();
}

QUrl withPath(QUrl server, const QString& path)
{
    server.setPath(path);
    return server;
}

} // namespace

VersionCheck::VersionCheck(QUrl server, QObject* parent)
    : QObject(parent), m_server(std::move(server)), m_network(new QNetworkAccessManager(this))
{
    m_server.setPath(QString());
    m_server.setQuery(QString());
    m_server.setFragment(QString());
}

QUrl VersionCheck::versionUrl() const { return withPath(m_server, QString::fromLatin1(versionPath)); }

QUrl VersionCheck::siteUrl() const { return withPath(m_server, QStringLiteral("/")); }

void VersionCheck::requestVersion(const QUrl& address, Completion completion)
{
    QNetworkRequest request(address);
    request.setTransferTimeout(static_cast<int>(std::clamp<std::int64_t>(m_timeout.count(), 1, INT_MAX)));
    // An empty form, as a browser posts it; without a type Qt warns and picks this one.
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    QNetworkReply* reply = m_network->post(request, QByteArray());
    const auto transfer = std::make_shared<Transfer>();
    connect(reply, &QNetworkReply::readyRead, this, [reply, transfer] { receive(*reply, *transfer); });
    connect(reply, &QNetworkReply::finished, this, [this, reply, transfer, done = std::move(completion)] {
        receive(*reply, *transfer);
        reply->deleteLater();
        deliver(replyText(*reply, *transfer), errorOf(*reply, *transfer), done);
    });
}

void VersionCheck::checkforupdate(std::function<void(VersionVerdict)> done)
{
    requestVersion(versionUrl(), [done = std::move(done)](const std::optional<QString>& reply, const QString&) {
        done(evaluateVersionReply(reply ? std::optional(reply->toStdString()) : std::nullopt));
    });
}

// Handed over on a later turn of the loop, so that a completion may delete this object; a
// call still queued when it goes is dropped with it.
void VersionCheck::deliver(std::optional<QString> reply, QString error, const Completion& completion)
{
    QMetaObject::invokeMethod(
        this, [completion, reply = std::move(reply), error = std::move(error)] { completion(reply, error); },
        Qt::QueuedConnection);
}

} // namespace rovex
