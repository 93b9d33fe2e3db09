#include "SimTestSupport.h"

#include "SpawnedProcess.h"
#include "text/SplitText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

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

ProcessResult runProcess(const std::vector<std::string>& argv, const fs::path& scratch)
{
    const fs::path outFile = scratch / "child.out";
    const fs::path errFile = scratch / "child.err";
    const int exitCode = test::SpawnedProcess(argv, outFile, errFile).wait();
    return {exitCode, readFile(outFile), readFile(errFile)};
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
    if (!text.empty())
        forEachPiece(text, '\n', [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

namespace {

// One left-to-right pass, as the viewer makes it.
std::string collapseRuns(std::string text, std::string_view run)
{
    for (std::size_t at = text.find(run); at != std::string::npos; at = text.find(run, at + 1))
        text.replace(at, run.size(), " ");
    return text;
}

long dotPieces(std::string_view endpoint) { return std::count(endpoint.begin(), endpoint.end(), '.') + 1; }

} // namespace

std::vector<std::string> pfFields(std::string_view line)
{
    std::vector<std::string> fields;
    forEachPiece(collapseRuns(collapseRuns(std::string(line), "   "), "  "), ' ',
                 [&](std::string_view field) { fields.emplace_back(field); });
    return fields;
}

std::string layoutProblem(std::string_view line)
{
    const std::vector<std::string> f = pfFields(line);
    if (f.size() < 15)
        return "fewer than 15 fields";
    if ((f[8] != "block" && f[8] != "pass") || (f[9] != "in" && f[9] != "out"))
        return "no action at field 8 or no direction at field 9";
    if (f[10] != "on" || !f[11].ends_with(':') || f[13] != ">" || !f[14].ends_with(':'))
        return "not 'on IFACE: SRC > DST:'";
    // With a port, IPv4 gives five pieces at ".", IPv6 two. ICMP has bare addresses.
    const bool icmp = f.size() > 15 && f[15].starts_with("ICMP");
    const long source = dotPieces(f[12]);
    const long destination = dotPieces(std::string_view(f[14]).substr(0, f[14].size() - 1));
    if (source != destination || (source != (icmp ? 4 : 5) && source != (icmp ? 1 : 2)))
        return "endpoints do not decompose";
    return {};
}

} // namespace rovex::simtest
