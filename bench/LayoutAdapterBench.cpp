// Lines a second through the layout adapter on one core: the adapter alone, and the adapter
// on the intake's road (line assembly and UTF-8 check, adapter, classifier into the tables),
// for product lines with each setting and for pflog and filterlog lines with All.
#include "intake/LogIntake.h"
#include "intake/PfLineGrammar.h"
#include "intake/LayoutAdapter.h"
#include "sim/LayoutLineWriter.h"
#include "sim/LogLineGenerator.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr std::size_t lineCount = 100'000;

std::vector<std::string> generatedLines()
{
    rovex::LogLineGenerator generator(42, 5000);
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < lineCount; ++i)
        lines.push_back(generator.next());
    return lines;
}

// The simulator's lines that the product's reading keeps. Its lines without ports (ICMP,
// IGMP) are skipped by that reading and so adapted as pflog text under All: real work,
// not the cost of passing product lines, so they are left out here.
std::vector<std::string> productLines()
{
    std::vector<std::string> lines = generatedLines();
    rovex::PfLogLine read;
    std::erase_if(lines, [&read](const std::string& line) {
        const rovex::LineOutcome outcome = rovex::readPfLogLine(line, read);
        return outcome == rovex::LineOutcome::TooFewFields
            || (outcome == rovex::LineOutcome::Read && read.sourceAddress.data() == nullptr);
    });
    return lines;
}

// The same packets as the simulator writes them in another layout, behind its varied
// envelopes: pflog text, or pfSense's and OPNsense's filterlog CSV.
std::vector<std::string> layoutLines(rovex::SimLayout layout)
{
    rovex::LogLineGenerator generator(42, 5000);
    rovex::LayoutLineWriter writer(layout, 42);
    std::vector<std::string> lines;
    std::string product;
    rovex::SimPacket packet;
    for (std::size_t i = 0; i < lineCount; ++i) {
        product.clear();
        generator.appendLine(product, packet);
        writer.append(packet, lines.emplace_back());
    }
    return lines;
}

// The lines as the intake meets them: one after the other in one block of log text.
class LogText {
public:
    explicit LogText(const std::vector<std::string>& lines)
    {
        for (const std::string& line : lines)
            m_text.append(line).push_back('\n');
        for (std::size_t at = 0; at < m_text.size();) {
            const std::size_t end = m_text.find('\n', at);
            m_lines.emplace_back(m_text.data() + at, end - at);
            at = end + 1;
        }
    }
    const std::vector<std::string_view>& lines() const { return m_lines; }
    std::string_view text() const { return m_text; }

private:
    std::string m_text;
    std::vector<std::string_view> m_lines;
};

const LogText& logOf(int layout)
{
    static const LogText product(productLines());
    static const LogText pflog(layoutLines(rovex::SimLayout::Pflog));
    static const LogText filterlog(layoutLines(rovex::SimLayout::Filterlog));
    return layout == 0 ? product : layout == 1 ? pflog : filterlog;
}

const std::vector<std::string_view>& linesOf(int layout) { return logOf(layout).lines(); }

void setLabel(benchmark::State& state, rovex::LayoutSetting setting)
{
    static const char* const layouts[] = {"product lines", "pflog lines", "filterlog lines"};
    state.SetLabel(std::string(layouts[state.range(0)])
                   + (setting == rovex::LayoutSetting::All ? ", all" : ", product"));
}

void adaptOnly(benchmark::State& state, rovex::LayoutSetting setting)
{
    const std::vector<std::string_view>& lines = linesOf(static_cast<int>(state.range(0)));
    rovex::LayoutAdapter adapter(setting);
    for (auto _ : state) {
        for (const std::string_view line : lines)
            benchmark::DoNotOptimize(adapter.adapt(line));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
    setLabel(state, setting);
}

// The intake's road, as the follower feeds it: read buffers cut into lines and checked for
// UTF-8 by the line assembler, then adapted, then classified into the tables.
void adaptAndClassify(benchmark::State& state, rovex::LayoutSetting setting)
{
    const LogText& log = logOf(static_cast<int>(state.range(0)));
    rovex::TrafficStore store;
    rovex::ServiceWatch watch;
    rovex::LogIntake intake(store, watch, [](const rovex::ServiceNotification&) {});
    intake.setLayouts(setting);
    constexpr std::size_t readSize = 256 << 10; // what the follower hands over at most per read
    for (auto _ : state) {
        const auto now = rovex::Clock::now();
        for (std::size_t at = 0; at < log.text().size(); at += readSize)
            intake.feed(log.text().substr(at, readSize), now);
        benchmark::DoNotOptimize(store.takeChanges());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(log.lines().size()));
    setLabel(state, setting);
}

void BM_AdaptProductSetting(benchmark::State& state) { adaptOnly(state, rovex::LayoutSetting::Product); }
void BM_AdaptAllSetting(benchmark::State& state) { adaptOnly(state, rovex::LayoutSetting::All); }
void BM_AdaptAndClassifyProductSetting(benchmark::State& state)
{
    adaptAndClassify(state, rovex::LayoutSetting::Product);
}
void BM_AdaptAndClassifyAllSetting(benchmark::State& state) { adaptAndClassify(state, rovex::LayoutSetting::All); }

BENCHMARK(BM_AdaptProductSetting)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AdaptAllSetting)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AdaptAndClassifyProductSetting)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AdaptAndClassifyAllSetting)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace
