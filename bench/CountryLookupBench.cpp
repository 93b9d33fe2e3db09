// Country match and database load over a full-size country database, such as the one
// `rovex-sim nations` converts from Debian's tor-geoipdb (about 560,000 blocks in 253
// files). Point ROVEX_BENCH_NATIONS at that folder.

#include "lookup/CountryDatabase.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace {

std::optional<std::filesystem::path> nationsFolder()
{
    const char* folder = std::getenv("ROVEX_BENCH_NATIONS");
    if (folder == nullptr || *folder == '\0')
        return std::nullopt;
    return std::filesystem::path(folder);
}

std::size_t blockCount(const rovex::CountryDatabase& database)
{
    std::size_t count = 0;
    for (const auto& entry : database.countryBlocks())
        count += entry.second.size();
    return count;
}

// Loaded once for all runs of the lookup benchmark.
const rovex::CountryDatabase& sharedDatabase(const std::filesystem::path& folder)
{
    static const auto database = [&folder] {
        auto loaded = std::make_unique<rovex::CountryDatabase>();
        std::ostream discard(nullptr);
        loaded->load(folder, discard);
        return loaded;
    }();
    return *database;
}

// Addresses as the traffic tables hold them: dotted text, spread over the whole space.
std::vector<std::string> randomAddresses(std::size_t count)
{
    std::mt19937 random(20240601);
    std::uniform_int_distribution<std::uint32_t> any;
    std::vector<std::string> addresses;
    addresses.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t value = any(random);
        addresses.push_back(std::to_string(value >> 24) + '.' + std::to_string(value >> 16 & 0xFF) + '.'
                            + std::to_string(value >> 8 & 0xFF) + '.' + std::to_string(value & 0xFF));
    }
    return addresses;
}

void BM_CountryLookup(benchmark::State& state)
{
    const std::optional<std::filesystem::path> folder = nationsFolder();
    if (!folder) {
        state.SkipWithError("set ROVEX_BENCH_NATIONS");
        return;
    }
    const rovex::CountryDatabase& database = sharedDatabase(*folder);
    if (database.countryBlocks().empty()) {
        state.SkipWithError("ROVEX_BENCH_NATIONS holds no country database");
        return;
    }
    constexpr std::size_t addressCount = std::size_t{1} << 16;
    const std::vector<std::string> addresses = randomAddresses(addressCount);

    std::size_t next = 0;
    std::size_t matched = 0;
    for (auto _ : state) {
        const rovex::CountryMatch match = database.countryOf(addresses[next]);
        if (!match.code.empty())
            ++matched;
        benchmark::DoNotOptimize(match);
        next = (next + 1) & (addressCount - 1);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["blocks"] = benchmark::Counter(static_cast<double>(blockCount(database)),
                                                  benchmark::Counter::kAvgThreads);
    // The share of addresses that got a country.
    state.counters["matched"] = benchmark::Counter(static_cast<double>(matched), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_CountryLookup)->ThreadRange(1, 2);

void BM_CountryDatabaseLoad(benchmark::State& state)
{
    const std::optional<std::filesystem::path> folder = nationsFolder();
    if (!folder) {
        state.SkipWithError("set ROVEX_BENCH_NATIONS");
        return;
    }
    std::size_t blocks = 0;
    for (auto _ : state) {
        rovex::CountryDatabase database;
        std::ostream discard(nullptr);
        database.load(*folder, discard);
        blocks = blockCount(database);
        benchmark::DoNotOptimize(blocks);
    }
    if (blocks == 0)
        state.SkipWithError("ROVEX_BENCH_NATIONS holds no country database");
    state.counters["blocks"] = static_cast<double>(blocks);
}
BENCHMARK(BM_CountryDatabaseLoad)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

} // namespace
