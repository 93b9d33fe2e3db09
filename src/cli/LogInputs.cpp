#include "cli/LogInputs.h"

#include "cli/Commands.h"
#include "cli/HeadlessViewer.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace rovex::cli {

std::vector<Input> openInputs(const std::vector<std::string>& names)
{
    std::vector<Input> inputs;
    if (names.empty())
        inputs.push_back({"-", nullptr});
    for (const std::string& name : names) {
        if (name == "-") {
            inputs.push_back({name, nullptr});
            continue;
        }
        std::error_code error;
        if (std::filesystem::is_directory(name, error))
            throw CommandError("cannot read " + name + ": it is a folder");
        errno = 0;
        auto file = std::make_unique<std::ifstream>(name, std::ios::binary);
        if (!*file)
            throw CommandError("cannot read " + name + ": " + std::strerror(errno));
        inputs.push_back({name, std::move(file)});
    }
    return inputs;
}

void classify(HeadlessViewer& viewer, Input& input)
{
    std::istream& stream = input.file ? *input.file : std::cin;
    std::string buffer(1 << 20, '\0');
    while (stream) {
        stream.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const auto got = static_cast<std::size_t>(stream.gcount());
        if (got > 0)
            viewer.feed(std::string_view(buffer.data(), got), Clock::now());
    }
    if (stream.bad())
        throw CommandError("cannot read " + input.name + ": " + std::strerror(errno));
    viewer.endOfFile(Clock::now());
}

} // namespace rovex::cli
