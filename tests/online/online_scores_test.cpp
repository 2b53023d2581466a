// Sending a score from the game to the real high-score server on loopback, and what the game does
// when the server is missing, silent or answers nonsense.
#include "common/line_codec.h"
#include "engine/http_client.h"
#include "engine/shell_opener.h"
#include "persist/high_scores.h"
#include "persist/online_scores.h"
#include "persist/profiles.h"
#include "persist/settings_file.h"
#include "platform/sdl/curl_http_client.h"
#include "score_store.h"
#include "state/game_state.h"
#include "support/state_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace vm {
namespace {

// velomarch-scored started on a free loopback port with its own database; stopped at the end.
class TServerProcess
{
public:
    explicit TServerProcess(const std::string& DbPath)
    {
        int Pipe[2];
        if (pipe(Pipe) != 0)
            return;
        FPid = fork();
        if (FPid == 0)
        {
            dup2(Pipe[1], 1);
            close(Pipe[0]);
            execl(VM_SCORED_BIN, VM_SCORED_BIN, "--listen", "127.0.0.1:0", "--db", DbPath.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(Pipe[1]);
        // "velomarch-scored listening on 127.0.0.1:PORT"
        FILE* Out = fdopen(Pipe[0], "r");
        char Line[256] = {};
        if (Out != nullptr && std::fgets(Line, sizeof Line, Out) != nullptr)
        {
            const std::string Text = Line;
            const auto Colon = Text.rfind(':');
            if (Colon != std::string::npos)
                FPort = std::atoi(Text.c_str() + Colon + 1);
        }
        if (Out != nullptr)
            std::fclose(Out);
    }
    ~TServerProcess() { Stop(); }
    // SIGTERM ends the server cleanly with status 0; any other end (a crash, or a leak found at
    // exit in a sanitizer build) fails the test that started it.
    void Stop()
    {
        if (FPid <= 0)
            return;
        kill(FPid, SIGTERM);
        int Status = 0;
        const bool Reaped = waitpid(FPid, &Status, 0) == FPid;
        FPid = -1;
        if (!Reaped || !WIFEXITED(Status) || WEXITSTATUS(Status) != 0)
            ADD_FAILURE() << "velomarch-scored did not end with status 0 on SIGTERM (wait status " << Status
                          << ")";
    }
    int Port() const { return FPort; }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(FPort) + "/cgi/version.pl"; }

private:
    pid_t FPid = -1;
    int FPort = 0;
};

TEST(OnlineScores, TheGameStoresExactlyOneRowOnTheRealServer)
{
    test::TTempDir Dir;
    const std::string Db = Dir.File("scores.db");
    {
        TServerProcess Server(Db);
        ASSERT_GT(Server.Port(), 0);
        TCurlHttpClient Http;
        test::TMessageRecorder Messages;
        SendScore(Http, Messages, Server.Url(), "Zoë Runner", 12345, "zoe_online");
        EXPECT_TRUE(Messages.Messages.empty());
        // An empty online name still sends the field; a name with blanks inside is kept.
        SendScore(Http, Messages, Server.Url(), "Ann  Lee", 0, "");
        EXPECT_TRUE(Messages.Messages.empty());
        // The table page lists them.
        std::string Page;
        ASSERT_TRUE(Http.Get(Server.Url() + "?prg=Velomarch&show&type=0", Page));
        EXPECT_NE(Page.find("Zoë Runner"), std::string::npos);
        EXPECT_NE(Page.find("12345"), std::string::npos);
        Server.Stop();
    }
    scored::TScoreStore Store(Db);
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

TEST(OnlineScores, NoServerOrASilentOneTellsThePlayerWithinTheTimeOut)
{
    TCurlHttpClient Http;
    test::TMessageRecorder Messages;
    // Nothing listens on this port: refused at once.
    const int Closed = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in Address{};
    Address.sin_family = AF_INET;
    Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(Closed, reinterpret_cast<sockaddr*>(&Address), sizeof Address), 0);
    socklen_t Length = sizeof Address;
    getsockname(Closed, reinterpret_cast<sockaddr*>(&Address), &Length);
    const int ClosedPort = ntohs(Address.sin_port);
    close(Closed);
    SendScore(Http, Messages, "http://127.0.0.1:" + std::to_string(ClosedPort) + "/cgi/version.pl", "Ann", 10,
              "");
    ASSERT_EQ(Messages.Messages.size(), 1u);
    EXPECT_EQ(Messages.Messages[0].Text, "Can't connect to server!");

    // A server that accepts the connection and never answers: the kernel completes the handshake
    // on the listening socket, nobody reads. The game comes back after its total time-out.
    const int Silent = socket(AF_INET, SOCK_STREAM, 0);
    Address.sin_port = 0;
    ASSERT_EQ(bind(Silent, reinterpret_cast<sockaddr*>(&Address), sizeof Address), 0);
    ASSERT_EQ(listen(Silent, 4), 0);
    getsockname(Silent, reinterpret_cast<sockaddr*>(&Address), &Length);
    const auto Start = std::chrono::steady_clock::now();
    SendScore(Http, Messages,
              "http://127.0.0.1:" + std::to_string(ntohs(Address.sin_port)) + "/cgi/version.pl", "Ann", 10,
              "");
    const double Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
    close(Silent);
    ASSERT_EQ(Messages.Messages.size(), 2u);
    EXPECT_EQ(Messages.Messages[1].Text, "Can't connect to server!");
    // It came back (not hung); how long it took is shown, not judged.
    std::printf("a silent server held the game for %.2f s\n", Seconds);
}

// Replies as a server would give them, for the reply handling the real server never exercises.
class TScriptedHttp : public IHttpClient
{
public:
    bool Get(const std::string& Url, std::string& Body) override
    {
        Urls.push_back(Url);
        Body = Urls.size() == 1 ? VersionReply : "";
        return Answer;
    }
    std::string VersionReply;
    bool Answer = true;
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
    test::TMessageRecorder Messages;
    Http.VersionReply = "OK";
    SendScore(Http, Messages, "http://h/cgi/version.pl", "Ann", 5, "a");
    ASSERT_EQ(Http.Urls.size(), 2u);
    EXPECT_EQ(Http.Urls[0], "http://h/cgi/version.pl?version&prg=Velomarch");
    EXPECT_EQ(Http.Urls[1].rfind("http://h/cgi/version.pl?hs&prg=Velomarch&inf=", 0), 0u);
    const std::string Info = Http.Urls[1].substr(Http.Urls[1].find("inf=") + 4);
    EXPECT_EQ(DecodeLine(Info).rfind("type=0|name=Ann|score=5|key=V|p=|add=a|z=", 0), 0u);
    EXPECT_TRUE(Messages.Messages.empty());

    // Anything but "OK" in front: told, and nothing submitted.
    for (const char* Reply : {"", "ok|x|y|z|t|", "ERR busy", "<html>OK</html>"})
    {
        TScriptedHttp Bad;
        Bad.VersionReply = Reply;
        test::TMessageRecorder Told;
        SendScore(Bad, Told, "http://h/cgi/version.pl", "Ann", 5, "");
        EXPECT_EQ(Bad.Urls.size(), 1u) << Reply;
        ASSERT_EQ(Told.Messages.size(), 1u) << Reply;
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
    scored::TScoreStore Store(Db);
    ASSERT_EQ(Store.Count(), 1);
    const auto Rows = Store.Top(1);
    EXPECT_EQ(Rows[0].FName, "Tester");
    EXPECT_EQ(Rows[0].FScore, 0);
    EXPECT_EQ(Rows[0].FOnlineName, "tester_on");
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
