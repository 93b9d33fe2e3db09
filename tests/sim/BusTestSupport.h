#pragma once

#include <QDBusMessage>
#include <QList>
#include <QObject>

namespace rovex::simtest {

// Every signal on /rovexid, interface rovexid.Notification, as this test process receives
// it from the session bus.
class SignalCatcher final : public QObject {
    Q_OBJECT

public:
    // Returns once the match rule is in place at the bus.
    SignalCatcher();

    // Runs the event loop until count signals have come, for at most a few seconds.
    const QList<QDBusMessage>& waitFor(qsizetype count);

Q_SIGNALS:
    void received();

private Q_SLOTS:
    void take(const QDBusMessage& message);

private:
    QList<QDBusMessage> m_messages;
};

} // namespace rovex::simtest
