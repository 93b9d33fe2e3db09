#pragma once

#include <absl/container/flat_hash_map.h>
#include <absl/container/flat_hash_set.h>
#include <absl/hash/hash.h>
#include <absl/strings/string_view.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace rovex {

// Hash and equality over std::string_view for abseil's tables, so that a table keyed by
// std::string is searched with a view of the log line without building a string. (The
// packaged abseil has its own string_view type, which std::string_view does not convert to.)
//
// Ports and addresses are at most 16 bytes nearly always (an IPv4 address is at most 15):
// those are hashed by one multiply-and-fold of their first and last eight bytes, which
// is several times cheaper than the general hash, still mixing every bit of the text.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const
    {
        const std::size_t size = text.size();
        if (size > 16)
            return absl::Hash<absl::string_view>{}(absl::string_view(text.data(), size));
        std::uint64_t head = 0;
        std::uint64_t tail = 0;
        if (size >= 8) {
            std::memcpy(&head, text.data(), 8);
            std::memcpy(&tail, text.data() + size - 8, 8);
        } else if (size >= 4) {
            std::uint32_t a = 0;
            std::uint32_t b = 0;
            std::memcpy(&a, text.data(), 4);
            std::memcpy(&b, text.data() + size - 4, 4);
            head = a;
            tail = b;
        } else if (size > 0) {
            head = static_cast<unsigned char>(text[0])
                | (std::uint64_t{static_cast<unsigned char>(text[size / 2])} << 8U)
                | (std::uint64_t{static_cast<unsigned char>(text[size - 1])} << 16U);
        }
        return static_cast<std::size_t>(fold(head ^ 0xa0761d6478bd642fULL, tail ^ 0xe7037ed1a0b428dbULL ^ size));
    }

private:
    static std::uint64_t fold(std::uint64_t a, std::uint64_t b)
    {
        __extension__ using Wide = unsigned __int128;
        const Wide product = static_cast<Wide>(a) * b;
        return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64U);
    }
};

struct TextEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const
    {
        if (a.size() != b.size())
            return false;
        // Ports and addresses are short: comparing inline beats a call to memcmp.
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (a[i] != b[i])
                return false;
        }
        return true;
    }
};

template <typename Value>
using TextMap = absl::flat_hash_map<std::string, Value, TextHash, TextEqual>;
using TextSet = absl::flat_hash_set<std::string, TextHash, TextEqual>;

} // namespace rovex
