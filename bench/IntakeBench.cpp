// Intake throughput: log text to the eight tables on one core, through the same road as
// the live log (line assembly, UTF-8 check, grammar, store, watch).
#include "intake/LogIntake.h"
#include "sim/LogLineGenerator.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

std::string generatedLog(std::size_t lines, std::size_t addresses)
{
    rovex::LogLineGenerator generator(42, addresses);
    std::string text;
    for (std::size_t i = 0; i < lines; ++i) {
        generator.appendLine(text);
        text.push_back('\n');
    }
    return text;
}

void BM_IntakeLines(benchmark::State& state)
{
    const auto addresses = static_cast<std::size_t>(state.range(0));
    // Enough lines that a million-address pool fills the tables with most of its addresses.
    const std::size_t lines = std::max<std::size_t>(200'000, 2 * addresses);
    const std::string log = generatedLog(lines, addresses);
    rovex::ServiceWatch watch;
    watch.load({{std::string("HTTPS"), std::string("443"), std::string("https")}},
               {{std::string("SSH"), std::string("22"), std::string("ssh")}});
    std::size_t notifications = 0;
    constexpr std::size_t readSize = 1 << 20; // what the follower hands over at most per read
    // Each round starts from empty tables, so that every round measures the same work: the
    // tables filling up as the log is read, whatever the number of rounds.
    for (auto _ : state) {
        state.PauseTiming();
        auto store = std::make_unique<rovex::TrafficStore>();
        rovex::LogIntake intake(*store, watch,
                                [&notifications](const rovex::ServiceNotification&) { ++notifications; });
        state.ResumeTiming();
        const auto now = rovex::Clock::now();
        for (std::size_t at = 0; at < log.size(); at += readSize)
            intake.feed(std::string_view(log).substr(at, readSize), now);
        benchmark::DoNotOptimize(store->takeChanges());
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(log.size()));
    state.counters["notifications"] = static_cast<double>(notifications);
}
BENCHMARK(BM_IntakeLines)->Arg(1000)->Arg(5000)->Arg(50000)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
