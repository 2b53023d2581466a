// Tokens and each address's limits in the store itself, against each store: one use per token,
// expiry and refill by the store's clock, and limits that refuse one address without harming another.
#include "store_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

namespace {

using namespace vm::scored;
using namespace vm::scored::test;

class StoreTokens : public testing::TestWithParam<EStoreKind>
{
protected:
    // A fresh store with these limits and the clock at Now.
    std::unique_ptr<TScoreStore> Open(const TStoreLimits& Limits = NoLimits())
    {
        TStoreOptions Options;
        Options.FLimits = Limits;
        Options.FClock = [this] { return std::optional<double>(Now.load()); };
        return OpenStore(FreshStoreLocation(GetParam(), Folder), Options);
    }

    static TScoreRow Row(const std::string& Client = "10.0.0.1")
    {
        return TScoreRow{"Ann", 5, "", 100, Client};
    }

    // Issues a token to Client and insists that it was issued.
    static std::string Issue(TScoreStore& Store, const std::string& Client = "10.0.0.1")
    {
        const TIssueResult Issued = Store.IssueToken(Client);
        EXPECT_EQ(Issued.FOutcome, EIssue::Issued);
        return Issued.FToken;
    }

    vm::test::TTempDir Folder;
    std::atomic<double> Now{1000};
};

TEST_P(StoreTokens, TokensAreRandomAlphanumericAndRedeemOnce)
{
    const auto Store = Open();
    std::set<std::string> Seen;
    std::set<char> Symbols;
    for (int I = 0; I < 2000; ++I)
    {
        const std::string Token = Issue(*Store);
        ASSERT_EQ(Token.size(), TokenLength);
        for (const char C : Token)
        {
            ASSERT_TRUE(std::isalnum(static_cast<unsigned char>(C))) << Token;
            Symbols.insert(C);
        }
        ASSERT_TRUE(Seen.insert(Token).second) << Token;
    }
    EXPECT_EQ(Symbols.size(), 62u); // upper case, lower case and digits all appear
    const std::string Token = *Seen.begin();
    EXPECT_EQ(Store->Submit(Token, Row()).FOutcome, ESubmit::Stored);
    EXPECT_EQ(Store->Submit(Token, Row()).FOutcome, ESubmit::UnknownToken);
    EXPECT_EQ(Store->Submit("", Row()).FOutcome, ESubmit::UnknownToken);
    EXPECT_EQ(Store->Submit("AAAAAAAAAAAAAAAA", Row()).FOutcome, ESubmit::UnknownToken);
    EXPECT_EQ(Store->TokenCount(), 1999);
    EXPECT_EQ(Store->Count(), 1);
}

TEST_P(StoreTokens, ExpiredTokensAreRefusedAndDeletedByTheSweep)
{
    const auto Store = Open();
    const std::string First = Issue(*Store);
    Now = Now + 300;
    const std::string Second = Issue(*Store);
    const std::string Third = Issue(*Store);
    Now = Now + 300; // First is exactly ten minutes old
    EXPECT_EQ(Store->Submit(First, Row()).FOutcome, ESubmit::ExpiredToken);
    EXPECT_EQ(Store->Submit(First, Row()).FOutcome, ESubmit::UnknownToken); // forgotten now
    EXPECT_EQ(Store->Submit(Second, Row()).FOutcome, ESubmit::Stored);
    EXPECT_EQ(Store->TokenCount(), 1);
    // Long after Third expired, the next issue sweeps it away: the table stays bounded.
    Now = Now + 1300;
    Issue(*Store);
    EXPECT_EQ(Store->TokenCount(), 1);
    EXPECT_EQ(Store->Submit(Third, Row()).FOutcome, ESubmit::UnknownToken);
    EXPECT_EQ(Store->Count(), 1);
}

// A flooding address is refused once it holds its pending tokens or has emptied its bucket; no other
// address's token is dropped to make room, and a redeemed token frees a place.
TEST_P(StoreTokens, AFloodingAddressIsRefusedAndAnotherAddressKeepsItsToken)
{
    TStoreLimits Limits = NoLimits();
    Limits.FPendingTokens = 3;
    Limits.FTokensPerMinute = 60;
    Limits.FTokenBurst = 5;
    const auto Store = Open(Limits);
    const std::string Other = Issue(*Store, "10.0.0.2");
    std::vector<std::string> Flood;
    for (int I = 0; I < 3; ++I)
        Flood.push_back(Issue(*Store, "10.6.6.6"));
    TIssueResult Refused = Store->IssueToken("10.6.6.6");
    EXPECT_EQ(Refused.FOutcome, EIssue::TooManyPending);
    EXPECT_EQ(Refused.FRetryAfter, 600); // when the oldest of the three expires
    EXPECT_TRUE(Refused.FToken.empty());

    // Redeeming one frees a place; the bucket (5, one used per issue) still has two.
    EXPECT_EQ(Store->Submit(Flood[0], Row("10.6.6.6")).FOutcome, ESubmit::Stored);
    Issue(*Store, "10.6.6.6");
    EXPECT_EQ(Store->Submit(Flood[1], Row("10.6.6.6")).FOutcome, ESubmit::Stored);
    Issue(*Store, "10.6.6.6");
    EXPECT_EQ(Store->Submit(Flood[2], Row("10.6.6.6")).FOutcome, ESubmit::Stored);
    // Five issued within the same second: the bucket is empty until it refills one a second.
    Refused = Store->IssueToken("10.6.6.6");
    EXPECT_EQ(Refused.FOutcome, EIssue::TooFast);
    EXPECT_EQ(Refused.FRetryAfter, 1);
    Now = Now + 1;
    Issue(*Store, "10.6.6.6");

    // The other address was never touched by any of it.
    EXPECT_EQ(Store->IssueToken("10.0.0.2").FOutcome, EIssue::Issued);
    EXPECT_EQ(Store->Submit(Other, Row("10.0.0.2")).FOutcome, ESubmit::Stored);
    EXPECT_EQ(Store->Count(), 4);
}

TEST_P(StoreTokens, TheTokenBucketRefillsWithTheStoreClockUpToItsBurst)
{
    TStoreLimits Limits = NoLimits();
    Limits.FTokensPerMinute = 6; // one each ten seconds
    Limits.FTokenBurst = 2;
    const auto Store = Open(Limits);
    Issue(*Store);
    Issue(*Store);
    EXPECT_EQ(Store->IssueToken("10.0.0.1").FRetryAfter, 10);
    Now = Now + 4;
    TIssueResult Refused = Store->IssueToken("10.0.0.1");
    EXPECT_EQ(Refused.FOutcome, EIssue::TooFast);
    EXPECT_EQ(Refused.FRetryAfter, 6);
    Now = Now + 6;
    Issue(*Store);
    EXPECT_EQ(Store->IssueToken("10.0.0.1").FOutcome, EIssue::TooFast);
    // A long pause fills the bucket only up to its burst.
    Now = Now + 3600;
    Issue(*Store);
    Issue(*Store);
    EXPECT_EQ(Store->IssueToken("10.0.0.1").FOutcome, EIssue::TooFast);
    // A clock that went back neither refills nor breaks the bucket.
    Now = Now - 500;
    EXPECT_EQ(Store->IssueToken("10.0.0.1").FOutcome, EIssue::TooFast);
    EXPECT_EQ(Store->IssueToken("10.0.0.2").FOutcome, EIssue::Issued);
}

TEST_P(StoreTokens, TooManySubmissionsAreRefusedAndTheTokenStaysUsable)
{
    TStoreLimits Limits = NoLimits();
    Limits.FSubmissionsPerMinute = 30; // one each two seconds
    Limits.FSubmissionBurst = 2;
    const auto Store = Open(Limits);
    const std::string Tokens[] = {Issue(*Store), Issue(*Store), Issue(*Store)};
    EXPECT_EQ(Store->Submit(Tokens[0], Row()).FOutcome, ESubmit::Stored);
    EXPECT_EQ(Store->Submit(Tokens[1], Row()).FOutcome, ESubmit::Stored);
    const TSubmitResult Refused = Store->Submit(Tokens[2], Row());
    EXPECT_EQ(Refused.FOutcome, ESubmit::TooMany);
    EXPECT_EQ(Refused.FRetryAfter, 2);
    EXPECT_EQ(Store->TokenCount(), 1);
    // Another address's submission is not held back, whichever address its token was issued to.
    EXPECT_EQ(Store->Submit(Issue(*Store), Row("10.0.0.9")).FOutcome, ESubmit::Stored);
    // An unknown token does not use the bucket up.
    Now = Now + 2;
    EXPECT_EQ(Store->Submit("BBBBBBBBBBBBBBBB", Row()).FOutcome, ESubmit::UnknownToken);
    EXPECT_EQ(Store->Submit(Tokens[2], Row()).FOutcome, ESubmit::Stored);
    EXPECT_EQ(Store->Count(), 4);
}

// Two stores on one database are two server instances: a token issued by one is redeemed by the
// other exactly once, also when several threads of both race for it.
TEST_P(StoreTokens, TwoStoresOnOneDatabaseRedeemEachTokenOnce)
{
    TStoreOptions Options;
    Options.FLimits = NoLimits();
    const std::string Location = FreshStoreLocation(GetParam(), Folder);
    const auto First = OpenStore(Location, Options);
    const auto Second = OpenStore(Location, Options);
    const std::string Token = First->IssueToken("10.0.0.1").FToken;
    EXPECT_EQ(Second->Submit(Token, Row()).FOutcome, ESubmit::Stored);
    EXPECT_EQ(First->Submit(Token, Row()).FOutcome, ESubmit::UnknownToken);

    constexpr int Rounds = 40;
    std::atomic<int> Stored{0};
    std::atomic<int> Unknown{0};
    for (int Round = 0; Round < Rounds; ++Round)
    {
        const std::string Raced = Second->IssueToken("10.0.0.1").FToken;
        std::vector<std::thread> Racers;
        for (int I = 0; I < 4; ++I)
            Racers.emplace_back([&, I] {
                TScoreStore& Store = I % 2 == 0 ? *First : *Second;
                const ESubmit Outcome = Store.Submit(Raced, Row()).FOutcome;
                ++(Outcome == ESubmit::Stored ? Stored : Unknown);
            });
        for (auto& Racer : Racers)
            Racer.join();
    }
    EXPECT_EQ(Stored, Rounds);
    EXPECT_EQ(Unknown, 3 * Rounds);
    EXPECT_EQ(First->Count(), Rounds + 1);
    EXPECT_EQ(Second->TokenCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Sqlite, StoreTokens, testing::Values(EStoreKind::Sqlite), StoreKindName);
INSTANTIATE_TEST_SUITE_P(Postgres, StoreTokens, testing::Values(EStoreKind::Postgres), StoreKindName);

} // namespace
