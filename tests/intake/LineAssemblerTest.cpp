#include "intake/LineAssembler.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using rovex::LineAssembler;

namespace {

struct Collected {
    LineAssembler assembler;
    std::vector<std::string> lines;
    std::function<void(std::string_view)> sink = [this](std::string_view line) { lines.emplace_back(line); };
};

} // namespace

TEST(LineAssembler, CompletesLinesAcrossReads)
{
    Collected c;
    c.assembler.feed("first line\nsecond ", c.sink);
    EXPECT_EQ(c.lines, std::vector<std::string>{"first line"});
    c.assembler.feed("li", c.sink);
    c.assembler.feed("ne\nthird\n", c.sink);
    EXPECT_EQ(c.lines, (std::vector<std::string>{"first line", "second line", "third"}));
    EXPECT_EQ(c.assembler.heldBytes(), 0U);
    c.assembler.feed("\n\n", c.sink);
    EXPECT_EQ(c.lines.size(), 5U); // blank lines are lines too; the classifier skips them
}

TEST(LineAssembler, EndOfFileHandsOnTheHeldPieceOnce)
{
    Collected c;
    c.assembler.feed("whole\nhalf a li", c.sink);
    c.assembler.endOfFile(c.sink);
    c.assembler.endOfFile(c.sink);
    c.assembler.feed("ne of the new file\n", c.sink);
    EXPECT_EQ(c.lines, (std::vector<std::string>{"whole", "half a li", "ne of the new file"}));
}

TEST(LineAssembler, AnInvalidLineLosesOnlyItself)
{
    Collected c;
    c.assembler.feed("before\nbad \xC3", c.sink);
    c.assembler.feed("\x28 line\nafter \xE2\x80", c.sink); // the bad byte pair spans two reads
    c.assembler.feed("\x99 fine\n", c.sink);               // a valid character split across reads
    EXPECT_EQ(c.lines, (std::vector<std::string>{"before", "after \xE2\x80\x99 fine"}));
    EXPECT_EQ(c.assembler.invalidLines(), 1U);
}
