#pragma once

#include "intake/LayoutAdapter.h"
#include "intake/LineAssembler.h"
#include "intake/LiveClassifier.h"

#include <string_view>

namespace rovex {

// The road from read bytes to the tables: lines completed across reads, checked for
// UTF-8 one by one, put into the product's layout where another layout is read, then
// classified. One per followed log.
class LogIntake final {
public:
    LogIntake(TrafficStore& store, const ServiceWatch& watch, LiveClassifier::NotificationSink notify);

    // One read of the log, as it came.
    void feed(std::string_view bytes, TimePoint now);
    // The log ended (rotated away, truncated, or a file read whole): a held piece of a
    // line is classified as it stands.
    void endOfFile(TimePoint now);

    // Which log layouts are read: the product's only (the default), or every one known.
    void setLayouts(LayoutSetting setting) { m_adapter.setSetting(setting); }
    const LayoutAdapter& layouts() const { return m_adapter; }

    const LiveClassifier& classifier() const { return m_classifier; }
    std::uint64_t invalidLines() const { return m_assembler.invalidLines(); }

private:
    void classify(std::string_view line, TimePoint now);

    LiveClassifier m_classifier;
    LineAssembler m_assembler;
    LayoutAdapter m_adapter;
};

} // namespace rovex
