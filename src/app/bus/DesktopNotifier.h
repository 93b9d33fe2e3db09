#pragma once

#include "intake/ServiceNotification.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class QDBusError;
class QDBusMessage;
class QDBusPendingCallWatcher;

namespace rovex {

// Shows service-watch notifications through org.freedesktop.Notifications: one reused
// notification (the id of the last reply is the next replaces_id), summary = title,
// body = subtitle, a line break, informative text; "image-path" hint when an image path is
// given, "suppress-sound" true, a "default" action. At most one call to the server is in
// flight; asked again meanwhile, only the latest waiting notification is sent when the
// reply comes, and not more often than the minimum interval, so a flood never swamps the
// desktop and the shown notification always ends with the latest fields. A missing
// server or an error reply is not fatal: logged once to standard output, the next
// delivery tries again.
class DesktopNotifier final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DesktopNotifier)

public:
    static constexpr std::chrono::milliseconds defaultInterval{250};

    explicit DesktopNotifier(const QDBusConnection& connection, QObject* parent = nullptr);
    DesktopNotifier(QDBusConnection connection, std::chrono::milliseconds minimumInterval, QObject* parent = nullptr);
    ~DesktopNotifier() override;

    // The file of an image name, asked only when a notification is really sent: a flood
    // of lines then costs no file lookups.
    using ImageFiles = std::function<QString(const QString& imageName)>;
    void setImageFiles(ImageFiles imageFiles) { m_imageFiles = std::move(imageFiles); }

    void deliver(const rovex::ServiceNotification& notification, const QString& imagePath);
    // The notification's image is found through the image files when it is sent.
    void deliver(const rovex::ServiceNotification& notification);
    quint32 notificationId() const { return m_notificationId; }

Q_SIGNALS:
    void delivered(quint32 id); // after each successful Notify reply
    void activated();           // the user chose the notification's action (ActionInvoked for our id)

private Q_SLOTS:
    void actionInvoked(uint id, const QString& actionKey);

private:
    struct Request {
        QString summary;
        QString subtitle;
        QString informativeText;
        QString imagePath;
        QString imageName; // looked up when sent, if no path was given
    };
    enum class BodyMarkup { Unknown, Plain, Markup };

    static Request requestOf(const ServiceNotification& notification);
    void sendWaiting();
    void schedule();
    void askCapabilities();
    void sendNotify(const Request& request);
    void capabilitiesAnswered(QDBusPendingCallWatcher* call);
    void notifyAnswered(QDBusPendingCallWatcher* call);
    void startCall(const QDBusMessage& message, void (DesktopNotifier::*answered)(QDBusPendingCallWatcher*));
    void finishCall();
    void failed(const QDBusError& error);

    QDBusConnection m_connection;
    std::chrono::milliseconds m_minimumInterval;
    QTimer m_pacer;
    QElapsedTimer m_lastAttempt;
    std::unique_ptr<QDBusPendingCallWatcher> m_call;
    std::optional<Request> m_waiting;
    ImageFiles m_imageFiles;
    BodyMarkup m_markup = BodyMarkup::Unknown;
    quint32 m_notificationId = 0;
    quint32 m_actionBeforeReply = 0; // an action for an id the server had not yet answered with
    bool m_failureLogged = false;
};

} // namespace rovex
