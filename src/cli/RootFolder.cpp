#include "cli/RootFolder.h"

#include "cli/Commands.h"

namespace rovex::cli {

std::filesystem::path rootFolder(const CommandLine& line)
{
    const std::filesystem::path root = line.value("--root").value_or("/");
    std::error_code error;
    if (!std::filesystem::is_directory(root, error))
        throw CommandError("root folder " + root.string() + " does not exist");
    return root;
}

} // namespace rovex::cli
