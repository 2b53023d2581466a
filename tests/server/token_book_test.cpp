// The token book on its own: one use per token, expiry by the injected clock, bounded size.
#include "token_book.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace vm::scored;
using namespace std::chrono_literals;
using TTime = std::chrono::steady_clock::time_point;

TEST(TokenBook, TokensAreRandomAlphanumericAndRedeemOnce)
{
    TTokenBook Book;
    std::set<std::string> Seen;
    std::set<char> Symbols;
    for (int I = 0; I < 2000; ++I)
    {
        const std::string Token = Book.Issue();
        ASSERT_EQ(Token.size(), TTokenBook::TokenLength);
        for (const char C : Token)
        {
            ASSERT_TRUE(std::isalnum(static_cast<unsigned char>(C))) << Token;
            Symbols.insert(C);
        }
        ASSERT_TRUE(Seen.insert(Token).second) << Token;
    }
    EXPECT_EQ(Symbols.size(), 62u); // upper case, lower case and digits all appear
    const std::string Token = *Seen.begin();
    EXPECT_EQ(Book.Redeem(Token), TTokenBook::ERedeem::Accepted);
    EXPECT_EQ(Book.Redeem(Token), TTokenBook::ERedeem::Unknown);
    EXPECT_EQ(Book.Redeem(""), TTokenBook::ERedeem::Unknown);
    EXPECT_EQ(Book.Redeem("AAAAAAAAAAAAAAAA"), TTokenBook::ERedeem::Unknown);
    EXPECT_EQ(Book.Size(), 1999u);
}

TEST(TokenBook, ExpiredTokensAreRefusedAndDroppedWhenNewOnesAreIssued)
{
    TTime Now{};
    TTokenBook Book([&Now] { return Now; }, 600s, 1000);
    const std::string First = Book.Issue();
    Now += 300s;
    const std::string Second = Book.Issue();
    const std::string Third = Book.Issue();
    Now += 300s; // First is exactly ten minutes old
    EXPECT_EQ(Book.Redeem(First), TTokenBook::ERedeem::Expired);
    EXPECT_EQ(Book.Redeem(Second), TTokenBook::ERedeem::Accepted);
    Now += 300s;
    EXPECT_EQ(Book.Size(), 1u);
    Book.Issue(); // drops Third, which has expired by now
    EXPECT_EQ(Book.Size(), 1u);
    EXPECT_EQ(Book.Redeem(Third), TTokenBook::ERedeem::Unknown);
}

TEST(TokenBook, AFullBookDropsItsOldestToken)
{
    TTime Now{};
    TTokenBook Book([&Now] { return Now; }, 600s, 3);
    const std::string Oldest = Book.Issue();
    const std::string Second = Book.Issue();
    const std::string Third = Book.Issue();
    const std::string Fourth = Book.Issue();
    EXPECT_EQ(Book.Size(), 3u);
    EXPECT_EQ(Book.Redeem(Oldest), TTokenBook::ERedeem::Unknown);
    EXPECT_EQ(Book.Redeem(Third), TTokenBook::ERedeem::Accepted);
    // The freed slot is reused without dropping another token.
    Book.Issue();
    EXPECT_EQ(Book.Redeem(Second), TTokenBook::ERedeem::Accepted);
    EXPECT_EQ(Book.Redeem(Fourth), TTokenBook::ERedeem::Accepted);
}

} // namespace
