#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rovex {

// The release this program is: its line and its build number within the line.
inline constexpr std::string_view runningReleaseLine = "a";
inline constexpr std::int64_t runningBuild = 14;

// Where the version server keeps the current release, "LINE#BUILD".
inline constexpr std::string_view versionPath = "/versionvisualizer/version.txt";

// The most of a reply that is read; a longer one is not a version text and counts as none.
inline constexpr std::size_t versionReplyLimit = std::size_t{64} * 1024;

// The reply as text: nothing when no bytes came or one is not ASCII.
std::optional<std::string> decodeVersionReply(std::string_view bytes);

// What the check tells the user: the alert's text key ("connlost", "noupd", "yesupd" or
// "yesupgr"), none when the reply says nothing usable, and whether the product web site
// opens.
struct VersionVerdict {
    std::optional<std::string_view> alert;
    bool openSite = false;
};

// The verdict on the reply text (nothing: no answer came) for the running release.
VersionVerdict evaluateVersionReply(const std::optional<std::string>& reply);

} // namespace rovex
