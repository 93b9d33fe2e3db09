#include "CliRun.h"

#include <fstream>
#include <regex>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

namespace rovex::test {

std::string slurp(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string quoted(const std::string& text) { return "'" + std::regex_replace(text, std::regex("'"), "'\\''") + "'"; }

const std::filesystem::path& Cli::dataFolder()
{
    static const std::filesystem::path folder = ROVEX_CLI_DATA;
    return folder;
}

void Cli::SetUp()
{
    scratch = std::filesystem::temp_directory_path()
        / ("rovex-cli-" + std::to_string(::getpid()) + "-"
           + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(scratch);
    std::filesystem::create_directories(scratch);
}

void Cli::TearDown() { std::filesystem::remove_all(scratch); }

Outcome Cli::run(const std::string& arguments, const std::string& input)
{
    const std::string command = "cd " + quoted(dataFolder().string()) + " && " + quoted(ROVEX_LOGS) + " " + arguments
        + " >" + quoted((scratch / "out").string()) + " 2>" + quoted((scratch / "err").string()) + " <" + quoted(input);
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(scratch / "out"), slurp(scratch / "err")};
}

} // namespace rovex::test
