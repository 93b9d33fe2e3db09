#include "text/AsciiText.h"

#include <gtest/gtest.h>

#include <string>

using rovex::asciiText;

TEST(AsciiText, AsciiStaysAndEveryOtherByteIsOneReplacement)
{
    EXPECT_EQ(asciiText(std::string("line\tone\n\0\x7f", 11)), std::string("line\tone\n\0\x7f", 11));
    // A well-formed two-byte sequence is still two bytes outside ASCII: two replacements.
    EXPECT_EQ(asciiText("caf\xC3\xA9\n"), "caf\xEF\xBF\xBD\xEF\xBF\xBD\n");
    EXPECT_EQ(asciiText("\x80x\xFF"), "\xEF\xBF\xBDx\xEF\xBF\xBD");
    EXPECT_EQ(asciiText(""), "");
}
