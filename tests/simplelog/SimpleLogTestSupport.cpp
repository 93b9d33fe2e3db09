#include "SimpleLogTestSupport.h"

#include "text/SplitText.h"

#include <array>

namespace rovex::test {

namespace {

template <typename T, std::size_t N>
const T& pick(std::mt19937& random, const std::array<T, N>& choices)
{
    return choices[std::uniform_int_distribution<std::size_t>(0, N - 1)(random)];
}

std::size_t below(std::mt19937& random, std::size_t bound)
{
    return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random);
}

// Mostly one space, sometimes a run that halving turns into an empty field.
std::string separator(std::mt19937& random)
{
    static constexpr std::array<std::size_t, 10> runs{1, 1, 1, 1, 1, 1, 2, 3, 4, 5};
    return std::string(pick(random, runs), ' ');
}

std::string endpoint(std::mt19937& random)
{
    static constexpr std::array<std::string_view, 5> ports{"22", "80", "4321", "5353", "65535"};
    const std::string port(pick(random, ports));
    switch (below(random, 10)) {
    case 0: return "10.0.0." + std::to_string(below(random, 256)); // no port
    case 1: return "0.0.0.0.68";
    case 2: return "::.546";
    case 3: return "@0";
    case 4:
    case 5: return "fe80::" + std::to_string(below(random, 99)) + "." + port;
    default:
        return "192.168." + std::to_string(below(random, 256)) + "." + std::to_string(below(random, 256)) + "." + port;
    }
}

std::string pfLine(std::mt19937& random)
{
    static constexpr std::array<std::string_view, 5> actions{"block", "pass", "block", "pass", "Block"};
    static constexpr std::array<std::string_view, 5> directions{"in", "out", "in", "out", "fwd"};
    static constexpr std::array<std::string_view, 3> interfaces{"en0:", "utun1:", "lo0"};
    std::string line = "Dec" + separator(random) + std::to_string(1 + below(random, 31))
        + " 10:00:01 mymac pf:" + separator(random) + "00:00:00.1 rule 1/0(match):" + separator(random);
    line += std::string(pick(random, actions)) + separator(random) + std::string(pick(random, directions)) + " on "
        + std::string(pick(random, interfaces)) + " " + endpoint(random) + separator(random) + ">" + " "
        + endpoint(random) + ": Flags [S], seq 1" + separator(random) + "caf\xC3\xA9";
    return line;
}

std::string randomLine(std::mt19937& random, bool longLines)
{
    std::string line;
    switch (below(random, 12)) {
    case 0: break;
    case 1: line.assign(1 + below(random, 40), ' '); break;
    case 2: line = "too short line"; break;
    default: line = pfLine(random);
    }
    if (below(random, 15) == 0 && !line.empty())
        line.insert(below(random, line.size()), below(random, 2) == 0 ? "\xFF" : "\xC3\x28");
    if (longLines && below(random, 25) == 0)
        line += " " + std::string(20'000 + below(random, 50'000), 'x');
    return line;
}

} // namespace

std::vector<std::string> rowFields(const RXSimpleLog& row)
{
    return {std::string(row.logString()),
            std::string(row.logMonth()),
            std::string(row.logDay()),
            std::string(row.logTime()),
            std::string(row.logAction()),
            std::string(row.logDirection()),
            std::string(row.logInterface()),
            std::string(row.logFirstAddress()),
            std::string(row.logFirstPort()),
            std::string(row.logSecondAddress()),
            std::string(row.logSecondPort()),
            std::string(row.logActionImage()),
            std::string(row.logFirstPortImage()),
            std::string(row.logFirstPortName()),
            std::string(row.logSecondPortImage()),
            std::string(row.logSecondPortName())};
}

std::vector<std::string> piecesOf(std::string_view text)
{
    std::vector<std::string> pieces;
    forEachPiece(text, '\n', [&pieces](std::string_view piece) { pieces.emplace_back(piece); });
    return pieces;
}

std::string randomLog(std::mt19937& random, bool longLines)
{
    if (below(random, 20) == 0)
        return std::string(below(random, 5), '\n');
    std::string log;
    const std::size_t lines = below(random, 41);
    for (std::size_t i = 0; i < lines; ++i) {
        if (i > 0)
            log.push_back('\n');
        log += randomLine(random, longLines);
    }
    if (lines > 0 && below(random, 2) == 0)
        log.push_back('\n');
    return log;
}

} // namespace rovex::test
