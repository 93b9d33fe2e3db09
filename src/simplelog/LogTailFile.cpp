#include "simplelog/LogTailFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include <algorithm>

namespace rovex {

namespace {

std::string reasonOf(int error) { return std::generic_category().message(error); }

// Gathers a piece that spans blocks. A piece beyond the bound is not kept: only the fact
// that it was too long is, so a log of one endless line costs no memory.
class PieceGatherer final {
public:
    explicit PieceGatherer(std::size_t maxBytes) : m_maxBytes(maxBytes) {}

    void add(std::string_view part)
    {
        if (m_tooLong)
            return;
        if (m_text.size() + part.size() > m_maxBytes) {
            m_tooLong = true;
            m_text = std::string();
            return;
        }
        m_text.append(part);
    }

    // The piece ends with part; a piece that lies in one block goes on without a copy.
    void end(std::string_view part, const LogTailFile::PieceVisitor& visit)
    {
        if (m_text.empty() && !m_tooLong) {
            visit(part.size() > m_maxBytes ? std::nullopt : std::optional(part));
            return;
        }
        add(part);
        visit(m_tooLong ? std::nullopt : std::optional<std::string_view>(m_text));
        m_text.clear();
        m_tooLong = false;
    }

private:
    std::size_t m_maxBytes;
    std::string m_text;
    bool m_tooLong = false;
};

} // namespace

LogTailFile::LogTailFile(const std::filesystem::path& path, std::size_t blockBytes)
    : m_block(std::max<std::size_t>(blockBytes, 1), '\0')
{
    // Non-blocking, so that a FIFO at the log's path cannot hold the read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        m_failure = reasonOf(errno);
        return;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        m_failure = reasonOf(errno);
    else if (S_ISDIR(info.st_mode))
        m_failure = "it is a folder";
    else if (!S_ISREG(info.st_mode))
        m_failure = "it is not a regular file";
    if (!m_failure.empty()) {
        ::close(fd);
        return;
    }
    m_fd = fd;
    m_size = static_cast<std::uint64_t>(info.st_size);
}

LogTailFile::~LogTailFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

std::optional<LogTailFile::Tail> LogTailFile::findLastPieces(std::uint64_t wanted)
{
    if (wanted == 0)
        return Tail{m_size, 0, false};
    std::uint64_t breaks = 0;
    for (std::uint64_t end = m_size; end > 0;) {
        const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(m_block.size(), end));
        const std::uint64_t start = end - length;
        if (!readBlock(start, length))
            return std::nullopt;
        std::size_t searched = length;
        while (const void* found = searched == 0 ? nullptr : ::memrchr(m_block.data(), '\n', searched)) {
            searched = static_cast<std::size_t>(static_cast<const char*>(found) - m_block.data());
            if (++breaks == wanted)
                return Tail{start + searched + 1, wanted, false};
        }
        end = start;
    }
    return Tail{0, breaks + 1, true};
}

bool LogTailFile::forEachPiece(std::uint64_t offset, std::size_t maxPieceBytes, const PieceVisitor& visit)
{
    PieceGatherer gatherer(maxPieceBytes);
    for (std::uint64_t at = offset; at < m_size;) {
        const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(m_block.size(), m_size - at));
        if (!readBlock(at, length))
            return false;
        at += length;
        std::string_view bytes(m_block.data(), length);
        for (std::size_t newline = bytes.find('\n'); newline != std::string_view::npos; newline = bytes.find('\n')) {
            gatherer.end(bytes.substr(0, newline), visit);
            bytes.remove_prefix(newline + 1);
        }
        gatherer.add(bytes);
    }
    gatherer.end({}, visit); // the piece after the last "\n", empty when the file ends with one
    return true;
}

bool LogTailFile::readBlock(std::uint64_t offset, std::size_t length)
{
    std::size_t done = 0;
    while (done < length) {
        const ssize_t got = ::pread(m_fd, m_block.data() + done, length - done, static_cast<off_t>(offset + done));
        if (got > 0) {
            done += static_cast<std::size_t>(got);
        } else if (got == 0) {
            m_failure = "it became shorter while it was read";
            return false;
        } else if (errno != EINTR) {
            m_failure = reasonOf(errno);
            return false;
        }
    }
    return true;
}

} // namespace rovex
