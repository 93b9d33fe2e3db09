#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <sys/types.h>

namespace rovex::test {

// A real program (found on PATH) running beside the test, its standard output and error
// going into files. Killed and reaped on destruction if it still runs.
class SpawnedProcess final {
public:
    // Throws std::runtime_error when the program cannot be started.
    SpawnedProcess(const std::vector<std::string>& argv, const std::filesystem::path& out,
                   const std::filesystem::path& err);
    ~SpawnedProcess();
    SpawnedProcess(const SpawnedProcess&) = delete;
    SpawnedProcess& operator=(const SpawnedProcess&) = delete;

    pid_t pid() const { return m_pid; }
    // Waits for its end: the exit code, -1 when it did not exit normally.
    int wait();
    // Sends the signal, then waits as wait() does.
    int stop(int signal);

private:
    pid_t m_pid = -1;
};

} // namespace rovex::test
