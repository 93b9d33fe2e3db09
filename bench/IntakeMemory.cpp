// Resident memory of the live store after a long run: feeds N generated lines over A
// distinct remote addresses through the intake and prints the resident set size.
//     intake_memory [LINES] [ADDRESSES]     (default 10000000 1000)
#include "intake/LogIntake.h"
#include "sim/LogLineGenerator.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

namespace {

long statusKilobytes(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(field + ":"))
            return std::strtol(line.c_str() + field.size() + 1, nullptr, 10);
    }
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    const std::size_t lines = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 10'000'000;
    const std::size_t addresses = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1000;
    rovex::TrafficStore store;
    rovex::ServiceWatch watch;
    rovex::LogIntake intake(store, watch, {});
    rovex::LogLineGenerator generator(7, addresses);
    const long beforeKilobytes = statusKilobytes("VmRSS"); // the generator's pool is not the store's

    const auto start = std::chrono::steady_clock::now();
    std::string batch;
    for (std::size_t done = 0; done < lines;) {
        batch.clear();
        for (std::size_t i = 0; i < 100'000 && done < lines; ++i, ++done) {
            generator.appendLine(batch);
            batch.push_back('\n');
        }
        intake.feed(batch, rovex::Clock::now());
        store.takeChanges();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::size_t rows = 0;
    for (const auto category : rovex::allTrafficCategories) {
        rows += store.rowCount(category);
        store.rankedByCount(category); // the views keep every table ranked
    }
    batch = std::string(); // the generator's batch is not the store's memory
    const double storeBytes = static_cast<double>(statusKilobytes("VmRSS") - beforeKilobytes) * 1024.0;
    const auto pairBytes = static_cast<double>(store.occurrenceBytes());
    std::cout << "lines " << lines << ", addresses " << addresses << ", rows " << rows << ", occurrence pairs "
              << store.occurrencePairs() << '\n'
              << "seconds " << seconds << " (generation included)\n"
              << "resident " << statusKilobytes("VmRSS") / 1024 << " MiB, peak " << statusKilobytes("VmHWM") / 1024
              << " MiB, of which the store " << storeBytes / 1048576.0 << " MiB\n"
              << "bytes per row, the occurrence pairs' " << pairBytes / 1048576.0
              << " MiB taken out: " << (storeBytes - pairBytes) / static_cast<double>(rows) << '\n';
}
