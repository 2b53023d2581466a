// The send page while the score is on its way: the game on the real libcurl client, sending to the
// real score server or to a silent one on loopback, its frames run on the wall clock.
#include "engine/fake_text_rasterizer.h"
#include "engine/null_render_device.h"
#include "engine/virtual_keys.h"
#include "online/score_server_process.h"
#include "persist/score_sender.h"
#include "platform/sdl/curl_http_client.h"
#include "sqlite_store.h"
#include "support/game_input.h"
#include "support/send_rig.h"
#include "support/state_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace vm {
namespace {

using test::SecondsSince;
using test::TWall;

// The null renderer and the test fonts, made before the game that uses them.
struct TNullParts
{
    TNullRenderDevice Device;
    test::TFakeTextRasterizer Text;
};

// The send rig on the null renderer, with the effects it started counted.
class TRig : private TNullParts, public test::TSendRig
{
public:
    TRig(const std::string& Url, long TotalMs) : TNullParts(), TSendRig(Device, &Text, Url, TotalMs) {}
    long Plays(const std::string& Name) { return test::EffectPlays(*Game, Sound, Name); }
    bool ButtonsShown() const
    {
        for (const char* Name : {"b_yes1", "b_no1"})
            if (const TGuiComponent* Button = Widget(Name); Button == nullptr || Button->Visible)
                return true;
        return false;
    }
};

TEST(ScoreSending, ASilentServerLeavesThePageUpAndTheFramesGoingUntilItsTimeOut)
{
    test::TSilentServer Silent;
    ASSERT_GT(Silent.Port(), 0);
    TRig Rig(Silent.Url(), 2000);
    ASSERT_TRUE(Rig.ReachSendPage("Ann", 950));
    ASSERT_TRUE(Rig.Click("b_yes1"));
    Rig.GoReal();
    // The page stays, without its buttons, and the frames go on: a blocked game would run none
    // until the time-out.
    Rig.RunFor(1.0);
    EXPECT_EQ(Rig.Game->State.ScreenState, ssSendScore);
    EXPECT_FALSE(Rig.ButtonsShown());
    EXPECT_GE(Rig.FrameStarts.size(), 10u);
    EXPECT_TRUE(Rig.Messages.Texts.empty());
    std::printf("%zu frames in the first second of a silent send\n", Rig.FrameStarts.size());
    // The time-out ends the run as before and tells the player; the local table keeps the score.
    const double Seconds = 1.0 + Rig.RunWhileSending(10.0);
    EXPECT_GE(Seconds, 1.5);
    EXPECT_EQ(Rig.Game->State.ScreenState, ssHighScores);
    EXPECT_EQ(Rig.Game->HighScores.Row(2).Name, "Ann");
    ASSERT_EQ(Rig.Messages.Texts.size(), 1u);
    EXPECT_EQ(Rig.Messages.Texts[0], "Can't connect to server!");
    EXPECT_EQ(Rig.Game->World.FPlayer, nullptr);
}

TEST(ScoreSending, EscCancelsASendInFlightAtOnceAndKeepsTheLocalEntry)
{
    test::TSilentServer Silent;
    ASSERT_GT(Silent.Port(), 0);
    TRig Rig(Silent.Url(), 5000);
    ASSERT_TRUE(Rig.ReachSendPage("Ann", 950));
    // An Esc let go on the question before "yes" does not cancel the send that follows.
    test::TapKey(*Rig.Game, vkEscape);
    const long Cues = Rig.Plays("check");
    ASSERT_TRUE(Rig.Click("b_yes1"));
    EXPECT_EQ(Rig.Plays("check"), Cues + 1);
    Rig.GoReal();
    Rig.RunFor(0.3);
    ASSERT_EQ(Rig.Game->State.ScreenState, ssSendScore);
    test::TapKey(*Rig.Game, vkEscape);
    const double Seconds = Rig.RunWhileSending(6.0);
    std::printf("Esc ended the send in %.3f s\n", Seconds);
    // Far sooner than the 5 s the silent server would hold it.
    EXPECT_LT(Seconds, 1.0);
    EXPECT_EQ(Rig.Game->State.ScreenState, ssHighScores);
    EXPECT_EQ(Rig.Game->HighScores.Row(2).Name, "Ann");
    EXPECT_TRUE(Rig.Messages.Texts.empty());
    EXPECT_EQ(Rig.Plays("check"), Cues + 1);
}

TEST(ScoreSending, LeavingTheGameWhileASendIsInFlightEndsAtOnce)
{
    test::TSilentServer Silent;
    ASSERT_GT(Silent.Port(), 0);
    TRig Rig(Silent.Url(), 5000);
    ASSERT_TRUE(Rig.ReachSendPage("Ann", 950));
    ASSERT_TRUE(Rig.Click("b_yes1"));
    Rig.GoReal();
    Rig.RunFor(0.3);
    ASSERT_EQ(Rig.Game->State.ScreenState, ssSendScore);
    const auto Start = TWall::now();
    Rig.Game->FormDestroy();
    Rig.Game.reset();
    EXPECT_LT(SecondsSince(Start), 1.0);
    EXPECT_TRUE(Rig.Messages.Texts.empty());
}

TEST(ScoreSending, TheRealServerStoresAScoreQuietlyAndTellsARefusalsReason)
{
    test::TTempDir Dir;
    const std::string Db = Dir.File("scores.db");
    {
        test::TServerProcess Server(Db);
        ASSERT_GT(Server.Port(), 0);
        {
            TRig Rig(Server.Url(), 5000);
            ASSERT_TRUE(Rig.ReachSendPage("Ann", 950));
            Rig.Game->State.OnlineName = "ann_online";
            ASSERT_TRUE(Rig.Click("b_yes1"));
            Rig.GoReal();
            Rig.RunWhileSending(6.0);
            EXPECT_EQ(Rig.Game->State.ScreenState, ssHighScores);
            EXPECT_TRUE(Rig.Messages.Texts.empty());
        }
        {
            // A player without a profile has no name, which the server refuses.
            TRig Rig(Server.Url(), 5000);
            ASSERT_TRUE(Rig.ReachSendPage("", 20));
            ASSERT_TRUE(Rig.Click("b_yes1"));
            Rig.GoReal();
            Rig.RunWhileSending(6.0);
            EXPECT_EQ(Rig.Game->State.ScreenState, ssMainMenu);
            ASSERT_EQ(Rig.Messages.Texts.size(), 1u);
            EXPECT_EQ(Rig.Messages.Texts[0], "The server refused the score: bad name");
        }
        Server.Stop();
    }
    scored::TSqliteStore Store(Db);
    ASSERT_EQ(Store.Count(), 1);
    const auto Rows = Store.Top(1);
    EXPECT_EQ(Rows[0].FName, "Ann");
    EXPECT_EQ(Rows[0].FScore, 950);
    EXPECT_EQ(Rows[0].FOnlineName, "ann_online");
}

TEST(ScoreSending, TheSenderHandsEachOutcomeOverOnceAndANewSendStopsTheOldOne)
{
    TCurlHttpClient Http(1000, 5000);
    TScoreSender Sender(Http);
    EXPECT_FALSE(Sender.TakeResult());
    // Waiting keeps the outcome for the one who takes it.
    Sender.Start(test::LoopbackUrl(test::ClosedPort()), "Ann", 5, "");
    Sender.Wait();
    EXPECT_TRUE(Sender.Busy());
    const auto Result = Sender.TakeResult();
    ASSERT_TRUE(Result);
    EXPECT_EQ(Result->Outcome, TSendOutcome::NoConnection);
    EXPECT_FALSE(Sender.Busy());
    EXPECT_FALSE(Sender.TakeResult());
    // A send that a silent server holds is cancelled by the next one, not waited out.
    test::TSilentServer Silent;
    ASSERT_GT(Silent.Port(), 0);
    const auto Start = TWall::now();
    Sender.Start(Silent.Url(), "Ann", 5, "");
    Sender.Start(test::LoopbackUrl(test::ClosedPort()), "Ann", 6, "");
    Sender.Wait();
    EXPECT_LT(SecondsSince(Start), 1.0);
    ASSERT_TRUE(Sender.TakeResult());
    EXPECT_FALSE(Sender.TakeResult());
}

// velomarch-headless --live-send runs its frames on while a silent server holds the score, and
// ends with the send still in flight; without it each frame waits for the send (tested by the
// recorded sessions and the run against the real server).
TEST(ScoreSending, TheHeadlessRunnerCanLetFramesGoOnDuringASend)
{
    test::TSilentServer Silent;
    ASSERT_GT(Silent.Port(), 0);
    test::TTempDir Dir;
    {
        std::ofstream Script(Dir.File("keys.txt"));
        // Time's up, the score page's "Next", then "Yes" (as the run against the real server).
        Script << "6070 click 490 391\n6080 click 320 388\n";
    }
    const std::string Command =
        std::string(VM_HEADLESS_BIN) + " --race 1 --null-renderer --frames 6110 --data " + VM_ASSET_DIR +
        " --workdir " + Dir.Path().string() + " --input " + Dir.File("keys.txt") + " --state " +
        Dir.File("s.json") + " --score-url " + Silent.Url() + " --live-send";
    ASSERT_EQ(std::system(Command.c_str()), 0);
    const auto State = test::ReadStateFile(Dir.File("s.json"));
    ASSERT_TRUE(State.is_object());
    const auto Screens = test::ScreensOf(State);
    ASSERT_FALSE(Screens.empty()) << State;
    EXPECT_EQ(Screens.back().second, ssSendScore) << State;
    EXPECT_EQ(State.at("frame"), 6110) << State;
}

} // namespace
} // namespace vm
