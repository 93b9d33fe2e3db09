#pragma once

#include "intake/PfLogLine.h"
#include "intake/ServiceNotification.h"
#include "intake/ServiceWatch.h"
#include "intake/TrafficStore.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

namespace rovex {

// The live classifier: reads each line of appended log text and records it in the store,
// raising the service watch's notification for inbound lines to watched ports.
class LiveClassifier final {
public:
    using NotificationSink = std::function<void(const ServiceNotification&)>;
    using OutcomeCounts = std::array<std::uint64_t, 5>; // indexed by LineOutcome

    LiveClassifier(TrafficStore& store, const ServiceWatch& watch, NotificationSink notify);

    // Cuts the text at every "\n" and classifies each line, the piece after the last "\n"
    // included. "now" dates the rows that the text creates.
    void parseLog(std::string_view text, TimePoint now);
    LineOutcome classifyLine(std::string_view line, TimePoint now);
    // The same in two steps, for a caller that looks at the reading before it is counted:
    // read() reads the line into lastRead() and counts nothing; classifyRead() counts and
    // records that reading.
    LineOutcome read(std::string_view line);
    const PfLogLine& lastRead() const { return m_line; }
    LineOutcome classifyRead(LineOutcome outcome, TimePoint now);

    const OutcomeCounts& outcomes() const { return m_outcomes; }

private:
    LineOutcome droppedBy(const PfLogLine& line) const;

    TrafficStore& m_store;
    const ServiceWatch& m_watch;
    NotificationSink m_notify;
    PfLogLine m_line; // reused: its buffers keep their capacity from line to line
    OutcomeCounts m_outcomes{};
};

} // namespace rovex
