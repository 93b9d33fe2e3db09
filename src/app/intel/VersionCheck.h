#pragma once

#include "version/VersionReply.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>
#include <optional>

class QNetworkAccessManager;

namespace rovex {

// The version check: asks the version server for the current release with a POST of an
// empty body and reads what it answers as ASCII text. The server is scheme, host and port;
// the version text and the product web site are fixed paths on it. A reply longer than
// versionReplyLimit is not read further and counts as none. Completions run on this
// object's thread once control is back in its event loop; a check still running when the
// object goes never calls back (its replies, their connections and a queued completion all
// go with it).
class VersionCheck final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VersionCheck)

public:
    // server: scheme://host:port; any path, query or fragment is dropped.
    explicit VersionCheck(QUrl server, QObject* parent = nullptr);

    const QUrl& server() const { return m_server; }
    QUrl versionUrl() const;
    QUrl siteUrl() const;

    // reply: the text (a server's error page too), nothing when no bytes came, one was not
    // ASCII, the reply was too long or the transfer failed; error: what went wrong, empty
    // when nothing did.
    using Completion = std::function<void(std::optional<QString> reply, QString error)>;
    void requestVersion(const QUrl& address, Completion completion);
    // Asks versionUrl() and hands on the verdict; showing its alert and opening siteUrl()
    // are the caller's.
    void checkforupdate(std::function<void(VersionVerdict)> done);

    // How long a transfer may go without a byte moving before it is given up.
    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }
    static constexpr std::chrono::milliseconds defaultTimeout{20000};

private:
    void deliver(std::optional<QString> reply, QString error, const Completion& completion);

    QUrl m_server;
    std::chrono::milliseconds m_timeout = defaultTimeout;
    QNetworkAccessManager* m_network; // child, and with it every reply still running
};

} // namespace rovex
