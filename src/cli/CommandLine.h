#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace rovex::cli {

// A usage mistake: reported in one line, exit code 2.
class UsageError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The options of one command: which take a value, which are flags, which may repeat.
struct OptionRules {
    std::set<std::string> withValue;
    std::set<std::string> flags;
};

// A command's arguments split into options and operands. "--name value" and
// "--name=value" both work; "--" ends the options.
class CommandLine final {
public:
    CommandLine(const std::vector<std::string>& arguments, const OptionRules& rules);

    bool flag(const std::string& name) const { return m_flags.contains(name); }
    std::optional<std::string> value(const std::string& name) const;
    std::vector<std::string> values(const std::string& name) const;
    const std::vector<std::string>& operands() const { return m_operands; }

    // The option's value as a whole number from minimum to maximum, nothing when it is not
    // given; anything else is a usage error ("--top needs a whole number of rows from 1").
    std::optional<std::int64_t> wholeNumber(const std::string& name, const std::string& unit, std::int64_t minimum,
                                            std::int64_t maximum = INT64_MAX) const;

private:
    std::set<std::string> m_flags;
    std::multimap<std::string, std::string> m_values;
    std::vector<std::string> m_operands;
};

} // namespace rovex::cli
