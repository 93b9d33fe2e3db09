#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// Runs the built rovex-logs as a user would, from the tests' data folder, in a scratch
// folder of its own per test.
namespace rovex::test {

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string slurp(const std::filesystem::path& path);
// The text quoted for /bin/sh.
std::string quoted(const std::string& text);

class Cli : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs rovex-logs with the arguments (as one shell-quoted line) from the tests' data
    // folder, standard input from the file.
    Outcome run(const std::string& arguments, const std::string& input = "/dev/null");

    static const std::filesystem::path& dataFolder();
    std::filesystem::path scratch;
};

} // namespace rovex::test
