#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace rovex::cli {

// Writes JSON to a stream as it is produced, never building a document first, laid out
// with two-space indents like the other commands' output. Texts are escaped; a byte that
// is not part of well-formed UTF-8 is written as U+FFFD, so odd input never stops the
// output. Output goes to the stream in pieces of about 64 KiB (and whole at the end of the
// document), as many small writes to a stream cost more than the text itself.
//
//     JsonWriter json(std::cout);
//     json.beginObject();
//     json.key("rows");
//     json.beginArray();
//     ...
//     json.endArray();
//     json.endObject();   // ends the document with "\n"
class JsonWriter final {
public:
    explicit JsonWriter(std::ostream& out);
    ~JsonWriter();
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    void key(std::string_view name);
    void value(std::string_view text);
    void value(const char* text) { value(std::string_view(text)); }
    void value(std::int64_t number);
    void value(double number);
    void value(bool truth);
    void null();
    // key(name), then value(v).
    template <typename Value>
    void member(std::string_view name, const Value& v)
    {
        key(name);
        value(v);
    }

private:
    void beforeValue();
    void close(char bracket);
    void newline();
    void writeString(std::string_view text);
    void flush();

    struct Level {
        bool empty = true;
    };

    std::ostream& m_stream;
    std::string m_out; // what is not yet handed to the stream
    std::vector<Level> m_levels;
    bool m_afterKey = false;
};

} // namespace rovex::cli
