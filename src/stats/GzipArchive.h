#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace rovex {

// Decodes a gzip file in process, every member to the end of the file as `gzip -d` does,
// each decoded piece handed to sink as it comes. False, with the reason in error, when any
// part does not decode.
bool decodeGzip(int fd, const std::function<void(std::string_view)>& sink, std::string& error);

// Whether the bytes start as a gzip member does (its two magic bytes).
bool looksLikeGzip(std::string_view start);

} // namespace rovex
