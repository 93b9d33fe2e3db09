#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace rovex {

// The log as the on-demand read sees it: cut into pieces at every "\n" (a log ending in
// "\n" has an empty last piece), read with pread(2) in blocks and never held whole. The
// size is taken once at the open and nothing past it is read, so a log that grows meanwhile
// reads as it was when the read began.
class LogTailFile final {
public:
    static constexpr std::size_t defaultBlockBytes = std::size_t{16} * 1024;

    // Opens only a regular file, and never waits on a FIFO; see failure() when not open.
    explicit LogTailFile(const std::filesystem::path& path, std::size_t blockBytes = defaultBlockBytes);
    ~LogTailFile();
    LogTailFile(const LogTailFile&) = delete;
    LogTailFile& operator=(const LogTailFile&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    // Why the last step failed, as a short reason ("No such file or directory").
    const std::string& failure() const { return m_failure; }
    std::uint64_t size() const { return m_size; }

    struct Tail {
        std::uint64_t offset = 0; // where the first of the pieces begins
        std::uint64_t pieces = 0; // how many pieces there are from there to the end
        bool wholeFile = false;   // true when the file has no more pieces than these
    };
    // Where the last `wanted` pieces begin, found by scanning back from the end for line
    // breaks; the whole file when it has no more pieces than that. Nothing on a read error.
    std::optional<Tail> findLastPieces(std::uint64_t wanted);

    // Calls visit(piece) for every piece from offset to the end, in file order, the piece
    // without its "\n". A piece longer than maxPieceBytes is not gathered; it is visited as
    // nothing. False on a read error.
    using PieceVisitor = std::function<void(std::optional<std::string_view>)>;
    bool forEachPiece(std::uint64_t offset, std::size_t maxPieceBytes, const PieceVisitor& visit);

private:
    // Reads length bytes at offset into m_block; false (and failure()) when it cannot, or
    // when the file has become shorter than the size taken at the open.
    bool readBlock(std::uint64_t offset, std::size_t length);

    int m_fd = -1;
    std::uint64_t m_size = 0;
    std::string m_block;
    std::string m_failure;
};

} // namespace rovex
