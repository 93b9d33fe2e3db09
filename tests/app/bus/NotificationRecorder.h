#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QJsonObject>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QVariantMap>

#include <chrono>
#include <functional>

namespace rovex::test {

// A desktop notification server that answers like a real one and writes down every call
// as one JSON line on standard output.
class NotificationRecorder final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
    Q_DISABLE_COPY_MOVE(NotificationRecorder)

public:
    struct Options {
        std::chrono::milliseconds replyDelay{0};
        int invokeAfter = 0;  // ActionInvoked after the reply to this Notify call; 0: never
        int refuseNotify = 0; // an error reply to this Notify call; 0: never
        bool bodyMarkup = false;
    };

    NotificationRecorder(const QDBusConnection& connection, const Options& options);

    // ActionInvoked "default" for the id of the latest Notify reply, or for an id never given.
    void invokeLatest();
    void invokeUnknown();

    static void print(const QJsonObject& line);

public Q_SLOTS:
    uint Notify(const QString& app_name, uint replaces_id, const QString& app_icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int expire_timeout);
    void CloseNotification(uint id);
    QStringList GetCapabilities();
    QString GetServerInformation(QString& vendor, QString& version, QString& spec_version);

Q_SIGNALS:
    void NotificationClosed(uint id, uint reason);
    void ActionInvoked(uint id, const QString& action_key);

private:
    // Every reply goes out after the configured delay, so that callers can be caught with
    // more than one call in flight; the call is written down when it arrives.
    void answerLater(QJsonObject line, const QDBusMessage& reply, const std::function<void()>& afterReply = {});
    void invoke(uint id);
    uint notificationIdFor(uint replacesId);

    QDBusConnection m_connection;
    Options m_options;
    QSet<uint> m_shown;
    uint m_lastIssued = 0;
    uint m_latest = 0;
    int m_notifyCalls = 0;
    int m_inFlight = 0;
};

} // namespace rovex::test
