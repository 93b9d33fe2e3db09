#include "SimTestSupport.h"

#include "text/SplitText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

extern char** environ;

namespace rovex::simtest {

namespace fs = std::filesystem;

TempRoot::TempRoot()
{
    std::string pattern = (fs::temp_directory_path() / "rovex-sim-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TempRoot::~TempRoot()
{
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const fs::path& scratch)
    : m_outFile(scratch / "child.out")
    , m_errFile(scratch / "child.err")
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, m_outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, m_errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const int failed = posix_spawnp(&m_pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0)
        throw std::runtime_error("cannot start " + argv.front());
}

ChildProcess::~ChildProcess()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
}

void ChildProcess::signal(int number) const
{
    ::kill(m_pid, number);
}

ProcessResult ChildProcess::wait()
{
    int status = 0;
    while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
    ProcessResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readFile(m_outFile);
    result.err = readFile(m_errFile);
    return result;
}

ProcessResult runProcess(const std::vector<std::string>& argv, const fs::path& scratch)
{
    return ChildProcess(argv, scratch).wait();
}

std::string simExecutable()
{
    return ROVEX_BINARY_DIR "/tools/sim/rovex-sim";
}

std::string readFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& file, std::string_view text)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::string bunzip(const fs::path& archive, const fs::path& scratch)
{
    const ProcessResult result = runProcess({"bzip2", "-dc", archive.string()}, scratch);
    EXPECT_EQ(result.exitCode, 0) << archive << ": " << result.err;
    return result.out;
}

std::vector<std::string> linesOf(std::string_view text)
{
    std::vector<std::string> lines;
    if (text.ends_with('\n'))
        text.remove_suffix(1);
    if (text.empty())
        return lines;
    forEachPiece(text, '\n', [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

namespace {

std::string collapseRuns(std::string_view text, std::string_view run)
{
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        if (text.substr(at, run.size()) == run) {
            out.push_back(' ');
            at += run.size();
        } else {
            out.push_back(text[at++]);
        }
    }
    return out;
}

std::size_t dotPieces(std::string_view endpoint)
{
    return static_cast<std::size_t>(std::count(endpoint.begin(), endpoint.end(), '.')) + 1;
}

} // namespace

std::vector<std::string> pfFields(std::string_view line)
{
    const std::string normalised = collapseRuns(collapseRuns(line, "   "), "  ");
    std::vector<std::string> fields;
    forEachPiece(normalised, ' ', [&](std::string_view field) { fields.emplace_back(field); });
    return fields;
}

std::string layoutProblem(std::string_view line)
{
    const std::vector<std::string> f = pfFields(line);
    if (f.size() < 16)
        return "too few fields";
    if (f[8] != "block" && f[8] != "pass")
        return "no action at field 8";
    if (f[9] != "in" && f[9] != "out")
        return "no direction at field 9";
    if (f[10] != "on" || !f[11].ends_with(':') || f[13] != ">" || !f[14].ends_with(':'))
        return "not 'on IFACE: SRC > DST:'";
    const std::string destination = f[14].substr(0, f[14].size() - 1);
    const bool icmp = f[15] == "ICMP" || f[15] == "ICMP6,";
    // With a port: IPv4 gives five pieces at ".", IPv6 two. ICMP has bare addresses.
    const std::size_t v4 = icmp ? 4 : 5;
    const std::size_t v6 = icmp ? 1 : 2;
    const std::size_t source = dotPieces(f[12]);
    const std::size_t target = dotPieces(destination);
    if (!((source == v4 && target == v4) || (source == v6 && target == v6)))
        return "endpoints do not decompose";
    return {};
}

} // namespace rovex::simtest
