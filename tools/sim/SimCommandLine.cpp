#include "sim/SimCommandLine.h"

#include "sim/SimLayout.h"
#include "text/DecimalText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace rovex {

namespace {

constexpr std::string_view usageText
    = R"(rovex-sim: the firewall product's stand-in; writes its files under a root folder
and speaks the product's side of the session bus.

Usage:
  rovex-sim log --root DIR --rate R --seconds S [--rotate-every T] [--archives K]
                [--split-writes] [--seed N] [--addresses A] [--layout L]
      Append pf log lines to DIR/var/log/pffirewall.log at about R lines a second for
      S seconds (S = 0: until SIGINT or SIGTERM). Every T seconds the log is compressed
      into pffirewall.log.0.bz2 (older archives move up, K are kept, default 5), then
      deleted and created again empty. --split-writes sometimes writes a line in two
      pieces. --seed (default 1) fixes the lines; A distinct remote hosts (default 5000).
      --layout writes the same packets as the product logs them (product, the default),
      as pf's tcpdump text behind varied syslog headers or none (pflog), as the filterlog
      CSV of pfSense and OPNsense behind varied headers or none (filterlog), or picks one
      of the three for each line (mixed).
  rovex-sim library --root DIR [--binary]
      Write DIR/Library/Preferences/rovexid.rovexlibrary.plist (XML, or binary).
  rovex-sim nations --root DIR [--source FILE]
      Write the country database into
      DIR/Library/Application Support/Rovex/Nations/aggregated/ from a tor geoip file
      (default /usr/share/tor/geoip, Debian package tor-geoipdb).
  rovex-sim post NAME [--name TEXT] [--ports TEXT] [--image TEXT]
      Emit the product's notification NAME (addservice, delservice, addserviceblock,
      delserviceblock or rovexTempConfSaved): the session-bus signal NAME on /rovexid,
      interface rovexid.Notification, with one a{sv} holding "serviceName",
      "servicePorts" and "serviceImage" for the options given (an empty map for none).
  rovex-sim record [--seconds S]
      Stand in for the running product: own the bus name rovexid.Rovex, answer
      rovexid.Product.Activate() on /rovexid and print one JSON line per event:
      {"event":"ready"} once listening, {"event":"signal","member":M,"userInfo":{...}}
      for every signal on /rovexid, interface rovexid.Notification, and
      {"event":"call","member":"Activate"} for every activation. Runs for S seconds
      (default 0: until SIGINT or SIGTERM).
  rovex-sim version-server [--port P] [--reply TEXT | --reply-file FILE] [--seconds S] [--silent]
      Serve the product's version server on 127.0.0.1, port P (default 0: any free port):
      POST or GET /versionvisualizer/version.txt answers TEXT (default "a#14" and a line
      break) or the bytes of FILE as text/plain, GET / a small page standing in for the
      product web site, anything else 404; one request per connection. Prints
      "listening on http://127.0.0.1:PORT" once listening. --silent takes connections and
      never answers. Runs for S seconds (default 0: until SIGINT or SIGTERM).
  rovex-sim --help

--root is created when missing. Every command runs under the process name Rovex.
Exit codes: 0 done, 1 failed (also: no session bus, rovexid.Rovex already owned), 2 bad usage.
)";

constexpr std::string_view commandNames = "log, library, nations, post, record or version-server";

// What the product itself announces; the viewer's own names are not the product's to post.
constexpr std::array<std::string_view, 5> productNotifications{"addservice", "delservice", "addserviceblock",
                                                               "delserviceblock", "rovexTempConfSaved"};

std::int64_t readWhole(std::string_view name, std::string_view text, std::int64_t low, std::int64_t high)
{
    const std::optional<std::int64_t> value = readDecimal(text);
    if (!value || *value < low || *value > high)
        throw UsageError(std::string(name) + " needs a whole number from " + std::to_string(low) + " to "
                         + std::to_string(high) + ", not \"" + std::string(text) + "\"");
    return *value;
}

double readSeconds(std::string_view name, std::string_view text)
{
    double value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) || value < 0 || value > 1e7)
        throw UsageError(std::string(name) + " needs a number of seconds (such as 2 or 0.5), not \"" + std::string(text)
                         + "\"");
    return value;
}

bool contains(const std::vector<std::string_view>& names, std::string_view name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

std::string_view SimCommandLine::usage() { return usageText; }

SimCommand SimCommandLine::parse(const std::vector<std::string_view>& arguments)
{
    if (arguments.empty())
        throw UsageError("no command given (" + std::string(commandNames) + "); see rovex-sim --help");
    if (contains(arguments, "--help") || contains(arguments, "-h") || arguments.front() == "help")
        return HelpCommand{};

    const std::string_view command = arguments.front();
    const std::vector<std::string_view> rest(arguments.begin() + 1, arguments.end());
    if (command == "log") {
        return logCommand(readOptions(
            command, rest,
            {"--root", "--rate", "--seconds", "--rotate-every", "--archives", "--seed", "--addresses", "--layout"},
            {"--split-writes"}));
    }
    if (command == "library") {
        const Options options = readOptions(command, rest, {"--root"}, {"--binary"});
        return LibraryCommand{rootOf(options), options.contains("--binary") ? PlistFormat::binary : PlistFormat::xml};
    }
    if (command == "nations") {
        const Options options = readOptions(command, rest, {"--root", "--source"}, {});
        const auto source = options.find("--source");
        return NationsCommand{rootOf(options),
                              source == options.end() ? std::string(defaultGeoipSource) : source->second};
    }
    if (command == "post")
        return postCommand(rest);
    if (command == "record")
        return recordCommand(readOptions(command, rest, {"--seconds"}, {}));
    if (command == "version-server") {
        return versionServerCommand(
            readOptions(command, rest, {"--port", "--reply", "--reply-file", "--seconds"}, {"--silent"}));
    }
    throw UsageError("unknown command \"" + std::string(command) + "\" (" + std::string(commandNames)
                     + "); see rovex-sim --help");
}

SimCommandLine::Options SimCommandLine::readOptions(std::string_view command,
                                                    const std::vector<std::string_view>& arguments,
                                                    const std::vector<std::string_view>& valued,
                                                    const std::vector<std::string_view>& flags)
{
    Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view name = arguments[i];
        std::optional<std::string_view> value;
        if (const std::size_t equals = name.find('='); name.starts_with("--") && equals != std::string_view::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        if (contains(flags, name) && !value) {
            value = "";
        } else if (contains(valued, name)) {
            if (!value && i + 1 == arguments.size())
                throw UsageError(std::string(name) + " needs a value");
            if (!value)
                value = arguments[++i];
        } else {
            throw UsageError("unknown option \"" + std::string(arguments[i]) + "\" for " + std::string(command));
        }
        if (!options.emplace(std::string(name), std::string(*value)).second)
            throw UsageError(std::string(name) + " given twice");
    }
    return options;
}

std::filesystem::path SimCommandLine::rootOf(const Options& options)
{
    const auto root = options.find("--root");
    if (root == options.end())
        throw UsageError("--root DIR is required");
    if (root->second.empty())
        throw UsageError("--root needs a folder");
    return root->second;
}

LogCommand SimCommandLine::logCommand(const Options& options)
{
    LogCommand command;
    LogSessionOptions& log = command.options;
    log.root = rootOf(options);
    const auto rate = options.find("--rate");
    const auto seconds = options.find("--seconds");
    if (rate == options.end() || seconds == options.end())
        throw UsageError("log needs --rate R and --seconds S");
    log.linesPerSecond = static_cast<std::uint64_t>(readWhole("--rate", rate->second, 1, 10'000'000));
    log.seconds = readSeconds("--seconds", seconds->second);
    if (const auto every = options.find("--rotate-every"); every != options.end())
        log.rotateEverySeconds = readSeconds("--rotate-every", every->second);
    if (const auto archives = options.find("--archives"); archives != options.end())
        log.archives = static_cast<int>(readWhole("--archives", archives->second, 0, 1000));
    if (const auto seed = options.find("--seed"); seed != options.end())
        log.seed = static_cast<std::uint64_t>(readWhole("--seed", seed->second, 0, INT64_MAX));
    if (const auto addresses = options.find("--addresses"); addresses != options.end())
        log.addresses = static_cast<std::size_t>(readWhole("--addresses", addresses->second, 1, 1'000'000));
    if (const auto layout = options.find("--layout"); layout != options.end()) {
        const std::optional<SimLayout> named = simLayoutNamed(layout->second);
        if (!named)
            throw UsageError("--layout needs " + std::string(simLayoutNames) + ", not \"" + layout->second + "\"");
        log.layout = *named;
    }
    log.splitWrites = options.contains("--split-writes");
    return command;
}

PostCommand SimCommandLine::postCommand(const std::vector<std::string_view>& arguments)
{
    const auto productNames = [] {
        std::string names;
        for (const std::string_view name : productNotifications)
            names += (names.empty() ? "" : ", ") + std::string(name);
        return names;
    };
    if (arguments.empty() || arguments.front().starts_with("-"))
        throw UsageError("post needs a notification name: " + productNames());
    if (std::find(productNotifications.begin(), productNotifications.end(), arguments.front())
        == productNotifications.end())
        throw UsageError("\"" + std::string(arguments.front())
                         + "\" is not one of the product's notifications: " + productNames());
    const Options options = readOptions("post", {arguments.begin() + 1, arguments.end()},
                                        {"--name", "--ports", "--image"}, {});
    PostCommand command{std::string(arguments.front()), {}};
    const auto given = [&options](std::string_view option) -> std::optional<std::string> {
        const auto found = options.find(option);
        return found == options.end() ? std::nullopt : std::optional(found->second);
    };
    command.userInfo = {given("--name"), given("--ports"), given("--image")};
    return command;
}

RecordCommand SimCommandLine::recordCommand(const Options& options)
{
    RecordCommand command;
    if (const auto seconds = options.find("--seconds"); seconds != options.end())
        command.seconds = readSeconds("--seconds", seconds->second);
    // The event loop's timers count milliseconds in an int.
    if (command.seconds > maxRecordSeconds)
        throw UsageError("record --seconds can be at most " + std::to_string(maxRecordSeconds)
                         + " (0 records until stopped)");
    return command;
}

VersionServerCommand SimCommandLine::versionServerCommand(const Options& options)
{
    VersionServerCommand command;
    if (const auto port = options.find("--port"); port != options.end())
        command.port = static_cast<std::uint16_t>(readWhole("--port", port->second, 0, 65535));
    if (const auto reply = options.find("--reply"); reply != options.end())
        command.reply = reply->second;
    if (const auto file = options.find("--reply-file"); file != options.end())
        command.replyFile = file->second;
    if (command.reply && command.replyFile)
        throw UsageError("version-server takes --reply or --reply-file, not both");
    if (const auto seconds = options.find("--seconds"); seconds != options.end())
        command.seconds = readSeconds("--seconds", seconds->second);
    if (command.seconds > maxRecordSeconds)
        throw UsageError("version-server --seconds can be at most " + std::to_string(maxRecordSeconds)
                         + " (0 serves until stopped)");
    command.silent = options.contains("--silent");
    return command;
}

} // namespace rovex
