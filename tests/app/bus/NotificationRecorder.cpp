#include "NotificationRecorder.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>

#include <cstdio>

namespace rovex::test {

namespace {

// Hints are written with their values when they are plain; a structure (image-data) is
// written as its D-Bus signature.
QJsonValue hintValue(const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::QString: return value.toString();
    case QMetaType::Bool: return value.toBool();
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double: return value.toDouble();
    default: break;
    }
    if (value.canConvert<QDBusArgument>())
        return QString(QStringLiteral("structure ") + value.value<QDBusArgument>().currentSignature());
    return QString::fromLatin1(value.typeName());
}

QJsonObject hintsObject(const QVariantMap& hints)
{
    QJsonObject object;
    for (auto hint = hints.cbegin(); hint != hints.cend(); ++hint)
        object.insert(hint.key(), hintValue(hint.value()));
    return object;
}

QJsonObject callLine(const QString& method) { return QJsonObject{{QStringLiteral("call"), method}}; }

} // namespace

NotificationRecorder::NotificationRecorder(const QDBusConnection& connection, const Options& options)
    : m_connection(connection), m_options(options)
{}

void NotificationRecorder::print(const QJsonObject& line)
{
    const QByteArray text = QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
    std::fflush(stdout);
}

uint NotificationRecorder::Notify(const QString& app_name, uint replaces_id, const QString& app_icon,
                                  const QString& summary, const QString& body, const QStringList& actions,
                                  const QVariantMap& hints, int expire_timeout)
{
    const int call = ++m_notifyCalls;
    const bool refused = call == m_options.refuseNotify;
    const uint id = refused ? 0 : notificationIdFor(replaces_id);
    QJsonObject line = callLine(QStringLiteral("Notify"));
    line.insert(QStringLiteral("app_name"), app_name);
    line.insert(QStringLiteral("replaces_id"), static_cast<double>(replaces_id));
    line.insert(QStringLiteral("app_icon"), app_icon);
    line.insert(QStringLiteral("summary"), summary);
    line.insert(QStringLiteral("body"), body);
    line.insert(QStringLiteral("actions"), QJsonArray::fromStringList(actions));
    line.insert(QStringLiteral("hints"), hintsObject(hints));
    line.insert(QStringLiteral("timeout"), expire_timeout);
    line.insert(QStringLiteral("id"), static_cast<double>(id));
    if (refused) {
        answerLater(line, message().createErrorReply(QDBusError::Failed, QStringLiteral("refused for the test")));
        return 0;
    }
    answerLater(line, message().createReply(QVariant::fromValue(id)), [this, call, id] {
        m_latest = id;
        if (call == m_options.invokeAfter)
            invoke(id);
    });
    return id;
}

void NotificationRecorder::CloseNotification(uint id)
{
    QJsonObject line = callLine(QStringLiteral("CloseNotification"));
    line.insert(QStringLiteral("id"), static_cast<double>(id));
    answerLater(line, message().createReply());
    if (m_shown.remove(id))
        Q_EMIT NotificationClosed(id, 3); // closed by a call
}

QStringList NotificationRecorder::GetCapabilities()
{
    QStringList capabilities{QStringLiteral("actions"), QStringLiteral("body")};
    if (m_options.bodyMarkup)
        capabilities.append(QStringLiteral("body-markup"));
    answerLater(callLine(QStringLiteral("GetCapabilities")), message().createReply(capabilities));
    return capabilities;
}

QString NotificationRecorder::GetServerInformation(QString& vendor, QString& version, QString& spec_version)
{
    vendor = QStringLiteral("RovexLogsVisualizer tests");
    version = QStringLiteral("1");
    spec_version = QStringLiteral("1.2");
    const QString name = QStringLiteral("notification-recorder");
    answerLater(callLine(QStringLiteral("GetServerInformation")),
                message().createReply(QVariantList{name, vendor, version, spec_version}));
    return name;
}

void NotificationRecorder::answerLater(QJsonObject line, const QDBusMessage& reply,
                                       const std::function<void()>& afterReply)
{
    line.insert(QStringLiteral("in_flight"), ++m_inFlight);
    print(line);
    setDelayedReply(true);
    QTimer::singleShot(m_options.replyDelay, this, [this, reply, afterReply] {
        --m_inFlight;
        m_connection.send(reply);
        if (afterReply)
            afterReply();
    });
}

uint NotificationRecorder::notificationIdFor(uint replacesId)
{
    if (replacesId != 0 && m_shown.contains(replacesId))
        return replacesId;
    m_shown.insert(++m_lastIssued);
    return m_lastIssued;
}

void NotificationRecorder::invokeLatest() { invoke(m_latest); }

void NotificationRecorder::invokeUnknown() { invoke(m_lastIssued + 1000); }

void NotificationRecorder::invoke(uint id)
{
    print(QJsonObject{{QStringLiteral("signal"), QStringLiteral("ActionInvoked")},
                      {QStringLiteral("id"), static_cast<double>(id)},
                      {QStringLiteral("action_key"), QStringLiteral("default")}});
    Q_EMIT ActionInvoked(id, QStringLiteral("default"));
}

} // namespace rovex::test
