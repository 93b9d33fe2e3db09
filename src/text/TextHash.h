#pragma once

#include <absl/container/flat_hash_map.h>
#include <absl/container/flat_hash_set.h>
#include <absl/hash/hash.h>
#include <absl/strings/string_view.h>

#include <string>
#include <string_view>

namespace rovex {

// Hash and equality over std::string_view for abseil's tables, so that a table keyed by
// std::string is searched with a view of the log line without building a string. (The
// packaged abseil has its own string_view type, which std::string_view does not convert to.)
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const
    {
        return absl::Hash<absl::string_view>{}(absl::string_view(text.data(), text.size()));
    }
};

struct TextEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return a == b; }
};

template <typename Value>
using TextMap = absl::flat_hash_map<std::string, Value, TextHash, TextEqual>;
using TextSet = absl::flat_hash_set<std::string, TextHash, TextEqual>;

} // namespace rovex
