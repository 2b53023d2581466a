// Tests of the line encoding every stored line goes through.
#include "common/line_codec.h"
#include "persist/stored_lines.h"

#include <gtest/gtest.h>

namespace vm {
namespace {

std::string Symbols(std::initializer_list<int> Values)
{
    std::string Line;
    for (const int V : Values)
        Line += LineAlphabet[static_cast<std::size_t>(V)];
    return Line;
}

TEST(LineCodec, EncodesFiveBitGroupsMostSignificantFirst)
{
    // "abcde" = 01100 00101 10001 00110 00110 11001 00011 00101
    EXPECT_EQ(EncodeLine("abcde"), Symbols({12, 5, 17, 6, 6, 25, 3, 5}));
    EXPECT_EQ(EncodeLine(""), "");
    EXPECT_EQ(DecodeLine(""), "");
    // One byte: two zero bits in front, then 11111111.
    EXPECT_EQ(EncodeLine("\xff"), Symbols({7, 31}));
}

TEST(LineCodec, TextsOfFiveByteMultiplesComeBackExactly)
{
    std::string All;
    for (int B = 0; B < 256; ++B)
        All += static_cast<char>(B);
    All += "1234"; // 260 bytes, a multiple of 5
    const std::string Line = EncodeLine(All);
    EXPECT_EQ(Line.size(), 260u * 8 / 5);
    EXPECT_EQ(Line.find_first_not_of(LineAlphabet), std::string::npos);
    EXPECT_EQ(DecodeLine(Line), All);
}

TEST(LineCodec, ShortTextsComeBackWithZeroBytesInFront)
{
    // "true" unpadded: 32 bits, 7 characters, which decode to 40 bits: a zero byte, then "true".
    const std::string Line = EncodeLine("true");
    EXPECT_EQ(Line.size(), 7u);
    EXPECT_EQ(DecodeLine(Line), std::string("\0true", 5));
    EXPECT_EQ(DecodeLine(EncodeLine("false")), "false");
    // Characters outside the table add nothing.
    EXPECT_EQ(DecodeLine("#" + EncodeLine("false") + "-"), "false");
}

TEST(StoredValues, PaddingIsAddedAndStripped)
{
    std::string Content;
    AppendStoredLine(Content, "abc", 5);
    AppendStoredLine(Content, "abcde", 5);
    AppendStoredLine(Content, "", 10);
    AppendStoredLine(Content, "true", 0);
    EXPECT_EQ(Content,
              EncodeLine("abc%%") + "\r\n" + EncodeLine("abcde") + "\r\n\r\n" + EncodeLine("true") + "\r\n");

    EXPECT_EQ(StripPadding("%%%%%"), "");
    EXPECT_EQ(StripPadding("a%b%%"), "a%b");
    EXPECT_EQ(StripPadding("%ab"), "%ab");
}

TEST(StoredValues, NumbersAreWholeDecimalThirtyTwoBitTexts)
{
    EXPECT_EQ(ParseStoredInt("0"), 0);
    EXPECT_EQ(ParseStoredInt("-17"), -17);
    EXPECT_EQ(ParseStoredInt("2147483647"), 2147483647);
    EXPECT_EQ(ParseStoredInt("-2147483648"), INT32_MIN);
    for (const char* Bad : {"", "-", "+5", " 5", "5 ", "12a", "0x10", "2147483648", "-2147483649", "1e3",
                            "99999999999999999999"})
        EXPECT_FALSE(ParseStoredInt(Bad).has_value()) << '"' << Bad << '"';
}

} // namespace
} // namespace vm
