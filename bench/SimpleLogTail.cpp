// The simple log's on-demand read on a large log: time and extra memory of taking the last
// 10,000 lines of a 1 GB log (budget: under 0.3 s and under 30 MB).
//     simple_log_tail [LOG [MEGABYTES]]
// Without LOG the log is generated in a temporary folder and removed at the end. With LOG
// it is generated there when missing and kept, so that bench/run can time the command on
// the same file (and remove it).
#include "simplelog/SimpleLogTail.h"
#include "sim/LogLineGenerator.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::int64_t linesTaken = 10'000;

// Resident now, and the peak since the last reset of /proc/self/clear_refs, in KiB.
long residentKilobytes()
{
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

long peakResidentKilobytes()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void generateLog(const fs::path& log, std::uint64_t bytes)
{
    rovex::LogLineGenerator generator(42, 5000);
    std::ofstream out(log, std::ios::binary | std::ios::trunc);
    std::string batch;
    for (std::uint64_t written = 0; written < bytes && out;) {
        batch.clear();
        while (batch.size() < (8U << 20)) {
            generator.appendLine(batch);
            batch.push_back('\n');
        }
        out.write(batch.data(), static_cast<std::streamsize>(batch.size()));
        written += batch.size();
    }
    if (!out)
        throw std::runtime_error("cannot write " + log.string());
}

rovex::SimpleLogTail readTail(const fs::path& log, const rovex::ServiceImages& services)
{
    std::string error;
    auto tail = rovex::readSimpleLogTail(log, linesTaken, services, &error);
    if (!tail)
        throw std::runtime_error("cannot read " + log.string() + ": " + error);
    return std::move(*tail);
}

double secondsOf(const fs::path& log, const rovex::ServiceImages& services)
{
    const auto start = std::chrono::steady_clock::now();
    const rovex::SimpleLogTail tail = readTail(log, services);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The log's pages leave the page cache, so the next read comes from the disk.
void dropFromCache(const fs::path& log)
{
    const int fd = ::open(log.c_str(), O_RDONLY | O_CLOEXEC);
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

// Generated in a child process, so that nothing the generator held is left in this
// process's heap to hide what the read itself takes.
void generateApart(const fs::path& log, std::uint64_t bytes)
{
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            generateLog(log, bytes);
        } catch (const std::exception& error) {
            std::cerr << "simple_log_tail: " << error.what() << '\n';
            ::_exit(1);
        }
        ::_exit(0);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("cannot generate " + log.string());
}

std::size_t rowBytes(const rovex::SimpleLogTail& tail)
{
    std::size_t bytes = tail.rows.capacity() * sizeof(rovex::RXSimpleLog);
    for (const rovex::RXSimpleLog& row : tail.rows)
        bytes += row.heapBytes();
    return bytes;
}

void measure(const fs::path& log)
{
    const rovex::ServiceImages services{{"22", "ssh"}, {"80", "http"}, {"443", "http"}};
    std::cout << "log " << log.string() << ": " << fs::file_size(log) / (1U << 20) << " MiB, last " << linesTaken
              << " lines\n";

    // The first read of the process, from the disk: its peak resident growth is what it
    // costs (the peak is reset first).
    dropFromCache(log);
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = residentKilobytes();
    const auto start = std::chrono::steady_clock::now();
    {
        const rovex::SimpleLogTail tail = readTail(log, services);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::cout << "cold cache: " << seconds * 1000 << " ms\n"
                  << "rows " << tail.rows.size() << " (" << rowBytes(tail) / 1024 << " KiB), limiter " << tail.limiter
                  << ", not UTF-8 " << tail.invalidLines << '\n'
                  << "extra memory: peak resident growth " << peakResidentKilobytes() - before << " KiB\n";
    }

    std::vector<double> runs;
    for (int i = 0; i < 9; ++i)
        runs.push_back(secondsOf(log, services));
    std::ranges::sort(runs);
    std::cout << "warm cache: median " << runs[runs.size() / 2] * 1000 << " ms (min " << runs.front() * 1000 << ", max "
              << runs.back() * 1000 << ") over " << runs.size() << " runs\n"
              << "budget: under 300 ms and under 30 MB of extra memory\n";
}

} // namespace

int main(int argc, char** argv)
{
    const bool kept = argc > 1;
    const std::uint64_t megabytes = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1024;
    fs::path folder;
    if (!kept) {
        std::string pattern = (fs::temp_directory_path() / "rovex-tail-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            return 1;
        folder = pattern;
    }
    const fs::path log = kept ? fs::path(argv[1]) : folder / "pffirewall.log";
    int status = 0;
    try {
        if (!fs::exists(log))
            generateApart(log, megabytes << 20);
        measure(log);
    } catch (const std::exception& error) {
        std::cerr << "simple_log_tail: " << error.what() << '\n';
        status = 1;
    }
    if (!kept)
        fs::remove_all(folder);
    return status;
}
