#include "cli/CommandLine.h"

#include "text/DecimalText.h"

namespace rovex::cli {

CommandLine::CommandLine(const std::vector<std::string>& arguments, const OptionRules& rules)
{
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || !argument.starts_with("--") || argument == "-") {
            m_operands.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        if (rules.flags.contains(name) && equals == std::string::npos) {
            m_flags.insert(name);
        } else if (rules.withValue.contains(name)) {
            if (equals != std::string::npos)
                m_values.emplace(name, argument.substr(equals + 1));
            else if (i + 1 < arguments.size())
                m_values.emplace(name, arguments[++i]);
            else
                throw UsageError("option " + name + " needs a value");
        } else {
            throw UsageError("unknown option " + argument);
        }
    }
}

std::optional<std::string> CommandLine::value(const std::string& name) const
{
    const auto found = m_values.equal_range(name);
    if (found.first == found.second)
        return std::nullopt;
    return std::prev(found.second)->second; // the last one given wins
}

std::optional<std::int64_t> CommandLine::wholeNumber(const std::string& name, const std::string& unit,
                                                     std::int64_t minimum, std::int64_t maximum) const
{
    const auto text = value(name);
    if (!text)
        return std::nullopt;
    const auto number = readDecimal(*text);
    if (!number || *number < minimum || *number > maximum)
        throw UsageError(name + " needs a whole number of " + unit + " from " + std::to_string(minimum));
    return number;
}

std::vector<std::string> CommandLine::values(const std::string& name) const
{
    std::vector<std::string> result;
    for (auto [it, end] = m_values.equal_range(name); it != end; ++it)
        result.push_back(it->second);
    return result;
}

} // namespace rovex::cli
