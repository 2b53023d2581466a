// Sending a score from the game to the real high-score server on loopback, and what the game does
// when the server is missing, silent or answers nonsense.
#include "common/line_codec.h"
#include "engine/http_client.h"
#include "engine/shell_opener.h"
#include "online/score_server_process.h"
#include "persist/high_scores.h"
#include "persist/online_scores.h"
#include "persist/profiles.h"
#include "persist/settings_file.h"
#include "platform/sdl/curl_http_client.h"
#include "score_store.h"
#include "sqlite_store.h"
#include "state/game_state.h"
#include "support/state_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace vm {
namespace {

using test::TServerProcess;

TEST(OnlineScores, TheGameStoresExactlyOneRowOnTheRealServer)
{
    test::TTempDir Dir;
    const std::string Db = Dir.File("scores.db");
    {
        TServerProcess Server(Db);
        ASSERT_GT(Server.Port(), 0);
        TCurlHttpClient Http;
        TSendResult Result = SubmitScore(Http, nullptr, Server.Url(), "Zoë Runner", 12345, "zoe_online");
        EXPECT_EQ(Result.Outcome, TSendOutcome::Stored) << Result.Reason;
        EXPECT_EQ(SendResultText(Result), "");
        // An empty online name still sends the field; a name with blanks inside is kept.
        Result = SubmitScore(Http, nullptr, Server.Url(), "Ann  Lee", 0, "");
        EXPECT_EQ(Result.Outcome, TSendOutcome::Stored) << Result.Reason;
        // The table page lists them among the unverified scores.
        std::string Page;
        ASSERT_TRUE(Http.Get(Server.Url() + "?prg=Velomarch&show&type=0&all=1", Page));
        EXPECT_NE(Page.find("Zoë Runner"), std::string::npos);
        EXPECT_NE(Page.find("12345"), std::string::npos);
        Server.Stop();
    }
    scored::TSqliteStore Store(Db);
    ASSERT_EQ(Store.Count(), 2);
    const auto Rows = Store.Top(10);
    EXPECT_EQ(Rows[0].FName, "Zoë Runner");
    EXPECT_EQ(Rows[0].FScore, 12345);
    EXPECT_EQ(Rows[0].FOnlineName, "zoe_online");
    EXPECT_EQ(Rows[0].FClient, "127.0.0.1");
    EXPECT_EQ(Rows[1].FName, "Ann  Lee");
    EXPECT_EQ(Rows[1].FScore, 0);
    EXPECT_EQ(Rows[1].FOnlineName, "");
}

// The real server's per-address limits: past them the player is told the server's reason, both
// when no token is handed out and when the score itself is refused.
TEST(OnlineScores, TheServersLimitsAreShownToThePlayerInItsOwnWords)
{
    test::TTempDir Dir;
    TServerProcess Server(Dir.File("scores.db"),
                          {"--tokens-per-minute", "0.01", "--token-burst", "2", "--submissions-per-minute",
                           "0.01", "--submission-burst", "1"});
    ASSERT_GT(Server.Port(), 0);
    TCurlHttpClient Http;
    // The first score is stored; the second has a token but the address may send no more scores now.
    EXPECT_EQ(SubmitScore(Http, nullptr, Server.Url(), "Ann", 10, "").Outcome, TSendOutcome::Stored);
    const TSendResult TooManyScores = SubmitScore(Http, nullptr, Server.Url(), "Ann", 20, "");
    EXPECT_EQ(TooManyScores.Outcome, TSendOutcome::Refused);
    EXPECT_TRUE(SendResultText(TooManyScores).starts_with("The server refused the score: too many"))
        << SendResultText(TooManyScores);
    EXPECT_NE(SendResultText(TooManyScores).find("try again in"), std::string::npos);
    // Both tokens are taken now: the third send gets none, and says why.
    const TSendResult NoToken = SubmitScore(Http, nullptr, Server.Url(), "Ann", 30, "");
    EXPECT_EQ(NoToken.Outcome, TSendOutcome::Refused);
    EXPECT_TRUE(SendResultText(NoToken).starts_with("The server refused the score: too many"))
        << SendResultText(NoToken);
    EXPECT_NE(SendResultText(NoToken), SendResultText(TooManyScores));
    Server.Stop();
    EXPECT_EQ(scored::TSqliteStore(Dir.File("scores.db")).Count(), 1);
}

TEST(OnlineScores, NoServerOrASilentOneTellsThePlayerWithinTheTimeOut)
{
    TCurlHttpClient Http;
    // Nothing listens on this port: refused at once.
    TSendResult Result = SubmitScore(Http, nullptr, test::LoopbackUrl(test::ClosedPort()), "Ann", 10, "");
    EXPECT_EQ(Result.Outcome, TSendOutcome::NoConnection);
    EXPECT_EQ(SendResultText(Result), "Can't connect to server!");

    // A server that accepts the connection and never answers: the game comes back after its total
    // time-out.
    test::TSilentServer Silent;
    ASSERT_GT(Silent.Port(), 0);
    const auto Start = std::chrono::steady_clock::now();
    Result = SubmitScore(Http, nullptr, Silent.Url(), "Ann", 10, "");
    const double Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
    EXPECT_EQ(Result.Outcome, TSendOutcome::NoConnection);
    EXPECT_EQ(SendResultText(Result), "Can't connect to server!");
    // It came back (not hung); how long it took is shown, not judged.
    std::printf("a silent server held the send for %.2f s\n", Seconds);
}

// Replies as a server would give them, for the reply handling the real server never exercises:
// the version reply first, then the submission's.
class TScriptedHttp : public IHttpClient
{
public:
    THttpResult Fetch(const std::string& Url, THttpCancel*) override
    {
        Urls.push_back(Url);
        return Urls.size() == 1 ? Version : Submission;
    }
    THttpResult Post(const std::string& Url, const std::string& Body, const std::string&,
                     THttpCancel*) override
    {
        Urls.push_back(Url);
        Posted.push_back(Body);
        return Upload;
    }
    THttpResult Upload{THttpOutcome::Reply, 200, "OK verified"};
    std::vector<std::string> Posted;
    THttpResult Version{THttpOutcome::Reply, 200, "OK|1|motd||T0K3N|"};
    THttpResult Submission{THttpOutcome::Reply, 200, "OK"};
    std::vector<std::string> Urls;
};

TEST(OnlineScores, VersionRepliesAndTheScoreText)
{
    EXPECT_EQ(VersionToken("OK|1.0|Hello|x|T0K3N|"), "T0K3N");
    EXPECT_EQ(VersionToken("OK"), "");
    EXPECT_EQ(VersionToken("OK|a|b|c|"), "");
    EXPECT_EQ(VersionToken("OK|a|b|c|d"), "");
    // The text is padded to a multiple of 5 so it encodes without a filler symbol in front, and
    // an empty online name still sends its key.
    for (const std::string Name : {"A", "Ann", "Zoë Runner", "abcdefghijkl"})
    {
        const std::string Text = ScoreText(Name, 1234, "TOK", "");
        EXPECT_EQ(Text.size() % 5, 0u) << Text;
        EXPECT_NE(Text.find("|add=|z="), std::string::npos) << Text;
        EXPECT_EQ(Text.rfind("type=0|name=" + Name + "|score=1234|key=V|p=TOK|add=|z=", 0), 0u) << Text;
        EXPECT_EQ(DecodeLine(EncodeLine(Text)), Text);
    }

    // "OK" with no "|" at all: the submission still goes, with an empty token.
    TScriptedHttp Http;
    Http.Version.Body = "OK";
    EXPECT_EQ(SubmitScore(Http, nullptr, "http://h/cgi/version.pl", "Ann", 5, "a").Outcome,
              TSendOutcome::Stored);
    ASSERT_EQ(Http.Urls.size(), 2u);
    EXPECT_EQ(Http.Urls[0], "http://h/cgi/version.pl?version&prg=Velomarch");
    EXPECT_EQ(Http.Urls[1].rfind("http://h/cgi/version.pl?hs&prg=Velomarch&inf=", 0), 0u);
    const std::string Info = Http.Urls[1].substr(Http.Urls[1].find("inf=") + 4);
    EXPECT_EQ(DecodeLine(Info).rfind("type=0|name=Ann|score=5|key=V|p=|add=a|z=", 0), 0u);

    // Anything but "OK" in front, or a status other than 200: told, and nothing submitted.
    for (const THttpResult& Reply :
         {THttpResult{THttpOutcome::Reply, 200, ""}, THttpResult{THttpOutcome::Reply, 200, "ok|x|y|z|t|"},
          THttpResult{THttpOutcome::Reply, 200, "ERR busy"},
          THttpResult{THttpOutcome::Reply, 200, "<html>OK</html>"},
          THttpResult{THttpOutcome::Reply, 503, "OK|1|m||T|"}, THttpResult{THttpOutcome::Failed, 0, ""}})
    {
        TScriptedHttp Bad;
        Bad.Version = Reply;
        const TSendResult Result = SubmitScore(Bad, nullptr, "http://h/cgi/version.pl", "Ann", 5, "");
        EXPECT_EQ(Bad.Urls.size(), 1u) << Reply.Body;
        EXPECT_EQ(Result.Outcome, TSendOutcome::NoConnection) << Reply.Body;
        EXPECT_EQ(SendResultText(Result), "Can't connect to server!") << Reply.Body;
    }
}

TEST(OnlineScores, TheSubmissionsReplyDecidesWhatThePlayerIsTold)
{
    struct TCase
    {
        THttpResult Reply;
        TSendOutcome Outcome;
        std::string Told;
    };
    const std::string Long(300, 'x');
    const std::vector<TCase> Cases = {
        {{THttpOutcome::Reply, 200, "OK"}, TSendOutcome::Stored, ""},
        {{THttpOutcome::Reply, 400, "ERR bad name"},
         TSendOutcome::Refused,
         "The server refused the score: bad name"},
        {{THttpOutcome::Reply, 500, "ERR cannot store the score"},
         TSendOutcome::Refused,
         "The server refused the score: cannot store the score"},
        // Not the server's words: what came is named instead.
        {{THttpOutcome::Reply, 502, "<html>Bad gateway</html>"},
         TSendOutcome::Refused,
         "The server refused the score: unexpected reply (HTTP 502)"},
        {{THttpOutcome::Reply, 200, "Welcome to the hotel network"},
         TSendOutcome::Refused,
         "The server refused the score: unexpected reply (HTTP 200)"},
        {{THttpOutcome::Reply, 400, "ERR "},
         TSendOutcome::Refused,
         "The server refused the score: unexpected reply (HTTP 400)"},
        // A reason from the network is shown as one short line of plain characters.
        {{THttpOutcome::Reply, 400, "ERR bad\x1b[2Jname\nsecond line"},
         TSendOutcome::Refused,
         "The server refused the score: bad?[2Jname"},
        {{THttpOutcome::Reply, 400, "ERR Zo\xc3\xab"},
         TSendOutcome::Refused,
         "The server refused the score: Zo??"},
        {{THttpOutcome::Reply, 400, "ERR " + Long},
         TSendOutcome::Refused,
         "The server refused the score: " + Long.substr(0, 80)},
        // The connection lost on the way is told as no connection.
        {{THttpOutcome::Failed, 0, ""}, TSendOutcome::NoConnection, "Can't connect to server!"},
        {{THttpOutcome::Cancelled, 0, ""}, TSendOutcome::Cancelled, ""},
    };
    for (const TCase& Case : Cases)
    {
        TScriptedHttp Http;
        Http.Submission = Case.Reply;
        const TSendResult Result = SubmitScore(Http, nullptr, "http://h/cgi/version.pl", "Ann", 5, "");
        EXPECT_EQ(Http.Urls.size(), 2u) << Case.Reply.Body;
        EXPECT_EQ(Result.Outcome, Case.Outcome) << Case.Reply.Body;
        EXPECT_EQ(SendResultText(Result), Case.Told) << Case.Reply.Body;
    }
    // A cancel during the version request submits nothing.
    TScriptedHttp Http;
    Http.Version = THttpResult{THttpOutcome::Cancelled, 0, ""};
    EXPECT_EQ(SubmitScore(Http, nullptr, "http://h/cgi/version.pl", "Ann", 5, "").Outcome,
              TSendOutcome::Cancelled);
    EXPECT_EQ(Http.Urls.size(), 1u);

    // A server that will not hand out a token says why, and nothing is submitted; a refusal without
    // the server's words, or an "ERR" with status 200, is still no connection.
    for (const auto& [Reply, Told] : std::vector<std::pair<THttpResult, std::string>>{
             {{THttpOutcome::Reply, 429, "ERR too many score requests from your address; try again in 40 s"},
              "The server refused the score: too many score requests from your address; try again in 40 s"},
             {{THttpOutcome::Reply, 503, "ERR "}, "Can't connect to server!"},
             {{THttpOutcome::Reply, 429, "Too Many Requests"}, "Can't connect to server!"},
             {{THttpOutcome::Reply, 200, "ERR busy"}, "Can't connect to server!"}})
    {
        TScriptedHttp Refusing;
        Refusing.Version = Reply;
        EXPECT_EQ(SendResultText(SubmitScore(Refusing, nullptr, "http://h/cgi/version.pl", "Ann", 5, "")),
                  Told)
            << Reply.Body;
        EXPECT_EQ(Refusing.Urls.size(), 1u) << Reply.Body;
    }
}

// A whole run in velomarch-headless, pointed at the test's server with --score-url: the player
// named in the settings file waits out the clock, reads the score page and answers yes.
TEST(OnlineScores, TheHeadlessGameSendsItsFinalScoreToTheGivenServer)
{
    test::TTempDir Dir;
    {
        TGameState State;
        THighScoreTable Table;
        TProfiles Profiles;
        State.OnlineName = "tester_on";
        ASSERT_TRUE(Profiles.AddFirstProfile("Tester", State.PlayerName));
        std::string Error;
        ASSERT_TRUE(SaveSettings(Dir.File("Config.cfg"), State, Table, Profiles, Error)) << Error;
        std::ofstream Script(Dir.File("keys.txt"));
        // Time's up comes 60 s after the green light, the score page 200 frames later and its
        // button 201 frames after that; then "Next", then "Yes".
        Script << "6070 click 490 391\n6080 click 320 388\n";
    }
    const std::string Db = Dir.File("scores.db");
    TServerProcess Server(Db);
    ASSERT_GT(Server.Port(), 0);
    const std::string Command = std::string(VM_HEADLESS_BIN) +
                                " --race 1 --null-renderer --frames 6090 --data " + VM_ASSET_DIR +
                                " --workdir " + Dir.Path().string() + " --input " + Dir.File("keys.txt") +
                                " --state " + Dir.File("s.json") + " --score-url " + Server.Url();
    ASSERT_EQ(std::system(Command.c_str()), 0);
    Server.Stop();
    const auto State = test::ReadStateFile(Dir.File("s.json"));
    ASSERT_TRUE(State.is_object());
    const auto Screens = test::ScreensOf(State);
    ASSERT_FALSE(Screens.empty()) << State;
    // Time's up, your score, send score, then the main menu (a score of 0 enters no row): the first
    // two are shown before the last change of screen.
    const auto ShownBeforeTheLast = [&Screens](int Screen) {
        return std::any_of(Screens.begin(), Screens.end() - 1,
                           [Screen](const std::pair<long, int>& Shown) { return Shown.second == Screen; });
    };
    EXPECT_TRUE(ShownBeforeTheLast(24)) << State;
    EXPECT_TRUE(ShownBeforeTheLast(26)) << State;
    EXPECT_EQ(State.at("screen_state"), 4) << State;
    scored::TSqliteStore Store(Db);
    ASSERT_EQ(Store.Count(), 1);
    const auto Rows = Store.Top(1);
    EXPECT_EQ(Rows[0].FName, "Tester");
    EXPECT_EQ(Rows[0].FScore, 0);
    EXPECT_EQ(Rows[0].FOnlineName, "tester_on");
}

// The game's whole way with a run: recorded, its score sent and stored, its recording uploaded
// after it, played by the real server with the game's code, and the row verified.
TEST(OnlineScores, TheHeadlessGameUploadsItsRunAfterItsScoreAndTheServerVerifiesIt)
{
    test::TTempDir Dir;
    {
        TGameState State;
        THighScoreTable Table;
        TProfiles Profiles;
        ASSERT_TRUE(Profiles.AddFirstProfile("Tester", State.PlayerName));
        std::string Error;
        ASSERT_TRUE(SaveSettings(Dir.File("Config.cfg"), State, Table, Profiles, Error)) << Error;
        std::ofstream Script(Dir.File("keys.txt"));
        // Time's up, then "Next", then "Yes" (as above).
        Script << "6070 click 490 391\n6080 click 320 388\n";
    }
    const std::string Db = Dir.File("scores.db");
    TServerProcess Server(Db, {"--game-data", VM_ASSET_DIR});
    ASSERT_GT(Server.Port(), 0);
    const std::string Command =
        std::string(VM_HEADLESS_BIN) + " --race 1 --null-renderer --frames 6100 --data " + VM_ASSET_DIR +
        " --workdir " + Dir.Path().string() + " --input " + Dir.File("keys.txt") + " --score-url " +
        Server.Url() + " --record " + Dir.File("run.vmreplay") + " 2> " + Dir.File("told.txt");
    ASSERT_EQ(std::system(Command.c_str()), 0);
    Server.Stop();
    std::ifstream Told(Dir.File("told.txt"));
    std::stringstream Text;
    Text << Told.rdbuf();
    EXPECT_NE(Text.str().find("Velomarch: Your run is verified: the online table shows your score."),
              std::string::npos)
        << Text.str();
    scored::TSqliteStore Store(Db);
    const auto Verified = Store.Top(10, scored::ERows::Verified);
    ASSERT_EQ(Verified.size(), 1u);
    EXPECT_EQ(Verified[0].FName, "Tester");
}

// What the player is told about a run's recording, from the server's reply; the recording goes as
// the body, with the score's token, beside the score endpoint.
TEST(OnlineScores, TheUploadsReplyDecidesWhatThePlayerIsTold)
{
    test::TTempDir Dir;
    const std::string File = Dir.File("run.vmreplay");
    std::ofstream(File, std::ios::binary) << std::string("VMREPLAY\0\1bytes", 16);
    struct TCase
    {
        THttpResult Reply;
        TUploadOutcome Outcome;
        std::string Told;
    };
    const std::vector<TCase> Cases = {
        {{THttpOutcome::Reply, 200, "OK verified"},
         TUploadOutcome::Verified,
         "Your run is verified: the online table shows your score."},
        {{THttpOutcome::Reply, 200, "OK unverified: this server plays no recordings"},
         TUploadOutcome::Unverified,
         "Your score is online but not verified: this server plays no recordings"},
        {{THttpOutcome::Reply, 400, "ERR the recording's run ends with score 5, not 6"},
         TUploadOutcome::Refused,
         "The server did not verify your run: the recording's run ends with score 5, not 6"},
        {{THttpOutcome::Reply, 503, "ERR the server is busy; try again in 5 s"},
         TUploadOutcome::Refused,
         "The server did not verify your run: the server is busy; try again in 5 s"},
        {{THttpOutcome::Reply, 200, "OK"},
         TUploadOutcome::Refused,
         "The server did not verify your run: unexpected reply (HTTP 200)"},
        {{THttpOutcome::Failed, 0, ""},
         TUploadOutcome::NoConnection,
         "Your run could not be sent to be verified"},
        {{THttpOutcome::Cancelled, 0, ""}, TUploadOutcome::Cancelled, ""},
    };
    for (const TCase& Case : Cases)
    {
        TScriptedHttp Http;
        Http.Upload = Case.Reply;
        const TUploadResult Result = UploadRun(Http, nullptr, "http://h:81/cgi/version.pl", "T0K3N", File);
        EXPECT_EQ(Result.Outcome, Case.Outcome) << Case.Reply.Body;
        EXPECT_EQ(UploadResultText(Result), Case.Told) << Case.Reply.Body;
        ASSERT_EQ(Http.Urls.size(), 1u);
        EXPECT_EQ(Http.Urls[0], "http://h:81/cgi/replay?prg=Velomarch&token=T0K3N");
        ASSERT_EQ(Http.Posted.size(), 1u);
        EXPECT_EQ(Http.Posted[0], std::string("VMREPLAY\0\1bytes", 16));
    }
    // A recording that cannot be read is not sent.
    TScriptedHttp Http;
    const TUploadResult Missing = UploadRun(Http, nullptr, "http://h/cgi/version.pl", "T", Dir.File("none"));
    EXPECT_EQ(Missing.Outcome, TUploadOutcome::NoConnection);
    EXPECT_EQ(UploadResultText(Missing),
              "Your run could not be sent to be verified: the run's recording cannot be read");
    EXPECT_TRUE(Http.Urls.empty());
    // The upload goes to the endpoint's server whatever the endpoint's path.
    EXPECT_EQ(ReplayUploadUrl("https://scores.example/x/score.cgi"), "https://scores.example/cgi/replay");
    EXPECT_EQ(ReplayUploadUrl("http://h:8088/cgi/version.pl"), "http://h:8088/cgi/replay");
    // A stored score keeps the token the run's recording follows.
    TScriptedHttp Sent;
    EXPECT_EQ(SubmitScore(Sent, nullptr, "http://h/cgi/version.pl", "Ann", 5, "").Token, "T0K3N");
}

TEST(OnlineScores, TheTablePageOpensInTheBrowser)
{
    struct TRecordingOpener : IShellOpener
    {
        void OpenUrl(const std::string& Url) override { Opened.push_back(Url); }
        std::vector<std::string> Opened;
    } Opener;
    ViewOnlineScores(Opener, "http://127.0.0.1:8088/cgi/version.pl");
    ASSERT_EQ(Opener.Opened.size(), 1u);
    EXPECT_EQ(Opener.Opened[0], "http://127.0.0.1:8088/cgi/version.pl?prg=Velomarch&show&type=0");
}

} // namespace
} // namespace vm
