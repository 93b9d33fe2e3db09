#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace rovex {

// Completes lines across reads of a growing log. The piece after the last "\n" of a read
// is held and completed by the next read; endOfFile() hands the held piece on as it stands
// (the file was rotated away or truncated, so nothing will complete it). Every line is
// checked for UTF-8 on its own: an invalid line is dropped and counted, never its neighbours.
class LineAssembler final {
public:
    using LineSink = std::function<void(std::string_view line)>;

    // Lines are handed on without their "\n".
    void feed(std::string_view bytes, const LineSink& sink);
    void endOfFile(const LineSink& sink);

    std::uint64_t invalidLines() const { return m_invalidLines; }
    std::size_t heldBytes() const { return m_held.size(); }

private:
    void deliver(std::string_view line, const LineSink& sink);

    std::string m_held;
    std::uint64_t m_invalidLines = 0;
};

} // namespace rovex
