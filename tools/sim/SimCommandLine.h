#pragma once

#include "firewall/ServiceDescription.h"
#include "sim/LibraryWriter.h"
#include "sim/LogSession.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace rovex {

struct HelpCommand {};
struct LogCommand {
    LogSessionOptions options;
};
struct LibraryCommand {
    std::filesystem::path root;
    PlistFormat format = PlistFormat::xml;
};
struct NationsCommand {
    std::filesystem::path root;
    std::filesystem::path source;
};
// One of the product's own notifications, with the service description given (only the
// keys given; none for rovexTempConfSaved).
struct PostCommand {
    std::string name;
    ServiceDescription userInfo;
};
// The running product: owns its bus name and prints what the viewer sends it.
struct RecordCommand {
    double seconds = 0; // 0: until SIGINT or SIGTERM
};
// The product's version server on loopback, for the version check.
struct VersionServerCommand {
    std::uint16_t port = 0; // 0: any free port
    std::optional<std::string> reply;
    std::optional<std::filesystem::path> replyFile;
    double seconds = 0; // 0: until SIGINT or SIGTERM
    bool silent = false;
};
using SimCommand = std::variant<HelpCommand, LogCommand, LibraryCommand, NationsCommand, PostCommand, RecordCommand,
                                VersionServerCommand>;

// A command line that does not say what to do; rovex-sim exits with code 2 for it.
class UsageError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The rovex-sim command line: a command word followed by --options.
class SimCommandLine final {
public:
    // arguments without the program name; throws UsageError.
    static SimCommand parse(const std::vector<std::string_view>& arguments);
    static std::string_view usage();

    static constexpr std::string_view defaultGeoipSource = "/usr/share/tor/geoip";
    static constexpr int maxRecordSeconds = 2'000'000;

private:
    using Options = std::map<std::string, std::string, std::less<>>;

    static Options readOptions(std::string_view command, const std::vector<std::string_view>& arguments,
                               const std::vector<std::string_view>& valued, const std::vector<std::string_view>& flags);
    static std::filesystem::path rootOf(const Options& options);
    static LogCommand logCommand(const Options& options);
    static PostCommand postCommand(const std::vector<std::string_view>& arguments);
    static RecordCommand recordCommand(const Options& options);
    static VersionServerCommand versionServerCommand(const Options& options);
};

} // namespace rovex
