#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace rovex {

// Decodes a bzip2 file in process, every stream to the end of the file as `bzip2 -d`
// does, each decoded piece handed to sink as it comes (pieces end anywhere, also inside a
// line). False, with the reason in error, when any part does not decode.
bool decodeBzip2(int fd, const std::function<void(std::string_view)>& sink, std::string& error);

// Whether the bytes start as a bzip2 stream does ("BZh" and a block size digit).
bool looksLikeBzip2(std::string_view start);

} // namespace rovex
