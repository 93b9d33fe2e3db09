#include "app/desktop/LogStatus.h"

namespace rovex {

QString describe(const LogStatus& status)
{
    const QString path = status.path.isEmpty() ? QStringLiteral("the log") : status.path;
    return (status.following ? QStringLiteral("Following %1") : QStringLiteral("Waiting for %1")).arg(path)
        + QStringLiteral(" · %1 lines read · %2 skipped").arg(status.linesRead).arg(status.linesSkipped);
}

} // namespace rovex
