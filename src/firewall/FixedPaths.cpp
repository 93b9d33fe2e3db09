#include "firewall/FixedPaths.h"

#include <string>

namespace rovex::paths {

std::filesystem::path underRoot(const std::filesystem::path& root, std::string_view fixedPath)
{
    while (!fixedPath.empty() && fixedPath.front() == '/')
        fixedPath.remove_prefix(1);
    return root / std::filesystem::path(fixedPath);
}

std::filesystem::path archive(const std::filesystem::path& root, int n)
{
    std::filesystem::path path = underRoot(root, pfLog);
    path += "." + std::to_string(n) + ".bz2";
    return path;
}

} // namespace rovex::paths
