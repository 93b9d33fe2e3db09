#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

namespace rovex {

// One application per user session: the first start owns the session bus name
// rovexid.Visualizer; a second start asks the first to bring its windows forward and ends,
// instead of adding a second tray icon and a second engine beside it.
class SingleInstance final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SingleInstance)

public:
    static constexpr const char* serviceName = "rovexid.Visualizer";
    static constexpr const char* objectPath = "/rovexid/Visualizer";
    static constexpr const char* interfaceName = "rovexid.Visualizer";

    enum class Claim {
        First,          // this process owns the name and answers Activate
        AlreadyRunning, // another process owns it and was asked to come forward
        Unanswered,     // another process owns it and did not answer
        NoBus,          // no session bus: nothing can tell, so this one runs
    };

    explicit SingleInstance(QDBusConnection bus, QObject* parent = nullptr);
    ~SingleInstance() override;

    Claim claim();
    // What went wrong when the claim did not end in First or AlreadyRunning.
    const QString& problem() const { return m_problem; }

public Q_SLOTS:
    // Called on the bus by a second start.
    void Activate(); // NOLINT(readability-identifier-naming): the bus member's name

Q_SIGNALS:
    void activated();

private:
    QDBusConnection m_bus;
    bool m_owner = false;
    QString m_problem;
};

} // namespace rovex
