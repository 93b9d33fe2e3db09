#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace rovex::simtest {

// A private root folder for one test, removed with everything in it afterwards.
class TempRoot final {
public:
    TempRoot();
    ~TempRoot();
    TempRoot(const TempRoot&) = delete;
    TempRoot& operator=(const TempRoot&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

struct ProcessResult {
    int exitCode = -1; // -1 when the process did not exit normally
    std::string out;
    std::string err;
};

// A real child process (found on PATH) whose output goes to files in a scratch folder.
class ChildProcess final {
public:
    ChildProcess(const std::vector<std::string>& argv, const std::filesystem::path& scratch);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    void signal(int number) const;
    ProcessResult wait();

private:
    pid_t m_pid = -1;
    std::filesystem::path m_outFile;
    std::filesystem::path m_errFile;
};

ProcessResult runProcess(const std::vector<std::string>& argv, const std::filesystem::path& scratch);

std::string simExecutable();
std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, std::string_view text);
// The archive's text as the real bzip2 tool decompresses it; fails the test when it cannot.
std::string bunzip(const std::filesystem::path& archive, const std::filesystem::path& scratch);

// Lines of text cut at "\n"; a text ending in "\n" gives no empty last line.
std::vector<std::string> linesOf(std::string_view text);
// The viewer's field rule: runs of three, then two spaces become one; split at spaces.
std::vector<std::string> pfFields(std::string_view line);
// Empty when the line has the log layout (action 8, direction 9, endpoints 12 and 14);
// otherwise what is wrong with it.
std::string layoutProblem(std::string_view line);

} // namespace rovex::simtest
