#include "text/Utf8.h"

#include <gtest/gtest.h>

#include <string>

using rovex::isValidUtf8;

TEST(Utf8, AcceptsWellFormedText)
{
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_TRUE(isValidUtf8("Dec  4 10:00:00 host pf: block in on en0: 1.2.3.4.5 > 5.6.7.8.22:"));
    EXPECT_TRUE(isValidUtf8("Noman\xE2\x80\x99s MacBook Pro"));        // U+2019
    EXPECT_TRUE(isValidUtf8("\xF0\x9F\x94\xA5 and \xF4\x8F\xBF\xBF")); // U+1F525, U+10FFFF
}

TEST(Utf8, RejectsMalformedSequencesAnywhereInTheLine)
{
    const std::string prefix(20, 'a'); // past the eight-byte fast path
    for (const std::string bad :
         {"\xFF", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x80", "\x80", "\xC3("}) {
        EXPECT_FALSE(isValidUtf8(bad)) << "alone";
        EXPECT_FALSE(isValidUtf8(prefix + bad + prefix)) << "inside";
        EXPECT_FALSE(isValidUtf8(prefix + bad)) << "at the end";
    }
}
