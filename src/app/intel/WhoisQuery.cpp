#include "app/intel/WhoisQuery.h"

#include "lookup/WhoisText.h"
#include "text/AsciiText.h"

#include <QProcess>
#include <QStringList>

#include <algorithm>
#include <string_view>

namespace rovex {
namespace {

QString shownText(const QByteArray& output)
{
    const auto bytes = std::string_view(output.constData(), static_cast<std::size_t>(output.size()));
    return QString::fromStdString(cleanWhoisText(asciiText(bytes)));
}

// The client sends the address to the server as one query line: a line break or another
// control character would let the address carry lines of its own.
bool isQueryable(const QString& address)
{
    return !address.isEmpty() && std::none_of(address.begin(), address.end(), [](QChar c) {
        return c.unicode() <= u' ' || c.unicode() == 0x7f || c.category() == QChar::Separator_Line
            || c.category() == QChar::Separator_Paragraph;
    });
}

} // namespace

WhoisQuery::WhoisQuery(std::optional<WhoisServer> server, QObject* parent)
    : QObject(parent), m_server(std::move(server))
{}

// Clients ended but not yet reaped are reaped here: SIGKILL makes that quick, and a
// QProcess destroyed while its child runs would complain.
WhoisQuery::~WhoisQuery()
{
    stop();
    for (QProcess* ending : findChildren<QProcess*>(Qt::FindDirectChildrenOnly))
        ending->waitForFinished(1000);
}

QStringList WhoisQuery::arguments(const QString& address) const
{
    QStringList arguments;
    if (m_server) {
        arguments << QStringLiteral("-h") << QString::fromStdString(m_server->host) << QStringLiteral("-p")
                  << QString::number(m_server->port);
    }
    // After "--" an address that begins with "-" is the query, never an option.
    arguments << QStringLiteral("--") << address;
    return arguments;
}

void WhoisQuery::start(const QString& address)
{
    stop();
    if (!isQueryable(address)) {
        Q_EMIT finished(address,
                        QStringLiteral("Not asked: the address is empty or holds a space or a control character.\n"));
        return;
    }
    m_output.clear();
    m_outputCut = false;
    m_process = new QProcess(this);
    QProcess* process = m_process;
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    connect(process, &QProcess::readyRead, this, [this] { drain(); });
    connect(process, &QProcess::finished, this, [this, address] {
        drain();
        deliver(address, shownText(m_output));
    });
    connect(process, &QProcess::errorOccurred, this, [this, process, address](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            deliver(address,
                    QStringLiteral("The whois client %1 could not be started: %2\n")
                        .arg(m_program, process->errorString()));
        }
    });
    process->start(m_program, arguments(address));
}

// Read as it comes, so that a server that never stops sending costs at most the limit.
void WhoisQuery::drain()
{
    if (m_outputCut)
        return;
    m_output.append(m_process->readAll());
    if (m_output.size() <= outputLimit)
        return;
    m_outputCut = true;
    m_output.truncate(outputLimit);
    m_output.append(QByteArrayLiteral("\n(the rest of the answer was not read)\n"));
    m_process->kill();
}

void WhoisQuery::deliver(const QString& address, const QString& text)
{
    std::exchange(m_process, nullptr)->deleteLater();
    Q_EMIT finished(address, text);
}

void WhoisQuery::stop()
{
    if (m_process == nullptr)
        return;
    QProcess* process = std::exchange(m_process, nullptr);
    process->disconnect(this);
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->kill();
}

bool WhoisQuery::isRunning() const { return m_process != nullptr; }

} // namespace rovex
