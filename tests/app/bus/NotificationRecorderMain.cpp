// notification-recorder: a desktop notification server for tests. It owns
// org.freedesktop.Notifications on the session bus (DBUS_SESSION_BUS_ADDRESS), answers
// Notify, CloseNotification, GetCapabilities and GetServerInformation, and writes one
// compact JSON line per event on standard output, flushed at once:
//
//   {"event":"ready","pid":N}                        first, once the name is owned
//   {"call":"Notify","app_name":…,"replaces_id":N,"app_icon":…,"summary":…,"body":…,
//    "actions":[…],"hints":{…},"timeout":N,"id":N,"in_flight":N}
//   {"call":"CloseNotification","id":N,"in_flight":N}
//   {"call":"GetCapabilities","in_flight":N}   {"call":"GetServerInformation","in_flight":N}
//   {"signal":"ActionInvoked","id":N,"action_key":"default"}   just before it is emitted
//
// A call is written when it arrives; "in_flight" counts the calls not yet answered, this
// one included. "id" is what Notify returns: replaces_id when it is non-zero and was given
// out before, else a fresh id (1, 2, ...). Hints are written with their values when plain
// (image-path, suppress-sound, urgency...), a structure as "structure SIGNATURE".
//
// Options:
//   --reply-delay-ms N   answer every call N milliseconds after it arrives (default 0)
//   --invoke-after N     emit ActionInvoked for the id returned by the N-th Notify, right
//                        after that reply
//   --refuse-notify N    answer the N-th Notify with the error org.freedesktop.DBus.Error.Failed
//                        (its line then has "id":0)
//   --body-markup        list "body-markup" among the capabilities ("actions", "body")
// Signals:
//   SIGUSR1              emit ActionInvoked for the id of the latest Notify reply
//   SIGUSR2              emit ActionInvoked for an id that was never given out
//   SIGTERM, SIGINT      end
// Exit status 2 for bad options, 1 when there is no session bus or the name is taken.

#include "NotificationRecorder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <optional>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

using rovex::test::NotificationRecorder;

std::optional<NotificationRecorder::Options> readOptions(const QCoreApplication& app)
{
    QCommandLineParser parser;
    const QCommandLineOption delay(QStringLiteral("reply-delay-ms"), QStringLiteral("Answer calls late."),
                                   QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption invokeAfter(QStringLiteral("invoke-after"),
                                         QStringLiteral("ActionInvoked after the N-th Notify."), QStringLiteral("N"),
                                         QStringLiteral("0"));
    const QCommandLineOption refuse(QStringLiteral("refuse-notify"), QStringLiteral("Error reply to the N-th Notify."),
                                    QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption markup(QStringLiteral("body-markup"), QStringLiteral("Claim body markup."));
    parser.addOptions({delay, invokeAfter, refuse, markup});
    parser.process(app);
    bool delayRead = false;
    bool invokeRead = false;
    bool refuseRead = false;
    NotificationRecorder::Options options;
    options.replyDelay = std::chrono::milliseconds(parser.value(delay).toUInt(&delayRead));
    options.invokeAfter = static_cast<int>(parser.value(invokeAfter).toUInt(&invokeRead));
    options.refuseNotify = static_cast<int>(parser.value(refuse).toUInt(&refuseRead));
    options.bodyMarkup = parser.isSet(markup);
    if (!delayRead || !invokeRead || !refuseRead)
        return std::nullopt;
    return options;
}

// SIGUSR1 and SIGUSR2 are read from a descriptor on the event loop, so the recorder acts
// on them between calls, never inside one. Blocked before any thread starts.
int blockedSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGUSR1);
    sigaddset(&set, SIGUSR2);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    return signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
}

void readSignals(int descriptor, NotificationRecorder& recorder)
{
    signalfd_siginfo info{};
    while (read(descriptor, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        if (info.ssi_signo == SIGUSR1)
            recorder.invokeLatest();
        else
            recorder.invokeUnknown();
    }
}

} // namespace

int main(int argc, char** argv)
{
    const int signalDescriptor = blockedSignals();
    const QCoreApplication app(argc, argv);
    const std::optional<NotificationRecorder::Options> options = readOptions(app);
    if (!options) {
        std::fputs("notification-recorder: --reply-delay-ms, --invoke-after and --refuse-notify take a count\n",
                   stderr);
        return 2;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    NotificationRecorder recorder(bus, *options);
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &recorder,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals)
        || !bus.registerService(QStringLiteral("org.freedesktop.Notifications"))) {
        std::fprintf(stderr, "notification-recorder: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    QSocketNotifier signalNotifier(signalDescriptor, QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &recorder,
                     [signalDescriptor, &recorder] { readSignals(signalDescriptor, recorder); });
    NotificationRecorder::print(QJsonObject{{QStringLiteral("event"), QStringLiteral("ready")},
                                            {QStringLiteral("pid"), static_cast<double>(getpid())}});
    return QCoreApplication::exec();
}
