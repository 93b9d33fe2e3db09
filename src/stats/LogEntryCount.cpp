#include "stats/LogEntryCount.h"

#include "firewall/FixedPaths.h"

namespace rovex {

std::int64_t countLogEntries(const std::filesystem::path& root)
{
    namespace fs = std::filesystem;
    const fs::path folder = paths::underRoot(root, paths::pfLog).parent_path();
    std::error_code error;
    fs::recursive_directory_iterator walk(folder, fs::directory_options::skip_permission_denied, error);
    std::int64_t count = 0;
    for (const fs::recursive_directory_iterator end; !error && walk != end; walk.increment(error)) {
        if (walk->path().lexically_relative(folder).native().find("pffirewall.log") != std::string::npos)
            ++count;
    }
    return count;
}

} // namespace rovex
