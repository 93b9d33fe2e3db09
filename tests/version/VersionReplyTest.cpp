#include "version/VersionReply.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using rovex::decodeVersionReply;
using rovex::evaluateVersionReply;
using rovex::VersionVerdict;

TEST(VersionReply, VerdictPerReply)
{
    struct Case {
        std::optional<std::string> reply;
        VersionVerdict verdict;
    };
    const Case cases[] = {
        {"a#14", {"noupd", false}},
        {"a#14\r\n", {"noupd", false}},
        {"a#14#later", {"noupd", false}},
        {"a # 15\n", {"yesupd", true}},
        {"b#1", {"yesupgr", true}},
        {"a#13", {}},
        {"a", {}},
        {"a#", {}},
        {"a#fifteen", {}},
        {"a#99999999999999999999", {}},
        {"", {}},
        {std::nullopt, {"connlost", false}},
        // An error page with a link to an anchor: another "line", but no build number.
        {"<html><body><a href=\"#top\">Not Found</a></body></html>\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply.value_or("(no reply)"));
        const VersionVerdict verdict = evaluateVersionReply(c.reply);
        EXPECT_EQ(verdict.alert, c.verdict.alert);
        EXPECT_EQ(verdict.openSite, c.verdict.openSite);
    }
}

TEST(VersionReply, DecodesOnlyAsciiBytes)
{
    EXPECT_EQ(decodeVersionReply("a#14\n"), "a#14\n");
    EXPECT_EQ(decodeVersionReply(std::string("a#14\0\x7f", 6)), std::string("a#14\0\x7f", 6));
    EXPECT_FALSE(decodeVersionReply(""));
    EXPECT_FALSE(decodeVersionReply("a#14\x80"));
    EXPECT_FALSE(decodeVersionReply("a#1\xC3\xA9"));
}
