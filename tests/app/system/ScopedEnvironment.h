#pragma once

#include <QByteArray>
#include <QString>

namespace rovex::test {

// Sets an environment variable (or unsets it, given a null text) for the life of the
// object, then puts the old value back.
class ScopedEnvironment final {
public:
    ScopedEnvironment(const char* name, const QString& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* m_name;
    bool m_wasSet;
    QByteArray m_old;
};

} // namespace rovex::test
