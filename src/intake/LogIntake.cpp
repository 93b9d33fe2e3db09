#include "intake/LogIntake.h"

namespace rovex {

LogIntake::LogIntake(TrafficStore& store, const ServiceWatch& watch, LiveClassifier::NotificationSink notify)
    : m_classifier(store, watch, std::move(notify))
{}

void LogIntake::feed(std::string_view bytes, TimePoint now)
{
    m_assembler.feed(bytes,
                     [this, now](std::string_view line) { m_classifier.classifyLine(m_adapter.adapt(line), now); });
}

void LogIntake::endOfFile(TimePoint now)
{
    m_assembler.endOfFile(
        [this, now](std::string_view line) { m_classifier.classifyLine(m_adapter.adapt(line), now); });
}

} // namespace rovex
