#include "core/model/NVText.h"

#include <gtest/gtest.h>

#include <string>

TEST(Text, PercentDecodingRefusesBrokenEscapesAndNonText)
{
    std::string out = "kept";
    EXPECT_TRUE(nv_percent_decode("a%20b%2fc%2F", out));
    EXPECT_EQ(out, "a b/c/");
    EXPECT_TRUE(nv_percent_decode("%e4%b8%ad", out));
    EXPECT_EQ(out, "\xe4\xb8\xad");
    for (const char* bad : {"%", "50%", "%2", "%g0", "%ff", "%c0%af", "%ed%a0%80", "%f4%90%80%80"}) {
        out = "kept";
        EXPECT_FALSE(nv_percent_decode(bad, out)) << bad;
        EXPECT_EQ(out, "kept");
    }
}

TEST(Text, LenientDecodingKeepsStrayPercentSigns)
{
    EXPECT_EQ(nv_percent_decode_lenient("/opt/My%20App/run"), "/opt/My App/run");
    EXPECT_EQ(nv_percent_decode_lenient("caf%C3%A9%2f"), "caf\xC3\xA9/");
    EXPECT_EQ(nv_percent_decode_lenient("a%20b%zz100%"), "a b%zz100%");
    EXPECT_EQ(nv_percent_decode_lenient("%ff%4"), "\xff%4") << "bytes, not necessarily UTF-8";
}

TEST(Text, BufferReadsStopAtTheEndOfAnUnterminatedBuffer)
{
    char buf[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(nv_buffer_text(buf), "abcd");
    nv_copy_to_buffer(buf, "xyz123");
    EXPECT_EQ(std::string(buf), "xyz");
    nv_copy_to_buffer(buf, "q");
    EXPECT_EQ(buf[2], 0);
    EXPECT_EQ(nv_replace_all("%20a%20%20", "%20", " "), " a  ");
}

TEST(Text, CopyCutsOnACharacterBoundary)
{
    char buf[8];
    EXPECT_TRUE(nv_copy_text(buf, sizeof buf, "abc"));
    EXPECT_STREQ(buf, "abc");
    EXPECT_TRUE(nv_copy_text(buf, sizeof buf, "1234567"));
    EXPECT_STREQ(buf, "1234567");
    EXPECT_FALSE(nv_copy_text(buf, sizeof buf, "12345678"));
    EXPECT_STREQ(buf, "1234567");
    // "12345" then a three-byte character that would straddle the end.
    EXPECT_FALSE(nv_copy_text(buf, sizeof buf, "12345\xE6\x8C\x89"));
    EXPECT_STREQ(buf, "12345");
    EXPECT_FALSE(nv_copy_text(buf, sizeof buf, "123456\xC3\xA9"));
    EXPECT_STREQ(buf, "123456");
}

TEST(Text, CopyOfAnEmptyViewTerminatesTheBuffer)
{
    char buf[4] = {'x', 'x', 'x', 'x'};
    EXPECT_TRUE(nv_copy_text(buf, sizeof buf, std::string_view()));
    EXPECT_EQ(buf[0], '\0');
}
