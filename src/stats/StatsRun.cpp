#include "stats/StatsRun.h"

#include "stats/ArchiveReading.h"
#include "stats/LiveLogRanges.h"
#include "stats/StatsAggregation.h"
#include "stats/StatsFiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <variant>

namespace rovex {
namespace {

struct ArchiveTask {
    std::size_t number = 0;
};
using Task = std::variant<ByteRange, ArchiveTask>;

// The tasks of one run, taken by the threads in turn; each task counts apart and merges
// its tally when done, so memory holds one tally per thread beside the total.
class RunTasks final {
public:
    RunTasks(const StatsFiles& files, const StatsQuery& query, std::vector<Task> tasks, const StatsRunOptions& options)
        : m_files(files),
          m_query(query),
          m_layouts(options.layouts),
          m_tasks(std::move(tasks)),
          m_total(query, options.layouts),
          m_diagnostics(files.archives.size()),
          m_linesRead(options.linesRead)
    {}

    void work()
    {
        try {
            for (std::size_t next = m_next++; next < m_tasks.size(); next = m_next++)
                std::visit([this](const auto& task) { run(task); }, m_tasks[next]);
        } catch (...) {
            const std::lock_guard lock(m_mutex);
            if (!m_failure)
                m_failure = std::current_exception();
        }
    }

    StatsTally& total()
    {
        if (m_failure)
            std::rethrow_exception(m_failure);
        return m_total;
    }

    std::vector<std::string> diagnostics() const
    {
        std::vector<std::string> lines;
        for (const std::string& line : m_diagnostics) {
            if (!line.empty())
                lines.push_back(line);
        }
        return lines;
    }

private:
    void run(const ByteRange& range)
    {
        StatsTally tally(m_query, m_layouts);
        tally.reportLinesTo(m_linesRead);
        tallyRange(m_files.liveLog.get(), range, tally);
        const std::lock_guard lock(m_mutex);
        m_total.merge(tally);
    }

    void run(const ArchiveTask& task)
    {
        StatsTally tally(m_query, m_layouts);
        tally.reportLinesTo(m_linesRead);
        std::string error = "missing or not a regular file";
        const StatsFiles::Archive& archive = m_files.archives[task.number];
        const bool decoded = archive.file.isOpen()
            && tallyArchive(archive.file.get(), archive.name.coding, tally, error);
        const std::lock_guard lock(m_mutex);
        if (decoded) {
            m_total.merge(tally);
            return;
        }
        m_total.addLine({});
        m_diagnostics[task.number] = archive.name.path.filename().string() + ": " + error + ", read as one empty line";
    }

    const StatsFiles& m_files;
    const StatsQuery& m_query;
    LayoutSetting m_layouts;
    std::vector<Task> m_tasks;
    std::atomic<std::size_t> m_next{0};
    std::mutex m_mutex;
    StatsTally m_total;
    std::vector<std::string> m_diagnostics;
    std::exception_ptr m_failure;
    std::atomic<std::int64_t>* m_linesRead;
};

// The bytes of the live log a run reads: all it holds when the run opens it, or no more
// than a limit (the size an earlier run read, so that reading again sees the same lines).
std::uint64_t liveLogBytes(const StatsFiles& files, const StatsRunOptions& options)
{
    struct stat status {};
    const std::uint64_t size = ::fstat(files.liveLog.get(), &status) == 0 ? static_cast<std::uint64_t>(status.st_size)
                                                                          : 0;
    return options.liveLogByteLimit ? std::min(size, *options.liveLogByteLimit) : size;
}

std::vector<Task> tasksOf(const StatsFiles& files, std::uint64_t size, unsigned threads,
                          std::uint64_t minimumRangeBytes)
{
    std::vector<Task> tasks;
    for (const ByteRange& range : newlineAlignedRanges(files.liveLog.get(), size, threads, minimumRangeBytes))
        tasks.emplace_back(range);
    for (std::size_t number = 0; number < files.archives.size(); ++number)
        tasks.emplace_back(ArchiveTask{number});
    return tasks;
}

} // namespace

StatsResult runStatistics(const LogArchives& log, std::int64_t fileCount, const StatsQuery& query,
                          const StatsRunOptions& options)
{
    const StatsFiles files = StatsFiles::open(log, std::max<std::int64_t>(fileCount, 1));
    if (!files.liveLog.isOpen()) {
        StatsResult missing = missingLogResult();
        missing.fileCount = fileCount;
        return missing;
    }
    const unsigned threads = std::max(options.threads, 1U);
    const std::uint64_t size = liveLogBytes(files, options);
    RunTasks run(files, query, tasksOf(files, size, threads, options.minimumRangeBytes), options);
    std::vector<std::jthread> workers;
    for (unsigned helper = 1; helper < threads; ++helper)
        workers.emplace_back([&run] { run.work(); });
    run.work();
    workers.clear(); // joins
    StatsResult result = aggregate(run.total(), query);
    result.fileCount = fileCount;
    result.liveLogBytes = size;
    result.diagnostics = run.diagnostics();
    if (options.layouts == LayoutSetting::All)
        result.layoutCounts = run.total().layouts().counts();
    return result;
}

} // namespace rovex
