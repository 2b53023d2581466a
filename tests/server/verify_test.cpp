// Run recordings uploaded after their scores, played by the server with the game's own code: the
// rows they match are verified, the others refused with a reason; the tables show verified rows
// unless asked for all.
#include "recording_support.h"
#include "replay_verifier.h"
#include "server_test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <future>
#include <thread>

namespace {

using namespace vm::scored;
using namespace vm::scored::test;

// Two real runs of one player, made once for every test: the autopilot's runs with seeds 1 and 2,
// written again with the player's name (the headless game starts with none, and a score needs one).
struct TRuns
{
    std::string First, Second;
    vm::TReplay FirstReplay, SecondReplay;
};

std::string Named(const std::string& Bytes, const std::string& Name)
{
    if (Bytes.empty())
        return {};
    vm::TReplay Replay = ReadRecording(Bytes);
    Replay.Header.PlayerName = Name;
    Replay.End.PlayerName = Name;
    return WriteRecording(Replay);
}

const TRuns& Runs()
{
    static const TRuns Made = [] {
        TRuns R;
        R.First = Named(RecordAutopilotRun(1), "Ann");
        R.Second = Named(RecordAutopilotRun(2), "Ann");
        R.FirstReplay = ReadRecording(R.First);
        R.SecondReplay = ReadRecording(R.Second);
        return R;
    }();
    return Made;
}

TScoreServerOptions PlayingOptions()
{
    TScoreServerOptions Options = DefaultServerOptions();
    Options.FVerifier.FDataDir = VM_ASSET_DIR;
    return Options;
}

class ReplayUpload : public testing::TestWithParam<EStoreKind>
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(Runs().First.empty()) << "the headless game made no whole recording";
        ASSERT_FALSE(Runs().Second.empty());
        ASSERT_GT(Runs().FirstReplay.End.Score, 0) << "the autopilot's run scored nothing";
        ASSERT_NE(Runs().FirstReplay.End.Score, Runs().SecondReplay.End.Score);
    }

    // Submits a score as the game does; the token it was redeemed with.
    static std::string SubmitScore(const TRunningServer& Running, const std::string& Name, std::int64_t Score)
    {
        const std::string Token = Running.FreshToken();
        EXPECT_EQ(Running.Submit(ScoreInf(Name, std::to_string(Score), Token, "")).first, 200);
        return Token;
    }

    static TRunningServer::TReply Upload(const TRunningServer& Running, const std::string& Token,
                                         const std::string& Bytes)
    {
        auto Client = Running.Client();
        Client->set_read_timeout(120);
        auto Result = Client->Post(("/cgi/replay?prg=Velomarch&token=" + Token).c_str(), Bytes,
                                   "application/octet-stream");
        if (!Result)
            return {};
        return {Result->status, Result->body, Result->get_header_value("Retry-After")};
    }

    static nlohmann::json Table(const TRunningServer& Running, const std::string& Query)
    {
        const auto Reply = Running.GetPath("/cgi/scores.json" + Query);
        EXPECT_EQ(Reply.FStatus, 200) << Reply.FBody;
        return nlohmann::json::parse(Reply.FBody, nullptr, false);
    }
};

TEST_P(ReplayUpload, ARunThatPlaysToItsScoreIsVerifiedOnce)
{
    TRunningServer Running(GetParam(), PlayingOptions());
    const std::string Token = SubmitScore(Running, "Ann", Runs().FirstReplay.End.Score);
    EXPECT_EQ(Table(Running, "").at("scores").size(), 0u) << "an unverified score is not shown by default";

    const auto Reply = Upload(Running, Token, Runs().First);
    EXPECT_EQ(Reply.FStatus, 200);
    EXPECT_EQ(Reply.FBody, "OK verified");
    const auto Verified = Table(Running, "");
    ASSERT_EQ(Verified.at("scores").size(), 1u);
    EXPECT_EQ(Verified["scores"][0]["name"], "Ann");
    EXPECT_EQ(Verified["scores"][0]["score"], Runs().FirstReplay.End.Score);
    EXPECT_EQ(Verified["scores"][0]["verified"], true);

    // The recording comes once: a second upload (the same or another) changes nothing.
    EXPECT_EQ(Upload(Running, Token, Runs().Second).FBody, "ERR the score's recording came before");
    EXPECT_EQ(Running.Store->Top(10, ERows::Verified).size(), 1u);
    // A token that stored nothing has no row to verify.
    EXPECT_EQ(Upload(Running, Running.FreshToken(), Runs().First).FBody, "ERR unknown token");
}

// Uploads of one score's recording at once: one is played, the others find it taken.
TEST_P(ReplayUpload, OneOfSeveralUploadsAtOnceIsPlayed)
{
    TRunningServer Running(GetParam(), PlayingOptions());
    const std::string Token = SubmitScore(Running, "Ann", Runs().FirstReplay.End.Score);
    std::vector<std::future<TRunningServer::TReply>> Replies;
    for (int I = 0; I < 6; ++I)
        Replies.push_back(
            std::async(std::launch::async, [&] { return Upload(Running, Token, Runs().First); }));
    int Verified = 0, Taken = 0;
    for (auto& Reply : Replies)
    {
        const TRunningServer::TReply Got = Reply.get();
        Verified += Got.FBody == "OK verified";
        Taken += Got.FStatus == 409;
    }
    EXPECT_EQ(Verified, 1);
    EXPECT_EQ(Taken, 5);
}

// Three workers play three recordings at once, each in a game of its own: every verdict is the
// one its recording earns alone.
TEST_P(ReplayUpload, WorkersPlayingAtOnceJudgeEachRecordingAlone)
{
    TScoreServerOptions Options = PlayingOptions();
    Options.FVerifier.FThreads = 3;
    TRunningServer Running(GetParam(), Options);
    const std::int64_t First = Runs().FirstReplay.End.Score, Second = Runs().SecondReplay.End.Score;
    const std::string Tokens[3] = {SubmitScore(Running, "Ann", First), SubmitScore(Running, "Ann", Second),
                                   SubmitScore(Running, "Ann", Second)};
    const std::string* Bytes[3] = {&Runs().First, &Runs().Second, &Runs().First};
    std::vector<std::future<TRunningServer::TReply>> Replies;
    for (int I = 0; I < 3; ++I)
        Replies.push_back(
            std::async(std::launch::async, [&, I] { return Upload(Running, Tokens[I], *Bytes[I]); }));
    EXPECT_EQ(Replies[0].get().FBody, "OK verified");
    EXPECT_EQ(Replies[1].get().FBody, "OK verified");
    EXPECT_EQ(Replies[2].get().FBody, "ERR the recording's run ends with score " + std::to_string(First) +
                                          ", not " + std::to_string(Second));
    EXPECT_EQ(Table(Running, "").at("scores").size(), 2u);
}

TEST_P(ReplayUpload, RecordingsThatDoNotPlayToTheRowAreRefusedWithTheReason)
{
    TRunningServer Running(GetParam(), PlayingOptions());
    const std::int64_t Score = Runs().FirstReplay.End.Score;

    // The score raised by one.
    const std::string Raised = SubmitScore(Running, "Ann", Score + 1);
    const auto RaisedReply = Upload(Running, Raised, Runs().First);
    EXPECT_EQ(RaisedReply.FStatus, 400);
    EXPECT_EQ(RaisedReply.FBody, "ERR the recording's run ends with score " + std::to_string(Score) +
                                     ", not " + std::to_string(Score + 1));

    // Another player's name on the same run.
    EXPECT_EQ(Upload(Running, SubmitScore(Running, "Bo", Score), Runs().First).FBody,
              "ERR the recording's run is another player's");

    // One of the driving keys left out: the run plays otherwise.
    vm::TReplay Edited = Runs().FirstReplay;
    const auto Key =
        std::find_if(Edited.Events.begin(), Edited.Events.end(), [](const vm::TReplayEvent& Event) {
            return Event.Kind == vm::TReplayEventKind::KeyDown && Event.Frame > 1000;
        });
    ASSERT_NE(Key, Edited.Events.end());
    Edited.Events.erase(Key);
    const auto Missing = Upload(Running, SubmitScore(Running, "Ann", Score), WriteRecording(Edited));
    EXPECT_EQ(Missing.FStatus, 400);
    EXPECT_TRUE(Missing.FBody.starts_with("ERR the recording's run")) << Missing.FBody;

    // Another run of the same player.
    const auto Other = Upload(Running, SubmitScore(Running, "Ann", Score), Runs().Second);
    EXPECT_EQ(Other.FBody, "ERR the recording's run ends with score " +
                               std::to_string(Runs().SecondReplay.End.Score) + ", not " +
                               std::to_string(Score));

    // None is verified, and each was refused for good.
    EXPECT_EQ(Table(Running, "").at("scores").size(), 0u);
    const auto All = Table(Running, "?all=1");
    ASSERT_EQ(All.at("scores").size(), 4u);
    for (const auto& Row : All["scores"])
        EXPECT_EQ(Row["verified"], false);
    EXPECT_EQ(Upload(Running, Raised, Runs().First).FStatus, 409);
}

TEST_P(ReplayUpload, DamagedOrUnfinishedUploadsAreRefusedAndTheRowWaitsForAWholeOne)
{
    TRunningServer Running(GetParam(), PlayingOptions());
    const std::string Token = SubmitScore(Running, "Ann", Runs().FirstReplay.End.Score);

    std::string Damaged = Runs().First;
    Damaged[Damaged.size() / 2] ^= 0x5A;
    const auto DamagedReply = Upload(Running, Token, Damaged);
    EXPECT_EQ(DamagedReply.FStatus, 400);
    EXPECT_TRUE(DamagedReply.FBody.starts_with("ERR the recording is damaged")) << DamagedReply.FBody;

    // Cut short, as a crash leaves it: a run with no end.
    const auto Cut = Upload(Running, Token, Runs().First.substr(0, Runs().First.size() / 2));
    EXPECT_EQ(Cut.FStatus, 400);
    EXPECT_EQ(Cut.FBody, "ERR the recording is not of a whole run");
    EXPECT_EQ(Upload(Running, Token, "not a recording").FStatus, 400);
    EXPECT_EQ(Upload(Running, Token, "").FStatus, 400);

    // A recording is not fetched with GET.
    EXPECT_EQ(Running.GetPath("/cgi/replay?prg=Velomarch&token=" + Token).FStatus, 405);
    EXPECT_EQ(Upload(Running, "short", Runs().First).FBody, "ERR unknown token");

    EXPECT_EQ(Upload(Running, Token, Runs().First).FBody, "OK verified");
}

TEST_P(ReplayUpload, AnotherVersionsRecordingIsKeptUnverified)
{
    TRunningServer Running(GetParam(), PlayingOptions());
    const std::string Token = SubmitScore(Running, "Ann", Runs().FirstReplay.End.Score);
    vm::TReplay Older = Runs().FirstReplay;
    Older.Header.GameVersion = "0.0.1";
    const auto Reply = Upload(Running, Token, WriteRecording(Older));
    EXPECT_EQ(Reply.FStatus, 200);
    EXPECT_TRUE(Reply.FBody.starts_with("OK unverified: recorded with Velomarch 0.0.1; this server plays"))
        << Reply.FBody;
    EXPECT_EQ(Table(Running, "").at("scores").size(), 0u);
    const auto Rows = Running.Store->Top(10);
    ASSERT_EQ(Rows.size(), 1u);
    EXPECT_EQ(Rows[0].FCheck, ECheck::Kept);
    EXPECT_EQ(Upload(Running, Token, Runs().First).FStatus, 409);
}

TEST_P(ReplayUpload, AServerWithoutTheGameKeepsRecordingsUnverified)
{
    TRunningServer Running(GetParam());
    const std::string Token = SubmitScore(Running, "Ann", Runs().FirstReplay.End.Score);
    EXPECT_EQ(Upload(Running, Token, Runs().First).FBody, "OK unverified: this server plays no recordings");
    EXPECT_EQ(Running.Store->Top(10)[0].FCheck, ECheck::Kept);
}

TEST_P(ReplayUpload, APlaybackOverItsCpuTimeIsRefused)
{
    TScoreServerOptions Options = PlayingOptions();
    Options.FVerifier.FCpuSeconds = 0.001;
    TRunningServer Running(GetParam(), Options);
    const std::string Token = SubmitScore(Running, "Ann", Runs().FirstReplay.End.Score);
    EXPECT_EQ(Upload(Running, Token, Runs().First).FBody, "ERR the recording takes too long to play");
    EXPECT_EQ(Running.Store->Top(10)[0].FCheck, ECheck::Refused);
}

// One recording plays at a time with no room to wait: the next is told to come back, and other
// requests are answered meanwhile.
TEST_P(ReplayUpload, AFullQueueAnswersBusyWithRetryAfterAndKeepsTheRow)
{
    TScoreServerOptions Options = PlayingOptions();
    Options.FVerifier.FThreads = 1;
    Options.FVerifier.FQueue = 0;
    TRunningServer Running(GetParam(), Options);
    const std::int64_t Score = Runs().FirstReplay.End.Score;
    const std::string First = SubmitScore(Running, "Ann", Score);
    const std::string Second = SubmitScore(Running, "Ann", Score);

    auto Playing = std::async(std::launch::async, [&] { return Upload(Running, First, Runs().First); });
    // The first is claimed (and queued right after) before the second comes.
    for (int I = 0; I < 500; ++I)
    {
        const auto Rows = Running.Store->Top(10);
        if (std::any_of(Rows.begin(), Rows.end(),
                        [](const TScoreRow& Row) { return Row.FCheck != ECheck::Unchecked; }))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto Busy = Upload(Running, Second, Runs().First);
    EXPECT_EQ(Busy.FStatus, 503);
    EXPECT_TRUE(Busy.FBody.starts_with("ERR the server is busy; try again in ")) << Busy.FBody;
    EXPECT_FALSE(Busy.FRetryAfter.empty());
    EXPECT_EQ(Running.Get("version&prg=Velomarch").first, 200);

    EXPECT_EQ(Playing.get().FBody, "OK verified");
    // Sent again once the queue has room, the kept row is verified.
    TRunningServer::TReply Again = Upload(Running, Second, Runs().First);
    for (int I = 0; I < 100 && Again.FStatus == 503; ++I)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        Again = Upload(Running, Second, Runs().First);
    }
    EXPECT_EQ(Again.FBody, "OK verified");
}

// The verified rows first and by default; all of them, each marked, when asked.
TEST_P(ReplayUpload, TablesShowVerifiedRowsUnlessAskedForAll)
{
    TRunningServer Running(GetParam());
    Running.Store->Add(TScoreRow{"Plain", 900, "", 1, "10.0.0.1", ECheck::Unchecked});
    Running.Store->Add(TScoreRow{"Proven", 500, "", 1, "10.0.0.1", ECheck::Verified});
    Running.Store->Add(TScoreRow{"Forged", 800, "", 1, "10.0.0.1", ECheck::Refused});
    const auto Verified = Table(Running, "?limit=10");
    ASSERT_EQ(Verified.at("scores").size(), 1u);
    EXPECT_EQ(Verified["scores"][0]["name"], "Proven");
    EXPECT_EQ(Verified["scores"][0]["rank"], 1);
    const auto All = Table(Running, "?all=1&limit=2");
    ASSERT_EQ(All.at("scores").size(), 2u);
    EXPECT_EQ(All["scores"][0]["name"], "Plain");
    EXPECT_EQ(All["scores"][0]["verified"], false);
    EXPECT_EQ(All["scores"][1]["name"], "Forged");

    const std::string Page = Running.Get("prg=Velomarch&show&type=0").second;
    EXPECT_NE(Page.find("<td>Proven</td>"), std::string::npos);
    EXPECT_EQ(Page.find("Plain"), std::string::npos);
    EXPECT_NE(Page.find("href=\"?prg=Velomarch&amp;show&amp;type=0&amp;all=1\""), std::string::npos);
    const std::string AllPage = Running.Get("prg=Velomarch&show&type=0&all=1").second;
    EXPECT_NE(AllPage.find("<td>Plain</td><td></td><td class=\"score\">900</td><td>no</td>"),
              std::string::npos)
        << AllPage;
    EXPECT_NE(AllPage.find("<td>Proven</td><td></td><td class=\"score\">500</td><td>yes</td>"),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Sqlite, ReplayUpload, testing::Values(EStoreKind::Sqlite), StoreKindName);
INSTANTIATE_TEST_SUITE_P(Postgres, ReplayUpload, testing::Values(EStoreKind::Postgres), StoreKindName);

// The queue on its own: full means refused at once, and stopping answers what still waits.
TEST(ReplayVerifierQueue, AFullQueueRefusesAndStoppingAnswersTheWaiting)
{
    TVerifierOptions Options; // no game data: every recording ends at once as unavailable
    Options.FThreads = 1;
    Options.FQueue = 1;
    TReplayVerifier Verifier(Options);
    std::promise<void> Release;
    std::shared_future<void> Released = Release.get_future().share();
    std::promise<void> Started;
    // The worker's first verdict holds the worker until released.
    ASSERT_TRUE(Verifier.Enqueue("", {}, [&Started, Released](const TVerdict&) {
        Started.set_value();
        Released.wait();
    }));
    Started.get_future().wait();
    std::promise<TVerdict> Waited;
    EXPECT_TRUE(Verifier.Enqueue("", {}, [&Waited](const TVerdict& Verdict) { Waited.set_value(Verdict); }));
    EXPECT_FALSE(
        Verifier.Enqueue("", {}, [](const TVerdict&) { ADD_FAILURE() << "a refused job was answered"; }));
    EXPECT_EQ(Verifier.Pending(), 2);
    EXPECT_GE(Verifier.RetryAfter(), 1);
    std::thread Stopper([&Verifier] { Verifier.Stop(); });
    const TVerdict Verdict = Waited.get_future().get();
    EXPECT_EQ(Verdict.FOutcome, EVerdict::Unavailable);
    EXPECT_EQ(Verdict.FReason, "the server is stopping");
    Release.set_value();
    Stopper.join();
    EXPECT_FALSE(Verifier.Enqueue("", {}, [](const TVerdict&) {}));
}

} // namespace
