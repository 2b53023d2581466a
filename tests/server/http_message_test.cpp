// Reading a request's target: percent-decoding, blanks, repeated and bare keys, and bad escapes.
#include "http_message.h"

#include <gtest/gtest.h>

namespace {

using namespace vm::scored;

TEST(HttpMessage, TheTargetSplitsIntoADecodedPathAndParametersInOrder)
{
    THttpRequest Request;
    SetTarget(Request, "/cgi/version%2Epl?version&prg=Velo%6Darch&name=Ann+Lee%2B1&&x=1&x=2&=v&e=");
    EXPECT_EQ(Request.FPath, "/cgi/version.pl");
    EXPECT_EQ(Request.FTarget, "/cgi/version%2Epl?version&prg=Velo%6Darch&name=Ann+Lee%2B1&&x=1&x=2&=v&e=");
    EXPECT_TRUE(Request.HasParam("version"));
    EXPECT_EQ(Request.Param("version"), "");
    EXPECT_EQ(Request.Param("prg"), "Velomarch");
    EXPECT_EQ(Request.Param("name"), "Ann Lee+1");
    EXPECT_EQ(Request.ParamCount("x"), 2u);
    EXPECT_EQ(Request.Param("x"), "1"); // the first of a repeated key
    EXPECT_EQ(Request.Param(""), "v");
    EXPECT_TRUE(Request.HasParam("e"));
    EXPECT_FALSE(Request.HasParam("missing"));
    EXPECT_EQ(Request.Param("missing"), "");

    // A "+" in the path is a plus; no query at all leaves no parameters.
    SetTarget(Request, "/a+b");
    EXPECT_EQ(Request.FPath, "/a+b");
    EXPECT_TRUE(Request.FParams.empty());
}

TEST(HttpMessage, BrokenEscapesAreKeptAsSentAndNulBytesDecode)
{
    EXPECT_EQ(PercentDecode("100%", false), "100%");
    EXPECT_EQ(PercentDecode("%4", false), "%4");
    EXPECT_EQ(PercentDecode("%zz%4g%%41", false), "%zz%4g%A");
    EXPECT_EQ(PercentDecode("a%00b", false), std::string("a\0b", 3));
    EXPECT_EQ(PercentDecode("%ff%FF", false), "\xff\xff");
}

} // namespace
