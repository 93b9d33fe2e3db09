#pragma once

#include <chrono>

namespace rovex {

// The follower's waits, passed in so that a test can shorten or lengthen them.
struct FollowTiming {
    // How often the log is looked at without an event: while it or its folder is missing,
    // while it cannot be read (inotify refuses it), and for an event the kernel lost.
    std::chrono::milliseconds poll{1000};
    // How long a rotated file is drained after it last grew: the firewall may still write
    // to it through the descriptor it holds until it reopens the log.
    std::chrono::milliseconds rotatedQuiet{5000};
    // How long the follower lets the log grow after it hears of a change before it reads:
    // a firewall that writes line by line then wakes the application ten times a
    // second rather than at every line. Zero reads at once.
    std::chrono::milliseconds gather{100};
};

} // namespace rovex
