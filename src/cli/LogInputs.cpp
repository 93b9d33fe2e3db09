#include "cli/LogInputs.h"

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/HeadlessViewer.h"
#include "cli/LogOptions.h"
#include "stats/ArchiveReading.h"
#include "stats/Bzip2Archive.h"
#include "stats/FileDescriptor.h"
#include "stats/GzipArchive.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace rovex::cli {
namespace {

// Archives are known by their first bytes, whatever their names.
std::optional<ArchiveCoding> archiveCodingOf(std::istream& file)
{
    std::string start(4, '\0');
    file.read(start.data(), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<std::size_t>(file.gcount()));
    file.clear();
    file.seekg(0);
    if (looksLikeBzip2(start))
        return ArchiveCoding::Bzip2;
    if (looksLikeGzip(start))
        return ArchiveCoding::Gzip;
    return std::nullopt;
}

void classifyArchive(HeadlessViewer& viewer, const Input& input)
{
    const FileDescriptor file = FileDescriptor::openRegularFile(input.name);
    if (!file.isOpen())
        throw CommandError("cannot read " + input.name + ": not a regular file");
    std::string error;
    if (!decodeArchive(
            file.get(), *input.archive, [&viewer](std::string_view bytes) { viewer.feed(bytes, Clock::now()); }, error))
        throw CommandError("cannot read " + input.name + ": " + error);
    viewer.endOfFile(Clock::now());
}

} // namespace

std::vector<std::string> logNames(const CommandLine& line)
{
    std::vector<std::string> names;
    if (const std::optional<std::string> log = logOption(line))
        names.push_back(*log);
    names.insert(names.end(), line.operands().begin(), line.operands().end());
    return names;
}

std::vector<Input> openInputs(const std::vector<std::string>& names)
{
    std::vector<Input> inputs;
    if (names.empty())
        inputs.push_back({"-", nullptr, std::nullopt});
    for (const std::string& name : names) {
        if (name == "-") {
            inputs.push_back({name, nullptr, std::nullopt});
            continue;
        }
        std::error_code error;
        if (std::filesystem::is_directory(name, error))
            throw CommandError("cannot read " + name + ": it is a folder");
        errno = 0;
        auto file = std::make_unique<std::ifstream>(name, std::ios::binary);
        if (!*file)
            throw CommandError("cannot read " + name + ": " + std::strerror(errno));
        const std::optional<ArchiveCoding> archive = archiveCodingOf(*file);
        inputs.push_back({name, std::move(file), archive});
    }
    return inputs;
}

void classify(HeadlessViewer& viewer, Input& input)
{
    if (input.archive) {
        classifyArchive(viewer, input);
        return;
    }
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
