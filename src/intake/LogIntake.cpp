#include "intake/LogIntake.h"

#include "intake/ProductLayoutCheck.h"

namespace rovex {

LogIntake::LogIntake(TrafficStore& store, const ServiceWatch& watch, LiveClassifier::NotificationSink notify)
    : m_classifier(store, watch, std::move(notify))
{}

void LogIntake::feed(std::string_view bytes, TimePoint now)
{
    m_assembler.feed(bytes, [this, now](std::string_view line) { classify(line, now); });
}

void LogIntake::endOfFile(TimePoint now)
{
    m_assembler.endOfFile([this, now](std::string_view line) { classify(line, now); });
}

// With every layout read, the classifier's own reading decides whether a line is the
// product's: a product line is read once, as with the product's layout alone.
void LogIntake::classify(std::string_view line, TimePoint now)
{
    if (m_adapter.setting() == LayoutSetting::Product) {
        m_classifier.classifyLine(line, now);
        return;
    }
    // Too few spaces for the product's fields (filterlog's CSV): not worth a reading.
    if (ProductLayoutCheck::hasTooFewSpaces(line)) {
        m_classifier.classifyLine(m_adapter.adaptRead(line, false), now);
        return;
    }
    const LineOutcome outcome = m_classifier.read(line);
    const bool kept = LayoutAdapter::keepsProductReading(outcome, m_classifier.lastRead());
    const std::string_view adapted = m_adapter.adaptRead(line, kept);
    if (kept)
        m_classifier.classifyRead(outcome, now);
    else
        m_classifier.classifyLine(adapted, now);
}

} // namespace rovex
