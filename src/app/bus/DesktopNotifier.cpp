#include "app/bus/DesktopNotifier.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

#include <iostream>
#include <utility>

namespace rovex {

namespace {

const QString serverName = QStringLiteral("org.freedesktop.Notifications");
const QString serverPath = QStringLiteral("/org/freedesktop/Notifications");
const QString serverInterface = QStringLiteral("org.freedesktop.Notifications");

QDBusMessage serverCall(const QString& method)
{
    return QDBusMessage::createMethodCall(serverName, serverPath, serverInterface, method);
}

// A server that reads markup in the body would drop or garble an "&" or "<" of an address
// or a service name, so the texts are escaped for it.
QString bodyText(const QString& subtitle, const QString& informativeText, bool markup)
{
    if (markup)
        return subtitle.toHtmlEscaped() + u'\n' + informativeText.toHtmlEscaped();
    return subtitle + u'\n' + informativeText;
}

} // namespace

DesktopNotifier::DesktopNotifier(const QDBusConnection& connection, QObject* parent)
    : DesktopNotifier(connection, defaultInterval, parent)
{}

DesktopNotifier::DesktopNotifier(QDBusConnection connection, std::chrono::milliseconds minimumInterval, QObject* parent)
    : QObject(parent), m_connection(std::move(connection)), m_minimumInterval(minimumInterval)
{
    m_pacer.setSingleShot(true);
    m_pacer.setTimerType(Qt::PreciseTimer);
    connect(&m_pacer, &QTimer::timeout, this, &DesktopNotifier::sendWaiting);
    // Only the server itself may say that our notification was chosen.
    m_connection.connect(serverName, serverPath, serverInterface, QStringLiteral("ActionInvoked"), this,
                         SLOT(actionInvoked(uint, QString)));
}

DesktopNotifier::~DesktopNotifier() = default;

void DesktopNotifier::deliver(const ServiceNotification& notification, const QString& imagePath)
{
    m_waiting = requestOf(notification);
    m_waiting->imagePath = imagePath;
    schedule();
}

void DesktopNotifier::deliver(const ServiceNotification& notification)
{
    m_waiting = requestOf(notification);
    m_waiting->imageName = QString::fromStdString(notification.image);
    schedule();
}

DesktopNotifier::Request DesktopNotifier::requestOf(const ServiceNotification& notification)
{
    return {QString::fromStdString(notification.title), QString::fromStdString(notification.subtitle),
            QString::fromStdString(notification.informativeText), QString(), QString()};
}

// The waiting notification goes out once no call is in flight and the minimum interval
// since the last attempt has passed; until then newer deliveries just replace it.
void DesktopNotifier::schedule()
{
    if (!m_waiting || m_call || m_pacer.isActive())
        return;
    const std::chrono::milliseconds rest = m_lastAttempt.isValid()
        ? m_minimumInterval - std::chrono::milliseconds(m_lastAttempt.elapsed())
        : std::chrono::milliseconds::zero();
    if (rest > std::chrono::milliseconds::zero())
        m_pacer.start(rest);
    else
        sendWaiting();
}

void DesktopNotifier::sendWaiting()
{
    if (!m_waiting || m_call)
        return;
    m_lastAttempt.start();
    if (m_markup == BodyMarkup::Unknown)
        askCapabilities();
    else
        sendNotify(*std::exchange(m_waiting, std::nullopt));
}

void DesktopNotifier::askCapabilities()
{
    startCall(serverCall(QStringLiteral("GetCapabilities")), &DesktopNotifier::capabilitiesAnswered);
}

void DesktopNotifier::sendNotify(const Request& request)
{
    QVariantMap hints{{QStringLiteral("suppress-sound"), true}};
    const QString imagePath = !request.imagePath.isEmpty() || !m_imageFiles || request.imageName.isEmpty()
        ? request.imagePath
        : m_imageFiles(request.imageName);
    if (!imagePath.isEmpty())
        hints.insert(QStringLiteral("image-path"), imagePath);
    QDBusMessage notify = serverCall(QStringLiteral("Notify"));
    notify << QStringLiteral("RovexLogsVisualizer") << m_notificationId << QString() << request.summary
           << bodyText(request.subtitle, request.informativeText, m_markup == BodyMarkup::Markup)
           << QStringList{QStringLiteral("default"), QStringLiteral("Show")} << hints << -1;
    startCall(notify, &DesktopNotifier::notifyAnswered);
}

void DesktopNotifier::startCall(const QDBusMessage& message,
                                void (DesktopNotifier::*answered)(QDBusPendingCallWatcher*))
{
    m_call = std::make_unique<QDBusPendingCallWatcher>(m_connection.asyncCall(message));
    connect(m_call.get(), &QDBusPendingCallWatcher::finished, this, answered);
}

// The watcher is still inside its own signal: it goes with the next turn of the loop.
void DesktopNotifier::finishCall()
{
    QDBusPendingCallWatcher* const done = m_call.release();
    done->setParent(this);
    done->deleteLater();
}

void DesktopNotifier::capabilitiesAnswered(QDBusPendingCallWatcher* call)
{
    finishCall();
    const QDBusPendingReply<QStringList> reply = *call;
    if (reply.isError()) {
        m_actionBeforeReply = 0;
        failed(reply.error());
        m_waiting.reset(); // every delivery so far met the same missing server
        return;
    }
    m_failureLogged = false;
    m_markup = reply.value().contains(QStringLiteral("body-markup")) ? BodyMarkup::Markup : BodyMarkup::Plain;
    if (m_waiting)
        sendNotify(*std::exchange(m_waiting, std::nullopt));
}

void DesktopNotifier::notifyAnswered(QDBusPendingCallWatcher* call)
{
    finishCall();
    const QDBusPendingReply<uint> reply = *call;
    if (reply.isError()) {
        m_actionBeforeReply = 0;
        failed(reply.error());
        schedule(); // what arrived meanwhile is a new delivery
        return;
    }
    m_failureLogged = false;
    m_notificationId = reply.value();
    schedule();
    Q_EMIT delivered(m_notificationId);
    if (std::exchange(m_actionBeforeReply, 0U) == m_notificationId && m_notificationId != 0)
        Q_EMIT activated();
}

// The id and the capabilities may belong to a server that is gone: the next attempt starts
// afresh with whichever server owns the name then.
void DesktopNotifier::failed(const QDBusError& error)
{
    m_notificationId = 0;
    m_markup = BodyMarkup::Unknown;
    if (std::exchange(m_failureLogged, true))
        return;
    std::cout << "desktop notification not shown: " << error.name().toStdString() << ": "
              << error.message().toStdString() << std::endl;
}

// Whichever action was chosen: the notification offers only its default one.
// The server's action may overtake its answer to our Notify call: an id not yet known is
// kept while a call is in flight and matched when the answer comes.
void DesktopNotifier::actionInvoked(uint id, const QString& /*actionKey*/)
{
    if (id != 0 && id == m_notificationId)
        Q_EMIT activated();
    else if (id != 0 && m_call)
        m_actionBeforeReply = id;
}

} // namespace rovex
