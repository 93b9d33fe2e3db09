#pragma once

#include <filesystem>
#include <string>
#include <string_view>
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

// Runs a real process (found on PATH) to its end; its output goes through files in scratch.
ProcessResult runProcess(const std::vector<std::string>& argv, const std::filesystem::path& scratch);

inline constexpr const char* simExecutable = ROVEX_BINARY_DIR "/tools/sim/rovex-sim";
std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, std::string_view text);
// The archive's text as the real bzip2 tool decompresses it; fails the test when it cannot.
std::string bunzip(const std::filesystem::path& archive, const std::filesystem::path& scratch);

// Lines of text cut at "\n"; a text ending in "\n" gives no empty last line.
std::vector<std::string> linesOf(std::string_view text);
// The viewer's field rule: runs of three, then two spaces become one; split at spaces.
std::vector<std::string> pfFields(std::string_view line);
// Empty when the line has the log layout (at least 15 fields, action 8, direction 9,
// endpoints 12 and 14 that decompose); otherwise what is wrong with it.
std::string layoutProblem(std::string_view line);

} // namespace rovex::simtest
