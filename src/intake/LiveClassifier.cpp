#include "intake/LiveClassifier.h"

#include "intake/PfLineGrammar.h"
#include "text/SplitText.h"

namespace rovex {

LiveClassifier::LiveClassifier(TrafficStore& store, const ServiceWatch& watch, NotificationSink notify)
    : m_store(store), m_watch(watch), m_notify(std::move(notify))
{}

void LiveClassifier::parseLog(std::string_view text, TimePoint now)
{
    forEachPiece(text, '\n', [this, now](std::string_view line) { classifyLine(line, now); });
}

LineOutcome LiveClassifier::classifyLine(std::string_view text, TimePoint now) { return classifyRead(read(text), now); }

LineOutcome LiveClassifier::read(std::string_view line) { return readPfLogLine(line, m_line); }

LineOutcome LiveClassifier::classifyRead(LineOutcome outcome, TimePoint now)
{
    if (outcome == LineOutcome::Read && m_line.portInRange)
        outcome = droppedBy(m_line);
    ++m_outcomes[static_cast<std::size_t>(outcome)];
    if (outcome != LineOutcome::Read)
        return outcome;

    const auto kind = kindOf(m_line.action, m_line.direction);
    if (!kind)
        return outcome; // only the dispatch would have looked at it, and it ignores such words
    if (*kind == TrafficKind::BlockIn || *kind == TrafficKind::PassIn) {
        const auto notification = *kind == TrafficKind::BlockIn
            ? m_watch.buildNotifyBlock(m_line.destinationPort, m_line.sourceAddress)
            : m_watch.buildNotify(m_line.destinationPort, m_line.sourceAddress);
        if (notification && m_notify)
            m_notify(*notification);
    }
    const std::string_view address = isInbound(*kind) ? m_line.sourceAddress : m_line.destinationAddress;
    m_store.recordLine(*kind, m_line.destinationPort, address, m_line.portInRange, now);
    return outcome;
}

// The ignore lists, consulted only for lines whose port is in range: port first, then the
// destination address, then the source address.
LineOutcome LiveClassifier::droppedBy(const PfLogLine& line) const
{
    if (!m_store.ignorePort().empty() && m_store.isIgnoredPort(line.destinationPort))
        return LineOutcome::IgnoredPort;
    if (m_store.hasIgnoredAddresses()
        && (m_store.isIgnoredAddress(line.destinationAddress) || m_store.isIgnoredAddress(line.sourceAddress)))
        return LineOutcome::IgnoredAddress;
    return LineOutcome::Read;
}

} // namespace rovex
