#pragma once

#include "intake/TrafficCategory.h"

#include <QString>

namespace rovex {

// The image of a kind of traffic: "blockeddown" (blocked inbound), "blockedup",
// "passeddown", "passedup".
QString actionIconName(TrafficKind kind);

} // namespace rovex
