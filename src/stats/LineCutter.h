#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rovex {

// Cuts a stream of chunks at every "\n" and hands on each line with whether it may be read
// (well-formed UTF-8 and not longer than maxLineBytes). A line cut by a chunk boundary is
// completed by the next chunk; only such a piece is copied, and never beyond the limit, so
// hostile text without line breaks costs bounded memory.
class LineCutter final {
public:
    static constexpr std::size_t maxLineBytes = std::size_t{1} << 20;

    template <typename Sink>
    void feed(std::string_view chunk, Sink&& sink)
    {
        while (!chunk.empty()) {
            const std::size_t end = chunk.find('\n');
            if (end == std::string_view::npos) {
                keep(chunk);
                return;
            }
            if (m_pending.empty() && !m_overlong) {
                const std::string_view line = chunk.substr(0, end);
                sink(line, isReadable(line));
            } else {
                keep(chunk.substr(0, end));
                emitPending(sink);
            }
            chunk.remove_prefix(end + 1);
        }
    }

    // The piece after the last "\n" (empty when the text ended with one) is a line as well.
    template <typename Sink>
    void finish(Sink&& sink)
    {
        emitPending(sink);
    }

private:
    void keep(std::string_view piece);
    static bool isReadable(std::string_view line) noexcept;

    template <typename Sink>
    void emitPending(Sink& sink)
    {
        sink(std::string_view(m_pending), !m_overlong && isReadable(m_pending));
        m_pending.clear();
        m_overlong = false;
    }

    std::string m_pending;
    bool m_overlong = false;
};

} // namespace rovex
