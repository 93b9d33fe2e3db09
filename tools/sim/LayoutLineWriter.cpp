#include "sim/LayoutLineWriter.h"

namespace rovex {

namespace {

constexpr std::uint64_t layoutSeedSalt = 0x1A70u;
constexpr std::uint32_t mixedLayouts = 3; // product, pflog, filterlog

} // namespace

LayoutLineWriter::LayoutLineWriter(SimLayout layout, std::uint64_t seed)
    : m_layout(layout), m_random(seed ^ layoutSeedSalt)
{}

void LayoutLineWriter::append(const SimPacket& packet, std::string& out)
{
    SimLayout layout = m_layout;
    if (layout == SimLayout::Mixed)
        layout = static_cast<SimLayout>(m_random.below(mixedLayouts));
    switch (layout) {
    case SimLayout::Pflog: return m_pflog.append(packet, m_random, out);
    case SimLayout::Filterlog: return m_filterlog.append(packet, m_random, out);
    case SimLayout::Product:
    case SimLayout::Mixed: out.append(packet.line); return;
    }
}

} // namespace rovex
