// Checking the score text on its own: what the game sends is accepted exactly, names by their rules.
#include "server_test_support.h"
#include "submission.h"

#include <gtest/gtest.h>

namespace {

using namespace vm::scored;
using namespace vm::scored::test;

TEST(Submission, TheGamesTextComesBackFieldForField)
{
    // Lengths 0..4 modulo 5 before padding all decode exactly.
    for (const std::string Name : {"A", "Bb", "Ccc", "Dddd", "Eeeee"})
    {
        const TSubmissionCheck Check = CheckSubmission(ScoreInf(Name, "999999999", "tok3N", "Online"));
        ASSERT_TRUE(Check.FSubmission) << Check.FReason;
        EXPECT_EQ(Check.FSubmission->FName, Name);
        EXPECT_EQ(Check.FSubmission->FScore, MaxScore);
        EXPECT_EQ(Check.FSubmission->FToken, "tok3N");
        EXPECT_EQ(Check.FSubmission->FOnlineName, "Online");
    }
    const TSubmissionCheck Zero = CheckSubmission(ScoreInf("Z", "0", "t", ""));
    ASSERT_TRUE(Zero.FSubmission);
    EXPECT_EQ(Zero.FSubmission->FScore, 0);
}

TEST(Submission, NamesCountCharactersNotBytes)
{
    EXPECT_EQ(CleanName("ÄÑÖÜ€𝄞abcdef", 1, 12), std::optional<std::string>("ÄÑÖÜ€𝄞abcdef"));
    EXPECT_FALSE(CleanName("ÄÑÖÜ€𝄞abcdefg", 1, 12));
    EXPECT_EQ(CleanName("  twelve chars  ", 1, 12), std::optional<std::string>("twelve chars"));
    EXPECT_EQ(CleanName("", 0, 12), std::optional<std::string>(""));
    EXPECT_FALSE(CleanName("", 1, 12));
    EXPECT_FALSE(CleanName("a|b", 1, 12));
    EXPECT_FALSE(CleanName("a\xE2\x80\xA8", 1, 12));    // line separator
    EXPECT_FALSE(CleanName("\xF4\x90\x80\x80", 1, 12)); // beyond U+10FFFF
    EXPECT_FALSE(CleanName("\xE2\x82", 1, 12));         // cut off
    EXPECT_FALSE(CleanName("\x80", 1, 12));             // stray continuation byte
    EXPECT_FALSE(CleanName(std::string("a\0b", 3), 1, 12));
}

TEST(Submission, RefusalsGiveAFixedReasonNotTheInput)
{
    const TSubmissionCheck Check = CheckSubmission(ScoreInf("<script>x", "-1", "t", ""));
    EXPECT_FALSE(Check.FSubmission);
    EXPECT_EQ(Check.FReason, "bad score");
    EXPECT_EQ(CheckSubmission(std::string(1032, 'Q')).FReason, "bad length");
}

} // namespace
