#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rovex {

// What the version server needs of a request: its method and its path (query dropped).
struct HttpRequest {
    std::string method;
    std::string path;
};

// Reads one HTTP/1.1 request from a connection as its bytes come, within bounds: the head
// (request line and header fields, up to the empty line) up to headLimit bytes, a body of
// its Content-Length up to bodyLimit, which is read and dropped. A peer's bytes are
// hostile: whatever does not fit ends the reading as malformed or tooLarge, never as a
// wait for more.
class HttpRequestReader final {
public:
    static constexpr std::size_t headLimit = std::size_t{16} * 1024;
    static constexpr std::size_t bodyLimit = std::size_t{64} * 1024;

    enum class State { reading, complete, malformed, tooLarge };

    // The state after these bytes; once it is not reading, more bytes change nothing.
    State feed(std::string_view bytes);
    State state() const { return m_state; }
    // Filled once the state is complete.
    const HttpRequest& request() const { return m_request; }

private:
    State readHead(std::string_view head);
    State readBody();

    std::string m_buffer;
    std::size_t m_headLength = 0; // head and its empty line; 0 while the head is incomplete
    std::size_t m_bodyLength = 0;
    State m_state = State::reading;
    HttpRequest m_request;
};

} // namespace rovex
