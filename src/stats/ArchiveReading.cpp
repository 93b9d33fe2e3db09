#include "stats/ArchiveReading.h"

#include "stats/Bzip2Archive.h"
#include "stats/FileDescriptor.h"
#include "stats/GzipArchive.h"
#include "stats/LineCutter.h"

#include <vector>

namespace rovex {
namespace {

bool readPlain(int fd, const std::function<void(std::string_view)>& sink, std::string& error)
{
    std::vector<char> buffer(std::size_t{1} << 20);
    for (;;) {
        const ssize_t got = readRetrying(fd, buffer.data(), buffer.size());
        if (got < 0) {
            error = "read error";
            return false;
        }
        if (got == 0)
            return true;
        sink(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
    }
}

} // namespace

bool decodeArchive(int fd, ArchiveCoding coding, const std::function<void(std::string_view)>& sink, std::string& error)
{
    error.clear();
    switch (coding) {
    case ArchiveCoding::Bzip2: return decodeBzip2(fd, sink, error);
    case ArchiveCoding::Gzip: return decodeGzip(fd, sink, error);
    case ArchiveCoding::Plain: return readPlain(fd, sink, error);
    }
    return false;
}

bool tallyArchive(int fd, ArchiveCoding coding, StatsTally& tally, std::string& error)
{
    LineCutter cutter;
    const auto addLine = [&tally](std::string_view line, bool readable) { tally.addLine(line, readable); };
    if (!decodeArchive(
            fd, coding, [&](std::string_view bytes) { cutter.feed(bytes, addLine); }, error))
        return false;
    cutter.finish(addLine);
    return true;
}

} // namespace rovex
