#include "sim/Bzip2Compression.h"

#include <bzlib.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace rovex {

namespace {

constexpr std::size_t chunkSize = 1 << 20;

class CompressStream final {
public:
    CompressStream()
    {
        // Block size 9 (900 kB), as bzip2 uses by default.
        const int result = BZ2_bzCompressInit(&m_stream, 9, 0, 0);
        if (result != BZ_OK)
            throw std::runtime_error("bzip2 initialisation failed (" + std::to_string(result) + ")");
    }
    ~CompressStream() { BZ2_bzCompressEnd(&m_stream); }
    CompressStream(const CompressStream&) = delete;
    CompressStream& operator=(const CompressStream&) = delete;

    bz_stream& get() { return m_stream; }

private:
    bz_stream m_stream{};
};

// Runs one compression step into output and writes what it produced.
int step(bz_stream& stream, int action, std::vector<char>& output, const UniqueFd& target)
{
    stream.next_out = output.data();
    stream.avail_out = static_cast<unsigned>(output.size());
    const int result = BZ2_bzCompress(&stream, action);
    if (result != BZ_RUN_OK && result != BZ_FINISH_OK && result != BZ_STREAM_END)
        throw std::runtime_error("bzip2 compression failed (" + std::to_string(result) + ")");
    target.writeAll({output.data(), output.size() - stream.avail_out});
    return result;
}

} // namespace

void compressBzip2(const UniqueFd& source, const UniqueFd& target)
{
    CompressStream compressor;
    bz_stream& stream = compressor.get();
    std::vector<char> input(chunkSize);
    std::vector<char> output(chunkSize);
    for (;;) {
        const std::size_t got = source.readSome(input.data(), input.size());
        if (got == 0)
            break;
        stream.next_in = input.data();
        stream.avail_in = static_cast<unsigned>(got);
        while (stream.avail_in > 0)
            step(stream, BZ_RUN, output, target);
    }
    while (step(stream, BZ_FINISH, output, target) != BZ_STREAM_END) {
    }
}

} // namespace rovex
