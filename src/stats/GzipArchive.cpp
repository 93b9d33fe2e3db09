#include "stats/GzipArchive.h"

#include "stats/FileDescriptor.h"

#include <zlib.h>

#include <vector>

namespace rovex {
namespace {

constexpr std::size_t bufferBytes = std::size_t{1} << 20;
// zlib's window bits for a gzip header only (15 + 16): a zlib or raw stream is refused.
constexpr int gzipWindowBits = 15 + 16;

// One inflate state, ended with its owner.
class InflateStream final {
public:
    InflateStream() { m_ok = inflateInit2(&m_stream, gzipWindowBits) == Z_OK; }
    ~InflateStream()
    {
        if (m_ok)
            inflateEnd(&m_stream);
    }
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;

    bool ok() const noexcept { return m_ok; }
    z_stream& get() noexcept { return m_stream; }

private:
    z_stream m_stream{};
    bool m_ok = false;
};

// Feeds the file through one inflate state, reset after each member; output is handed on
// as it comes. The file must end exactly after a member.
bool inflateFile(int fd, z_stream& state, const std::function<void(std::string_view)>& sink, std::string& error)
{
    std::vector<unsigned char> input(bufferBytes);
    std::vector<unsigned char> output(bufferBytes);
    bool inMember = false;
    bool sawMember = false;
    for (;;) {
        if (state.avail_in == 0) {
            const ssize_t got = readRetrying(fd, reinterpret_cast<char*>(input.data()), input.size());
            if (got < 0) {
                error = "read error";
                return false;
            }
            if (got == 0)
                break;
            state.next_in = input.data();
            state.avail_in = static_cast<uInt>(got);
        }
        if (!inMember) {
            inflateReset(&state);
            inMember = true;
            sawMember = true;
        }
        state.next_out = output.data();
        state.avail_out = static_cast<uInt>(output.size());
        const int status = inflate(&state, Z_NO_FLUSH);
        const std::size_t produced = output.size() - state.avail_out;
        if (produced > 0)
            sink(std::string_view(reinterpret_cast<const char*>(output.data()), produced));
        if (status == Z_STREAM_END)
            inMember = false;
        else if (status != Z_OK && status != Z_BUF_ERROR) {
            error = "not valid gzip data";
            return false;
        }
    }
    if (inMember) {
        error = "unexpected end of file";
        return false;
    }
    if (!sawMember) {
        error = "no gzip data";
        return false;
    }
    return true;
}

} // namespace

bool decodeGzip(int fd, const std::function<void(std::string_view)>& sink, std::string& error)
{
    error.clear();
    InflateStream stream;
    if (!stream.ok()) {
        error = "decoder not available";
        return false;
    }
    return inflateFile(fd, stream.get(), sink, error);
}

bool looksLikeGzip(std::string_view start)
{
    return start.size() >= 2 && static_cast<unsigned char>(start[0]) == 0x1F
        && static_cast<unsigned char>(start[1]) == 0x8B;
}

} // namespace rovex
