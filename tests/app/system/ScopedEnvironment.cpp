#include "ScopedEnvironment.h"

#include <QtGlobal>

namespace rovex::test {

ScopedEnvironment::ScopedEnvironment(const char* name, const QString& value)
    : m_name(name), m_wasSet(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
{
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value.toLocal8Bit());
}

ScopedEnvironment::~ScopedEnvironment()
{
    if (m_wasSet)
        qputenv(m_name, m_old);
    else
        qunsetenv(m_name);
}

} // namespace rovex::test
