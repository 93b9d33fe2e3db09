#include "stats/Bzip2Archive.h"

#include "stats/FileDescriptor.h"
#include "stats/LineCutter.h"

#include <bzlib.h>

#include <memory>
#include <vector>

namespace rovex {
namespace {

constexpr std::size_t bufferBytes = std::size_t{1} << 20;

// One decoder state, ended with its owner.
class Bzip2Stream final {
public:
    Bzip2Stream() { m_ok = BZ2_bzDecompressInit(&m_stream, 0, 0) == BZ_OK; }
    ~Bzip2Stream()
    {
        if (m_ok)
            BZ2_bzDecompressEnd(&m_stream);
    }
    Bzip2Stream(const Bzip2Stream&) = delete;
    Bzip2Stream& operator=(const Bzip2Stream&) = delete;

    bool ok() const noexcept { return m_ok; }
    bz_stream& get() noexcept { return m_stream; }

private:
    bz_stream m_stream{};
    bool m_ok = false;
};

// Reads the file in pieces and hands every decoded byte to the sink.
class ArchiveDecoder final {
public:
    ArchiveDecoder(int fd, const std::function<void(std::string_view)>& sink)
        : m_fd(fd), m_sink(sink), m_input(bufferBytes), m_output(bufferBytes)
    {}

    bool run(std::string& error)
    {
        bool sawStream = false;
        while (refill(error)) {
            if (m_available == 0)
                break;
            sawStream = true;
            if (!decodeOneStream(error))
                return false;
        }
        if (!error.empty())
            return false;
        if (!sawStream) {
            error = "no bzip2 data";
            return false;
        }
        return true;
    }

private:
    // Input left over, or read more when none is; false on a read error.
    bool refill(std::string& error)
    {
        if (m_available > 0)
            return true;
        const ssize_t got = readRetrying(m_fd, m_input.data(), m_input.size());
        if (got < 0) {
            error = "read error";
            return false;
        }
        m_next = m_input.data();
        m_available = static_cast<std::size_t>(got);
        return true;
    }

    bool decodeOneStream(std::string& error)
    {
        Bzip2Stream stream;
        if (!stream.ok()) {
            error = "decoder not available";
            return false;
        }
        bz_stream& state = stream.get();
        for (;;) {
            if (!refill(error))
                return false;
            // At the end of the file the decoder may still hold output of its last block.
            const bool atEnd = m_available == 0;
            state.next_in = m_next;
            state.avail_in = static_cast<unsigned>(m_available);
            state.next_out = m_output.data();
            state.avail_out = static_cast<unsigned>(m_output.size());
            const int status = BZ2_bzDecompress(&state);
            m_next = state.next_in;
            m_available = state.avail_in;
            const std::string_view decoded(m_output.data(), m_output.size() - state.avail_out);
            if (!decoded.empty())
                m_sink(decoded);
            if (status == BZ_STREAM_END)
                return true;
            if (status != BZ_OK) {
                error = "not valid bzip2 data";
                return false;
            }
            if (atEnd && decoded.empty()) {
                error = "unexpected end of file";
                return false;
            }
        }
    }

    int m_fd;
    const std::function<void(std::string_view)>& m_sink;
    std::vector<char> m_input;
    std::vector<char> m_output;
    char* m_next = nullptr;
    std::size_t m_available = 0;
};

} // namespace

bool decodeBzip2(int fd, const std::function<void(std::string_view)>& sink, std::string& error)
{
    error.clear();
    ArchiveDecoder decoder(fd, sink);
    return decoder.run(error);
}

bool looksLikeBzip2(std::string_view start)
{
    return start.size() >= 4 && start.starts_with("BZh") && start[3] >= '1' && start[3] <= '9';
}

} // namespace rovex
