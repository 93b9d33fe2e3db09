// The quick check against the product's own reading: wherever it answers Kept, readPfLogLine
// keeps the line too, and it does answer for the product's ordinary lines (else the adapter
// would read every product line twice).
#include "intake/PfLineGrammar.h"
#include "intake/ProductLayoutCheck.h"
#include "sim/LogLineGenerator.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

using namespace rovex;

namespace {

// What the product's reading keeps: read with endpoints that split, or an excluded source.
bool productKeeps(std::string_view line)
{
    PfLogLine out;
    const LineOutcome outcome = readPfLogLine(line, out);
    return outcome == LineOutcome::ExcludedSource
        || (outcome == LineOutcome::Read
            && !(out.sourceAddress.empty() && out.sourcePort.empty() && out.destinationAddress.empty()
                 && out.destinationPort.empty()));
}

std::vector<std::string> generatedLines()
{
    LogLineGenerator generator(7, 300);
    std::vector<std::string> lines;
    for (int i = 0; i < 2000; ++i)
        lines.push_back(generator.next());
    return lines;
}

// Each line with its runs of spaces widened: two to four spaces are still one separator
// for the product, five and more are not.
std::vector<std::string> respaced(const std::string& line)
{
    std::vector<std::string> variants;
    for (const std::size_t width : {2U, 4U, 5U, 6U, 9U}) {
        for (std::size_t at = line.find(' '); at != std::string::npos && at < 160;
             at = line.find(' ', at + width + 1)) {
            std::string variant = line;
            variant.insert(at, width - 1, ' ');
            variants.push_back(std::move(variant));
        }
    }
    return variants;
}

std::vector<std::string> sampleLines()
{
    std::vector<std::string> lines;
    for (const char* file : {"real-lines.txt", "tcpdump-only.txt", "damaged-as-found.txt"}) {
        std::ifstream in(std::string(ROVEX_SAMPLES_DIR) + "/" + file);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
    }
    return lines;
}

// Reads lines as the adapter does: the quick check first, the product's reading where it
// is unsure (a line with too few spaces must be one it finds too short), learning the header from every line that reading keeps. Returns how many
// lines the quick check settled; every one of them must be one the product keeps.
std::size_t settledLines(const std::vector<std::string>& lines, std::size_t step)
{
    ProductLayoutCheck check;
    std::size_t settled = 0;
    for (const std::string& line : lines) {
        for (std::size_t size = step == 0 ? line.size() : 0; size <= line.size(); size += step == 0 ? 1 : step) {
            const std::string_view cut = std::string_view(line).substr(0, size);
            if (check.check(cut) == ProductCheck::Kept) {
                EXPECT_TRUE(productKeeps(cut)) << cut;
                ++settled;
                continue;
            }
            PfLogLine out;
            const LineOutcome outcome = readPfLogLine(cut, out);
            if (ProductLayoutCheck::hasTooFewSpaces(cut)) {
                EXPECT_EQ(outcome, LineOutcome::TooFewFields) << cut;
            }
            if (outcome == LineOutcome::Read && productKeeps(cut) && !out.action.empty())
                check.learn(cut, static_cast<std::size_t>(out.action.data() - cut.data()));
        }
    }
    return settled;
}

} // namespace

TEST(ProductLayoutCheck, KeptOnlyWhereTheProductReadingKeepsTheLine)
{
    std::vector<std::string> lines = generatedLines();
    lines.resize(300);
    const std::vector<std::string> samples = sampleLines();
    lines.insert(lines.end(), samples.begin(), samples.end());
    const std::string header = "Dec  6 10:00:00 host pf: 10:00:00.000001 rule 1/0(match): ";
    for (const char* rest :
         {"block in on en0: 1.2.3.4.5 > 6.7.8.9.10:", "block in on en0: :: > ff02::16:",
          "block in on en0: 0.0.0.0.68 > 255.255.255.255", "pass out on en0:  1.2.3.4.5 > 6.7.8.9.10:",
          "pass out on en0: 1.2.3.4.5 >     6.7.8.9.10:", "pass out on en0: 1.2.3.4.5 > 6.7.8.9.10",
          "block in on en0: 1.2.3.4.5 > 6.7.8.9", "block in on en0: fe80::1.5 > ff02::1.6 x"})
        lines.push_back(header + rest);
    const std::size_t count = lines.size();
    for (std::size_t i = 0; i < count; ++i) {
        for (const std::string& variant : respaced(lines[i]))
            lines.push_back(variant);
    }
    EXPECT_GT(settledLines(lines, 1), 10000U);
}

TEST(ProductLayoutCheck, SettlesTheProductsOrdinaryLines)
{
    const std::vector<std::string> lines = generatedLines();
    std::size_t kept = 0;
    for (const std::string& line : lines)
        kept += productKeeps(line) ? 1U : 0U;
    // All but the first line, from which the header is learnt.
    EXPECT_EQ(settledLines(lines, 0), kept - 1);
}
