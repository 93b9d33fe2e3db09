#include "stats/LiveLogRanges.h"

#include "stats/LineCutter.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace rovex {
namespace {

constexpr std::size_t readBytes = std::size_t{1} << 20;

// pread that goes on after a signal; 0 at the end of what there is (a file cut meanwhile).
std::size_t readAt(int fd, char* into, std::size_t bytes, std::uint64_t offset)
{
    for (;;) {
        const ssize_t got = ::pread(fd, into, bytes, static_cast<off_t>(offset));
        if (got >= 0)
            return static_cast<std::size_t>(got);
        if (errno != EINTR)
            return 0;
    }
}

// The position just after the first "\n" at or after from, or size when there is none.
std::uint64_t nextLineStart(int fd, std::uint64_t from, std::uint64_t size)
{
    std::vector<char> block(std::size_t{64} * 1024);
    while (from < size) {
        const std::size_t got = readAt(fd, block.data(), std::min<std::uint64_t>(block.size(), size - from), from);
        if (got == 0)
            return size;
        const void* newline = std::memchr(block.data(), '\n', got);
        if (newline != nullptr)
            return from + static_cast<std::uint64_t>(static_cast<const char*>(newline) - block.data()) + 1;
        from += got;
    }
    return size;
}

} // namespace

std::vector<ByteRange> newlineAlignedRanges(int fd, std::uint64_t size, std::size_t parts, std::uint64_t minimumBytes)
{
    const std::uint64_t wanted = std::max<std::uint64_t>(
        1, std::min<std::uint64_t>(parts, size / std::max<std::uint64_t>(minimumBytes, 1)));
    std::vector<ByteRange> ranges;
    std::uint64_t begin = 0;
    for (std::uint64_t part = 1; part < wanted && begin < size; ++part) {
        const std::uint64_t end = nextLineStart(fd, std::max(begin, size / wanted * part), size);
        if (end >= size)
            break;
        ranges.push_back({begin, end, false});
        begin = end;
    }
    ranges.push_back({begin, size, true});
    return ranges;
}

void tallyRange(int fd, const ByteRange& range, StatsTally& tally)
{
    LineCutter cutter;
    const auto count = [&tally](std::string_view line, bool readable) { tally.addLine(line, readable); };
    std::vector<char> buffer(readBytes);
    for (std::uint64_t at = range.begin; at < range.end;) {
        const std::size_t got = readAt(fd, buffer.data(), std::min<std::uint64_t>(buffer.size(), range.end - at), at);
        if (got == 0)
            break;
        cutter.feed(std::string_view(buffer.data(), got), count);
        at += got;
    }
    if (range.last)
        cutter.finish(count);
}

} // namespace rovex
