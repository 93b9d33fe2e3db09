#include "app/desktop/ActionIcons.h"

namespace rovex {

QString actionIconName(TrafficKind kind)
{
    switch (kind) {
    case TrafficKind::BlockIn: return QStringLiteral("blockeddown");
    case TrafficKind::BlockOut: return QStringLiteral("blockedup");
    case TrafficKind::PassIn: return QStringLiteral("passeddown");
    case TrafficKind::PassOut: return QStringLiteral("passedup");
    }
    return {};
}

} // namespace rovex
