// The score server over real HTTP on loopback: version replies, submissions, tokens, refusals, the
// table page and the request limits.
#include "server_test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <set>
#include <vector>

namespace {

using namespace vm::scored;
using namespace vm::scored::test;

std::vector<std::string> SplitBars(const std::string& Text)
{
    std::vector<std::string> Fields;
    std::size_t Start = 0;
    for (std::size_t Bar; (Bar = Text.find('|', Start)) != std::string::npos; Start = Bar + 1)
        Fields.push_back(Text.substr(Start, Bar - Start));
    Fields.push_back(Text.substr(Start));
    return Fields;
}

// Every test runs against each store.
class ScoreServer : public testing::TestWithParam<EStoreKind>
{};

TEST_P(ScoreServer, VersionReplyHasTheGameShapeAndAFreshTokenEachTime)
{
    TRunningServer Running(GetParam());
    ASSERT_GT(Running.Port, 0);
    std::set<std::string> Seen;
    for (int I = 0; I < 20; ++I)
    {
        const auto [Status, Body] = Running.Get("version&prg=Velomarch");
        ASSERT_EQ(Status, 200);
        const auto Fields = SplitBars(Body);
        ASSERT_EQ(Fields.size(), 6u) << Body; // OK|version|motd|reserved|token| and nothing after
        EXPECT_EQ(Fields[0], "OK");
        EXPECT_FALSE(Fields[1].empty());
        EXPECT_EQ(Fields[5], "");
        const std::string& Token = Fields[4];
        EXPECT_EQ(Token, TokenOf(Body));
        ASSERT_EQ(Token.size(), 16u);
        for (const char C : Token)
            EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(C))) << Token;
        EXPECT_TRUE(Seen.insert(Token).second) << "token repeated: " << Token;
    }
}

TEST_P(ScoreServer, GoodSubmissionStoresOneRowAndItsTokenOnlyOnce)
{
    TRunningServer Running(GetParam());
    const std::string Token = Running.FreshToken();
    const std::string Inf = ScoreInf("  Ann Ö  ", "123450", Token, "ann.online");
    EXPECT_EQ(Running.Submit(Inf), std::make_pair(200, std::string("OK")));

    ASSERT_EQ(Running.Store->Count(), 1);
    const auto Rows = Running.Store->Top(10);
    EXPECT_EQ(Rows[0].FName, "Ann Ö"); // blanks trimmed, UTF-8 kept
    EXPECT_EQ(Rows[0].FScore, 123450);
    EXPECT_EQ(Rows[0].FOnlineName, "ann.online");
    EXPECT_EQ(Rows[0].FClient, "127.0.0.1");
    EXPECT_GT(Rows[0].FTime, 1600000000); // the wall clock, not the token clock

    // The same request again (a replay) and the same token with another score are both refused.
    EXPECT_EQ(Running.Submit(Inf), std::make_pair(400, std::string("ERR unknown token")));
    EXPECT_EQ(Running.Submit(ScoreInf("Ann", "999", Token, "")).first, 400);
    EXPECT_EQ(Running.Store->Count(), 1);

    // An empty online name is what a player who never set one sends.
    EXPECT_EQ(Running.Submit(ScoreInf("Bo", "0", Running.FreshToken(), "")).first, 200);
    EXPECT_EQ(Running.Store->Top(10)[1].FOnlineName, "");
    // A game that got no token still sends its text; it is refused.
    EXPECT_EQ(Running.Submit(ScoreInf("Cy", "5", "", "")),
              std::make_pair(400, std::string("ERR unknown token")));
    EXPECT_EQ(Running.Store->Count(), 2);
}

TEST_P(ScoreServer, TokenExpiresAfterTenMinutes)
{
    TRunningServer Running(GetParam());
    const std::string Early = Running.FreshToken();
    Running.Seconds += 599;
    const std::string Late = Running.FreshToken();
    EXPECT_EQ(Running.Submit(ScoreInf("Early", "10", Early, "")).first, 200); // 9:59 old: still good
    Running.Seconds += 600;                                                   // Late is 10:00 old
    EXPECT_EQ(Running.Submit(ScoreInf("Late", "20", Late, "")),
              std::make_pair(400, std::string("ERR expired token")));
    EXPECT_EQ(Running.Store->Count(), 1);
    // An expired token is forgotten: a second try says it is unknown.
    EXPECT_EQ(Running.Submit(ScoreInf("Late", "20", Late, "")).second, "ERR unknown token");
}

TEST_P(ScoreServer, MalformedSubmissionsStoreNothingAndLeaveTheTokenUsable)
{
    TRunningServer Running(GetParam());
    const std::string Token = Running.FreshToken();
    const std::string Good = ScoreInf("Dee", "77", Token, "dee");

    std::string BadSymbol = Good;
    BadSymbol[3] = '!';
    std::string Lower = Good;
    Lower[5] = 'q';
    const std::string Cases[] = {
        BadSymbol,
        Lower,
        Good.substr(0, Good.size() - 1), // not a whole number of groups
        Good.substr(8),                  // a whole group cut off the front
        vm::EncodeLine(PadScoreText("type=0|name=Dee|score=77|key=V|p=" + Token + "|z=")),      // no add
        vm::EncodeLine(PadScoreText("type=0|score=77|name=Dee|key=V|p=" + Token + "|add=|z=")), // order
        vm::EncodeLine(PadScoreText("type=0|name=Dee|score=77|key=V|p=" + Token + "|add=|z=|x=1")),
        vm::EncodeLine(PadScoreText("type=1|name=Dee|score=77|key=V|p=" + Token + "|add=|z=")),
        vm::EncodeLine(PadScoreText("type=0|name=Dee|score=77|key=V|p=" + Token + "|add=|z=") + "1"),
        vm::EncodeLine("type=0|name=Dee|score=77|key=V|p=" + Token + "|add=|z=0"), // not padded to 5
        vm::EncodeLine(ScoreText("Dee", "77", Token, "", 'W')),
        ScoreInf("Dee", "1000000000", Token, ""),
        ScoreInf("Dee", "99999999999999999999999", Token, ""),
        ScoreInf("Dee", "-5", Token, ""),
        ScoreInf("Dee", "+5", Token, ""),
        ScoreInf("Dee", "", Token, ""),
        ScoreInf("Dee", "7 ", Token, ""),
        ScoreInf("Dee", "0x10", Token, ""),
        ScoreInf("Dee|score=5", "77", Token, ""), // a "|" in a name is an extra field
        ScoreInf("Thirteen-char", "77", Token, ""),
        ScoreInf("ÄÄÄÄÄÄÄÄÄÄÄÄÄ", "77", Token, ""),
        ScoreInf("", "77", Token, ""),
        ScoreInf("   ", "77", Token, ""),
        ScoreInf("De\x01", "77", Token, ""),
        ScoreInf("De\te", "77", Token, ""),
        ScoreInf("De\x7F", "77", Token, ""),
        ScoreInf("De\xC2\x85", "77", Token, ""),     // a C1 control
        ScoreInf("De\xC3", "77", Token, ""),         // cut-off UTF-8
        ScoreInf("De\xC0\xAF", "77", Token, ""),     // overlong UTF-8
        ScoreInf("De\xED\xA0\x80", "77", Token, ""), // a surrogate
        ScoreInf("Dee", "77", Token, "Thirteen-char"),
        ScoreInf("Dee", "77", Token, "on\nline"),
        std::string(),
    };
    for (const std::string& Inf : Cases)
    {
        const auto [Status, Body] = Running.Submit(Inf);
        EXPECT_EQ(Status, 400) << vm::DecodeLine(Inf);
        EXPECT_TRUE(Body.starts_with("ERR ")) << Body;
    }
    // Requests that are not a single well-formed submission.
    EXPECT_EQ(Running.Get("hs&prg=Velomarch").first, 400);
    const std::string Other = ScoreInf("Other", "1", Token, "");
    EXPECT_EQ(Running.Get("hs&prg=Velomarch&inf=" + Good + "&inf=" + Other).first, 400);
    EXPECT_EQ(Running.Get("hs&prg=Other&inf=" + Good).first, 400);
    EXPECT_EQ(Running.Get("hs&inf=" + Good).first, 400);
    EXPECT_EQ(Running.Get("hs&version&prg=Velomarch&inf=" + Good).first, 400);
    EXPECT_EQ(Running.Store->Count(), 0);

    // None of the refusals used the token up, and the server still answers.
    EXPECT_EQ(Running.Submit(Good), std::make_pair(200, std::string("OK")));
    EXPECT_EQ(Running.Store->Count(), 1);
}

TEST_P(ScoreServer, NamesWithSqlAndMarkupAreStoredVerbatimAndShownEscaped)
{
    TRunningServer Running(GetParam());
    const std::string Sql = "'; DROP--";
    const std::string Markup = "<b>&\"x'";
    EXPECT_EQ(Running.Submit(ScoreInf(Sql, "50", Running.FreshToken(), "x');--")).first, 200);
    EXPECT_EQ(Running.Submit(ScoreInf(Markup, "40", Running.FreshToken(), "<i>")).first, 200);
    // The whole classic text is too long for a name: refused, and the table is intact.
    EXPECT_EQ(Running.Submit(ScoreInf("'; DROP TABLE scores;--", "30", Running.FreshToken(), "")).first, 400);

    const auto Rows = Running.Store->Top(10);
    ASSERT_EQ(Rows.size(), 2u);
    EXPECT_EQ(Rows[0].FName, Sql);
    EXPECT_EQ(Rows[0].FOnlineName, "x');--");
    EXPECT_EQ(Rows[1].FName, Markup);

    const auto Page = Running.Client()->Get("/cgi/version.pl?prg=Velomarch&show&type=0&all=1");
    ASSERT_TRUE(Page);
    EXPECT_EQ(Page->status, 200);
    EXPECT_EQ(Page->get_header_value("Content-Type"), "text/html; charset=utf-8");
    EXPECT_NE(Page->body.find("&#39;; DROP--"), std::string::npos);
    EXPECT_NE(Page->body.find("&lt;b&gt;&amp;&quot;x&#39;"), std::string::npos);
    EXPECT_NE(Page->body.find("&lt;i&gt;"), std::string::npos);
    EXPECT_EQ(Page->body.find("<b>"), std::string::npos);
    EXPECT_EQ(Page->body.find("<i>"), std::string::npos);
}

TEST_P(ScoreServer, ShowPageListsTheTopHundredHighestFirstNewestFirstOnTies)
{
    std::atomic<long long> WallClock{5000};
    TScoreServerOptions Options = DefaultServerOptions();
    Options.FWallClock = [&WallClock] { return WallClock.load(); };
    TRunningServer Running(GetParam(), Options);

    auto Submit = [&](const std::string& Name, const std::string& Score) {
        EXPECT_EQ(Running.Submit(ScoreInf(Name, Score, Running.FreshToken(), "")).first, 200) << Name;
        WallClock += 1;
    };
    Submit("OldTie", "500");
    Submit("Top", "900");
    Submit("Middle", "700");
    Submit("NewTie", "500");
    Submit("Low", "1");
    // Equal score and equal second: the later row counts as newer.
    WallClock -= 1;
    Submit("NewestTie", "500");

    const auto Page = Running.Get("prg=Velomarch&show&type=0&all=1");
    ASSERT_EQ(Page.first, 200);
    std::vector<std::size_t> Places;
    for (const char* Name : {"Top", "Middle", "NewestTie", "NewTie", "OldTie", "Low"})
    {
        const std::size_t At = Page.second.find(std::string("<td>") + Name + "</td>");
        ASSERT_NE(At, std::string::npos) << Name;
        Places.push_back(At);
    }
    EXPECT_TRUE(std::is_sorted(Places.begin(), Places.end())) << Page.second;

    // Only the best hundred rows are listed.
    for (int I = 0; I < 120; ++I)
        Running.Store->Add(TScoreRow{"Filler" + std::to_string(I), 1000 + I, "", 1, "test"});
    const std::string Full = Running.Get("prg=Velomarch&show&type=0&all=1").second;
    std::size_t RowsShown = 0;
    for (std::size_t At = 0; (At = Full.find("<tr><td>", At)) != std::string::npos; ++At)
        ++RowsShown;
    EXPECT_EQ(RowsShown, 100u);
    EXPECT_NE(Full.find("Filler119"), std::string::npos);
    EXPECT_EQ(Full.find("Filler19<"), std::string::npos);
    EXPECT_EQ(Full.find("<td>Top</td>"), std::string::npos);
}

// The same table as JSON: ranked, limited, the names as stored (markup and quotes included) and
// no client addresses; a bad limit is refused.
TEST_P(ScoreServer, JsonTableListsTheBestRowsUpToTheLimitAndRefusesBadLimits)
{
    TRunningServer Running(GetParam());
    Running.Store->Add(TScoreRow{"Low", 5, "", 86400, "10.0.0.1"});
    Running.Store->Add(TScoreRow{"<b>\"Top\"</b>", 900, "racer1", 0, "10.0.0.2"});
    Running.Store->Add(TScoreRow{"Mid", 70, "", 1, "10.0.0.3"});
    auto Client = Running.Client();
    auto Get = [&Client](const std::string& Target) {
        auto Result = Client->Get(Target.c_str());
        return Result ? std::make_pair(Result->status, Result->body) : std::make_pair(-1, std::string());
    };
    const auto All = Get("/cgi/scores.json?all=1");
    ASSERT_EQ(All.first, 200) << All.second;
    const auto Table = nlohmann::json::parse(All.second);
    ASSERT_EQ(Table.at("scores").size(), 3u) << All.second;
    EXPECT_EQ(Table["scores"][0]["rank"], 1);
    EXPECT_EQ(Table["scores"][0]["name"], "<b>\"Top\"</b>");
    EXPECT_EQ(Table["scores"][0]["score"], 900);
    EXPECT_EQ(Table["scores"][0]["online_name"], "racer1");
    EXPECT_EQ(Table["scores"][0]["time"], "1970-01-01T00:00:00Z");
    EXPECT_EQ(Table["scores"][2]["name"], "Low");
    EXPECT_EQ(Table["scores"][2]["time"], "1970-01-02T00:00:00Z");
    EXPECT_EQ(All.second.find("10.0.0."), std::string::npos) << "client addresses are not shown";

    const auto Two = Get("/cgi/scores.json?all=1&limit=2");
    ASSERT_EQ(Two.first, 200);
    EXPECT_EQ(nlohmann::json::parse(Two.second).at("scores").size(), 2u);
    EXPECT_EQ(Get("/cgi/scores.json?all=1&limit=100").first, 200);
    for (const char* Bad : {"0", "101", "-1", "+2", "2x", "", "99999999999999999999", "2&limit=3"})
        EXPECT_EQ(Get(std::string("/cgi/scores.json?limit=") + Bad).first, 400) << Bad;

    // A name stored as bytes that are not UTF-8 still gives JSON that reads, with U+FFFD in place.
    // Only an SQLite file can hold one: PostgreSQL refuses such text.
    if (GetParam() == EStoreKind::Postgres)
    {
        EXPECT_THROW(Running.Store->Add(TScoreRow{"Bad\xff", 5000, "", 0, "10.0.0.4"}), TStoreError);
        return;
    }
    Running.Store->Add(TScoreRow{"Bad\xff", 5000, "", 0, "10.0.0.4"});
    const auto First = Get("/cgi/scores.json?all=1&limit=1");
    ASSERT_EQ(First.first, 200);
    EXPECT_EQ(nlohmann::json::parse(First.second)["scores"][0]["name"], "Bad\xef\xbf\xbd");
}

TEST_P(ScoreServer, OversizedUnknownAndIncompleteRequestsAreRefusedAndTheServerKeepsAnswering)
{
    TRunningServer Running(GetParam());
    const std::string Token = Running.FreshToken();
    // A 100 KB query: a huge inf of valid symbols.
    const std::string Huge(100 * 1024, 'Q');
    EXPECT_EQ(Running.Submit(Huge).first, 414);
    // Just over the 4 KB limit, and a long but acceptable-sized text that is still nonsense.
    EXPECT_EQ(Running.Submit(std::string(4100, 'Q')).first, 414);
    EXPECT_EQ(Running.Submit(std::string(2000, 'Q')).first, 400);
    EXPECT_EQ(Running.Get("version&prg=Velomarch&pad=" + std::string(5000, 'x')).first, 414);

    // Headers over the limit.
    httplib::Headers Big = {{"X-Pad", std::string(5000, 'y')}};
    const auto WithBigHeader = Running.Client()->Get("/cgi/version.pl?version&prg=Velomarch", Big);
    ASSERT_TRUE(WithBigHeader);
    EXPECT_EQ(WithBigHeader->status, 431);

    const auto Other = Running.Client()->Get("/cgi/other.pl?version&prg=Velomarch");
    ASSERT_TRUE(Other);
    EXPECT_EQ(Other->status, 404);
    EXPECT_EQ(Other->body, "ERR not found");
    EXPECT_EQ(Running.Get("").first, 400);
    EXPECT_EQ(Running.Get("prg=Velomarch").first, 400);
    EXPECT_EQ(Running.Get("version").first, 400);
    EXPECT_EQ(Running.Get("version&prg=Velomarch&prg=Other").first, 400);
    EXPECT_EQ(Running.Get("prg=Velomarch&show&type=1").first, 400);
    EXPECT_EQ(Running.Get("prg=Velomarch&show").first, 400);
    const auto Posted = Running.Client()->Post("/cgi/version.pl?version&prg=Velomarch", "x", "text/plain");
    ASSERT_TRUE(Posted);
    EXPECT_EQ(Posted->status, 404); // only GET is served
    const auto BigBody =
        Running.Client()->Post("/cgi/version.pl?version&prg=Velomarch", std::string(5000, 'z'), "text/plain");
    ASSERT_TRUE(BigBody);
    EXPECT_EQ(BigBody->status, 413);

    EXPECT_EQ(Running.Store->Count(), 0);
    EXPECT_EQ(Running.Submit(ScoreInf("Eve", "3", Token, "")).first, 200);
    EXPECT_EQ(Running.Store->Count(), 1);
}

TEST_P(ScoreServer, ConcurrentClientsEachStoreTheirOwnRow)
{
    TRunningServer Running(GetParam());
    constexpr int Threads = 4;
    constexpr int Each = 25;
    std::atomic<int> Accepted{0};
    std::vector<std::thread> Clients;
    for (int T = 0; T < Threads; ++T)
        Clients.emplace_back([&, T] {
            auto Client = Running.Client();
            for (int I = 0; I < Each; ++I)
            {
                const auto Version = Client->Get("/cgi/version.pl?version&prg=Velomarch");
                if (!Version)
                    continue;
                const std::string Inf = ScoreInf("T" + std::to_string(T) + "-" + std::to_string(I),
                                                 std::to_string(I), TokenOf(Version->body), "");
                const auto Sent = Client->Get(("/cgi/version.pl?hs&prg=Velomarch&inf=" + Inf).c_str());
                if (Sent && Sent->status == 200)
                    ++Accepted;
            }
        });
    for (auto& Client : Clients)
        Client.join();
    EXPECT_EQ(Accepted, Threads * Each);
    EXPECT_EQ(Running.Store->Count(), Threads * Each);
    EXPECT_EQ(Running.Store->TokenCount(), 0); // every token used up
}

// An address over its limits gets 429 with a short reason the game can show and a Retry-After;
// another address is served as before.
TEST_P(ScoreServer, AnAddressOverItsLimitsIsAnswered429WithRetryAfter)
{
    TStoreLimits Limits = NoLimits();
    Limits.FTokensPerMinute = 60;
    Limits.FTokenBurst = 3;
    Limits.FSubmissionsPerMinute = 6;
    Limits.FSubmissionBurst = 1;
    TRunningServer Running(GetParam(), DefaultServerOptions(), Limits);
    const std::string Tokens[] = {Running.FreshToken(), Running.FreshToken(), Running.FreshToken()};
    const auto TooFast = Running.GetPath("/cgi/version.pl?version&prg=Velomarch");
    EXPECT_EQ(TooFast.FStatus, 429);
    EXPECT_EQ(TooFast.FBody, "ERR too many requests from your address; try again in 1 s");
    EXPECT_EQ(TooFast.FRetryAfter, "1");

    EXPECT_EQ(Running.Submit(ScoreInf("Ann", "10", Tokens[0], "")).first, 200);
    const auto TooMany =
        Running.GetPath("/cgi/version.pl?hs&prg=Velomarch&inf=" + ScoreInf("Bo", "9", Tokens[1], ""));
    EXPECT_EQ(TooMany.FStatus, 429);
    EXPECT_EQ(TooMany.FBody, "ERR too many scores from your address; try again in 10 s");
    EXPECT_EQ(TooMany.FRetryAfter, "10");
    for (const auto& Reply : {TooFast, TooMany})
    {
        EXPECT_LE(Reply.FBody.size(), 70u);
        for (const char C : Reply.FBody)
            EXPECT_TRUE(C >= 0x20 && C < 0x7F) << Reply.FBody;
    }
    // After the wait the refused token still stores its row.
    Running.Seconds += 10;
    EXPECT_EQ(Running.Submit(ScoreInf("Bo", "9", Tokens[1], "")).first, 200);
    EXPECT_EQ(Running.Store->Count(), 2);

    // Long waits are told in minutes, rounded up: an address holding its one unused token waits for
    // it to expire.
    Limits = NoLimits();
    Limits.FPendingTokens = 1;
    TRunningServer Holding(GetParam(), DefaultServerOptions(), Limits);
    ASSERT_FALSE(Holding.FreshToken().empty());
    Holding.Seconds += 29;
    const auto Pending = Holding.GetPath("/cgi/version.pl?version&prg=Velomarch");
    EXPECT_EQ(Pending.FStatus, 429);
    EXPECT_EQ(Pending.FBody, "ERR too many unused tokens for your address; try again in 10 min");
    EXPECT_EQ(Pending.FRetryAfter, "571");
}

TEST_P(ScoreServer, HealthIsOkWhileTheStoreAnswers)
{
    TRunningServer Running(GetParam());
    const auto Healthy = Running.GetPath("/healthz");
    EXPECT_EQ(Healthy.FStatus, 200);
    EXPECT_EQ(Healthy.FBody, "OK");
}

INSTANTIATE_TEST_SUITE_P(Sqlite, ScoreServer, testing::Values(EStoreKind::Sqlite), StoreKindName);
INSTANTIATE_TEST_SUITE_P(Postgres, ScoreServer, testing::Values(EStoreKind::Postgres), StoreKindName);

} // namespace
