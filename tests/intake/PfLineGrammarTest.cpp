#include "intake/PfLineGrammar.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

using namespace rovex;

namespace {

// The product's layout: five header fields between the time and the action.
std::string line(const std::string& action, const std::string& direction, const std::string& source,
                 const std::string& destination, const std::string& tail = " Flags [S], length 0")
{
    return "Dec  4 10:15:01 mymac pf: 00:00:00.606036 rule 1/0(match): " + action + " " + direction
        + " on en0: " + source + " > " + destination + tail;
}

// The reading of a line, copied out of the line's text.
struct Reading {
    std::string action, direction, sourceAddress, sourcePort, destinationAddress, destinationPort;
    bool portInRange = false;
};

Reading read(const std::string& text, LineOutcome expected = LineOutcome::Read)
{
    PfLogLine out;
    EXPECT_EQ(readPfLogLine(text, out), expected) << text;
    return {std::string(out.action),
            std::string(out.direction),
            std::string(out.sourceAddress),
            std::string(out.sourcePort),
            std::string(out.destinationAddress),
            std::string(out.destinationPort),
            out.portInRange};
}

} // namespace

TEST(PfLineGrammar, ReadsBothEndpointShapes)
{
    const Reading v4 = read(line("block", "in", "203.0.113.7.4321", "192.168.1.10.22:"));
    EXPECT_EQ(v4.action, "block");
    EXPECT_EQ(v4.direction, "in");
    EXPECT_EQ(v4.sourceAddress, "203.0.113.7");
    EXPECT_EQ(v4.sourcePort, "4321");
    EXPECT_EQ(v4.destinationAddress, "192.168.1.10");
    EXPECT_EQ(v4.destinationPort, "22");
    EXPECT_TRUE(v4.portInRange);

    const Reading v6 = read(line("pass", "in", "fe80::1c2a:3bff:fe4d:5e6f.5353", "ff02::fb.5353:"));
    EXPECT_EQ(v6.sourceAddress, "fe80::1c2a:3bff:fe4d:5e6f");
    EXPECT_EQ(v6.destinationAddress, "ff02::fb");
    EXPECT_EQ(v6.destinationPort, "5353");

    // Every ":" goes from a port, not only the trailing one.
    const Reading glued = read(line("pass", "out", "fe80::1.546", "ff02::1:2.547:dhcp6"));
    EXPECT_EQ(glued.destinationPort, "547dhcp6");
    EXPECT_FALSE(glued.portInRange);
}

TEST(PfLineGrammar, FifteenFieldsAreNeeded)
{
    const std::string fifteen = "a b c d e f g h block in on en0: 1.2.3.4.5 > 5.6.7.8.22:";
    EXPECT_EQ(read(fifteen).destinationPort, "22");
    read("a b c d e f g h block in on en0: 1.2.3.4.5 >", LineOutcome::TooFewFields);
    read("", LineOutcome::TooFewFields);
    // A trailing space makes an empty fifteenth field.
    EXPECT_EQ(read("b c d e f g h block in on en0: 1.2.3.4.5 > 5.6.7.8.22: ").action, "in");
}

TEST(PfLineGrammar, SpaceRunsNormaliseAsTheLayoutSays)
{
    const Reading padded = read(line("block", "in", "203.0.113.7.1", "10.0.0.1.22:"));
    std::string single = line("block", "in", "203.0.113.7.1", "10.0.0.1.22:");
    single.erase(4, 1); // "Dec 4" with one space
    EXPECT_EQ(read(single).destinationPort, padded.destinationPort);

    // Three or four spaces are one separator; five are two, shifting the action away.
    std::string four = single;
    four.replace(3, 1, "    ");
    EXPECT_EQ(read(four).action, "block");
    std::string five = single;
    five.replace(3, 1, "     ");
    EXPECT_EQ(read(five).action, "1/0(match):");
}

// The grammar finds runs of spaces 64 bytes at a time: runs of any length, straddling a
// block's edge or filling whole blocks, read as the two replace passes of the layout say.
TEST(PfLineGrammar, SpaceRunsReadAlikeWhereverTheyFall)
{
    const auto replaced = [](std::string text, const std::string& from) {
        for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; ++at)
            text.replace(at, from.size(), " ");
        return text;
    };
    const auto fieldsOf = [&](const std::string& text) {
        std::vector<std::string> fields;
        std::string normal = replaced(text, "   ");
        normal = replaced(normal, "  ");
        std::size_t start = 0;
        for (std::size_t at; (at = normal.find(' ', start)) != std::string::npos; start = at + 1)
            fields.push_back(normal.substr(start, at - start));
        fields.push_back(normal.substr(start));
        return fields;
    };
    for (std::size_t hostLength = 1; hostLength <= 70; ++hostLength) {
        const std::string plain = "Dec 4 10:15:01 " + std::string(hostLength, 'h')
            + " pf: 00:00:00.6 rule 1/0(match): block in on en0: 203.0.113.7.5 > 10.0.0.1.22: UDP, length 0";
        std::vector<std::size_t> separators;
        for (std::size_t at = 0; (at = plain.find(' ', at)) != std::string::npos; ++at)
            separators.push_back(at);
        for (const std::size_t separator : separators) {
            for (const std::size_t run : {2, 3, 4, 5, 6, 9, 64, 65, 130}) {
                std::string text = plain;
                text.replace(separator, 1, std::string(run, ' '));
                const std::vector<std::string> fields = fieldsOf(text);
                PfLogLine out;
                const LineOutcome outcome = readPfLogLine(text, out);
                if (fields.size() < 15) {
                    EXPECT_EQ(outcome, LineOutcome::TooFewFields) << text;
                    continue;
                }
                ASSERT_EQ(outcome, LineOutcome::Read) << text;
                EXPECT_EQ(out.action, fields[8]) << text;
                EXPECT_EQ(out.direction, fields[9]) << text;
                if (!out.destinationAddress.empty())
                    EXPECT_TRUE(fields[14].starts_with(std::string(out.destinationAddress) + ".")) << text;
            }
        }
    }
}

TEST(PfLineGrammar, ExcludedSources)
{
    for (const char* source : {"0.0.0.0.68", "::.546", "@0", "\"pdl=x\"", "0.0.0.01.2"})
        read(line("block", "in", source, "255.255.255.255.67:"), LineOutcome::ExcludedSource);
    EXPECT_EQ(read(line("block", "in", "10.0.0.0.80", "10.0.0.1.22:")).sourceAddress, "10.0.0.0");
    EXPECT_EQ(read(line("block", "in", "\"pdf=x\".1", "fe80::1.22:")).sourceAddress, "\"pdf=x\"");
}

TEST(PfLineGrammar, TheRealLineOfTheProductLayout)
{
    // Of the collected real lines, the syslog line with a priority field is the one laid
    // out exactly as the firewall product writes; the others put the action elsewhere.
    std::ifstream file(std::string(ROVEX_SAMPLES_DIR) + "/real-lines.txt");
    std::vector<std::string> lines;
    for (std::string text; std::getline(file, text);)
        lines.push_back(text);
    ASSERT_EQ(lines.size(), 7U);
    const Reading out = read(lines[6]);
    EXPECT_EQ(out.action, "block");
    EXPECT_EQ(out.sourceAddress, "111.111.111.11");
    EXPECT_EQ(out.destinationAddress, "12.12.12.12");
    EXPECT_EQ(out.destinationPort, "123");
    EXPECT_EQ(read(lines[0]).action, "rule"); // its action sits at field 10
}
