#pragma once

#include "lookup/WhoisServer.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

class QProcess;

namespace rovex {

// The whois client (Debian's /usr/bin/whois) run for one address without blocking: both
// its streams in one text, read as ASCII, cleaned as the popover shows it. The address
// goes after "--", so one that begins with "-" is never read as an option; with a server
// chosen, the client asks that one ("-h HOST -p PORT"), else it picks its registry itself.
// A new query ends the one still running, whose text is then never delivered. An address
// that is empty or holds a space or control character is not asked: finished() at once with
// a line that says so. A client that cannot be started delivers a line that says why.
class WhoisQuery final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WhoisQuery)

public:
    explicit WhoisQuery(std::optional<WhoisServer> server, QObject* parent = nullptr);
    ~WhoisQuery() override;

    void start(const QString& address);
    // Ends the running query, if any; its text is never delivered.
    void stop();
    bool isRunning() const;

    // The client's path; tests may point it elsewhere.
    void setProgram(const QString& program) { m_program = program; }

    // The most of the client's output that is read; past it the client is ended and the
    // text says that the rest was not read. A whois record is a few kilobytes.
    static constexpr qsizetype outputLimit = qsizetype{1} << 20;

Q_SIGNALS:
    // The cleaned text of the query for address.
    void finished(const QString& address, const QString& text);

private:
    QStringList arguments(const QString& address) const;
    void drain();
    void deliver(const QString& address, const QString& text);

    std::optional<WhoisServer> m_server;
    QString m_program = QStringLiteral("/usr/bin/whois");
    QProcess* m_process = nullptr; // child; the query running, if any
    QByteArray m_output;
    bool m_outputCut = false;
};

} // namespace rovex
