#pragma once

#include "intake/LineAssembler.h"
#include "intake/LiveClassifier.h"

#include <string_view>

namespace rovex {

// The road from read bytes to the tables: lines completed across reads, checked for
// UTF-8 one by one, then classified. One per followed log.
class LogIntake final {
public:
    LogIntake(TrafficStore& store, const ServiceWatch& watch, LiveClassifier::NotificationSink notify);

    // One read of the log, as it came.
    void feed(std::string_view bytes, TimePoint now);
    // The log ended (rotated away, truncated, or a file read whole): a held piece of a
    // line is classified as it stands.
    void endOfFile(TimePoint now);

    const LiveClassifier& classifier() const { return m_classifier; }
    std::uint64_t invalidLines() const { return m_assembler.invalidLines(); }

private:
    LiveClassifier m_classifier;
    LineAssembler m_assembler;
};

} // namespace rovex
