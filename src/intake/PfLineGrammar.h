#pragma once

#include "intake/PfLogLine.h"

#include <string_view>

namespace rovex {

// Reads the action, direction and both endpoints of one pf log line (without its "\n").
// Spaces are normalised as the firewall's layout needs: runs of two to four spaces count
// as one separator, five as two (an empty field between). Returns Read, TooFewFields or
// ExcludedSource; endpoints that do not decompose leave all four endpoint values empty.
// The ignore lists are not consulted here.
LineOutcome readPfLogLine(std::string_view line, PfLogLine& out);

} // namespace rovex
