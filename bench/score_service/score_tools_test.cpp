// The load tools' own checks: the hand-made reply reader, and the libmicrohttpd front and the
// scenarios against a real score service on a loopback port.
#include "load_scenarios.h"
#include "mhd_front.h"
#include "raw_http.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>

#include <sys/socket.h>
#include <unistd.h>

namespace vm::bench {
namespace {

TEST(ReplyReader, ReadsRepliesHoweverTheyAreFramed)
{
    // Content-Length, split anywhere, with the next (pipelined) reply's start kept for later.
    TReplyReader Reader;
    const std::string Two = "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhelloHTTP/1.1 404 Not Found\r\n"
                            "Connection: close\r\ncontent-length: 3\r\n\r\nERR";
    for (std::size_t I = 0; I < 40; ++I)
        EXPECT_FALSE(Reader.Feed(Two.substr(I, 1)));
    EXPECT_TRUE(Reader.Feed(Two.substr(40)));
    TReply First = Reader.Take();
    EXPECT_EQ(First.FStatus, 200);
    EXPECT_EQ(First.FBody, "hello");
    EXPECT_TRUE(First.FKeepAlive);
    ASSERT_TRUE(Reader.Complete());
    TReply Second = Reader.Take();
    EXPECT_EQ(Second.FStatus, 404);
    EXPECT_EQ(Second.FBody, "ERR");
    EXPECT_FALSE(Second.FKeepAlive);

    // Chunked, with a chunk extension.
    EXPECT_TRUE(Reader.Feed(
        "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3;x=y\r\nabc\r\n2\r\nde\r\n0\r\n\r\n"));
    EXPECT_EQ(Reader.Take().FBody, "abcde");

    // No length: the body runs to the close, and the connection cannot be kept.
    EXPECT_FALSE(Reader.Feed("HTTP/1.0 200 OK\r\n\r\nto the end"));
    EXPECT_TRUE(Reader.FinishAtClose());
    const TReply UntilClose = Reader.Take();
    EXPECT_EQ(UntilClose.FBody, "to the end");
    EXPECT_FALSE(UntilClose.FKeepAlive);
}

TEST(ReplyReader, RefusesWhatIsNoReply)
{
    TReplyReader Reader;
    EXPECT_FALSE(Reader.Feed("SSH-2.0-OpenSSH\r\n\r\n"));
    EXPECT_TRUE(Reader.Broken());
    EXPECT_EQ(Reader.Take().FStatus, -1);

    EXPECT_FALSE(Reader.Feed("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nshort"));
    EXPECT_FALSE(Reader.FinishAtClose());
    EXPECT_EQ(Reader.Take().FError, "closed in the middle of a reply");

    EXPECT_FALSE(Reader.Feed("HTTP/1.1 200 OK\r\nContent-Length: 99999999999\r\n\r\n"));
    EXPECT_TRUE(Reader.Broken());
    Reader.Take();
    EXPECT_FALSE(Reader.Feed("HTTP/1.1 200 OK\r\n" + std::string(70000, 'x')));
    EXPECT_TRUE(Reader.Broken());
}

TEST(LoadMeasures, PercentilesTargetsAndSources)
{
    EXPECT_EQ(Percentile({}, 0.99), 0);
    std::vector<double> Hundred;
    for (int I = 100; I >= 1; --I)
        Hundred.push_back(I);
    EXPECT_EQ(Percentile(Hundred, 0.5), 50);
    EXPECT_EQ(Percentile(Hundred, 0.99), 99);
    EXPECT_EQ(Percentile(Hundred, 1.0), 100);
    EXPECT_EQ(Percentile({7}, 0.99), 7);

    EXPECT_FALSE(ParseTarget("localhost:80"));
    EXPECT_FALSE(ParseTarget("127.0.0.1:0"));
    EXPECT_FALSE(ParseTarget("127.0.0.1:65536"));
    EXPECT_FALSE(ParseTarget("127.0.0.1"));
    ASSERT_TRUE(ParseTarget("127.0.0.1:8088"));
    EXPECT_EQ(ParseTarget("127.0.0.1:8088")->FPort, 8088);

    EXPECT_EQ(SourceAddress(5, 0), "");
    EXPECT_EQ(SourceAddress(0, 3), "127.0.0.2");
    EXPECT_EQ(SourceAddress(3, 3), "127.0.0.2");
    EXPECT_EQ(SourceAddress(300, 1000), "127.0.1.46");
}

// The score service over libmicrohttpd on a free loopback port, with a database in a fresh folder.
class TRunningProbe
{
public:
    TRunningProbe()
    {
        char Pattern[] = "/tmp/velomarch-probe-test-XXXXXX";
        Folder = mkdtemp(Pattern);
        scored::TStoreOptions Options;
        Options.FLimits = scored::TStoreLimits{0, 0, 0, 0, 0, 600}; // load runs come from one address
        Store = scored::OpenStore(Folder + "/scores.db", Options);
        Front = std::make_unique<TMhdFront>(*Store, TMhdLimits{});
        Port = Front->Start("127.0.0.1", 0);
    }
    ~TRunningProbe()
    {
        Front.reset();
        Store.reset();
        std::filesystem::remove_all(Folder);
    }
    TTarget Target() const { return TTarget{"127.0.0.1", Port}; }

    std::string Folder;
    std::unique_ptr<scored::TScoreStore> Store;
    std::unique_ptr<TMhdFront> Front;
    int Port = -1;
};

// One raw request and its reply on a fresh connection.
TReply RawExchange(const TTarget& Target, const std::string& Request)
{
    std::string Error;
    const int Socket = ConnectTo(Target, "", std::chrono::seconds(5), false, Error);
    if (Socket < 0)
        return TReply{-1, {}, false, Error};
    std::size_t Sent = 0;
    while (Sent < Request.size())
    {
        const ssize_t Now = send(Socket, Request.data() + Sent, Request.size() - Sent, MSG_NOSIGNAL);
        if (Now <= 0)
            break;
        Sent += static_cast<std::size_t>(Now);
    }
    TReplyReader Reader;
    char Buffer[4096];
    for (;;)
    {
        const ssize_t Got = recv(Socket, Buffer, sizeof Buffer, 0);
        if (Got > 0 ? Reader.Feed(std::string_view(Buffer, static_cast<std::size_t>(Got))) || Reader.Broken()
                    : (Reader.FinishAtClose(), true))
            break;
    }
    close(Socket);
    return Reader.Take();
}

TEST(MhdFront, AnswersTheProtocolWithTheServersLimits)
{
    TRunningProbe Probe;
    ASSERT_GT(Probe.Port, 0);

    // Version and submission from 127.0.0.2 over one kept-alive connection; the row keeps the address.
    THttpClient Client(Probe.Target(), "127.0.0.2", true, std::chrono::seconds(5));
    const TReply Version = Client.Get("/cgi/version.pl?version&prg=Velomarch");
    ASSERT_EQ(Version.FStatus, 200);
    const std::string Token = TokenOf(Version.FBody);
    EXPECT_EQ(Token.size(), scored::TokenLength);
    const TReply Stored =
        Client.Get("/cgi/version.pl?hs&prg=Velomarch&inf=" + ScoreInf("Ann", 1234, Token, "web"));
    EXPECT_EQ(Stored.FStatus, 200);
    EXPECT_EQ(Stored.FBody, "OK");
    const TReply Again =
        Client.Get("/cgi/version.pl?hs&prg=Velomarch&inf=" + ScoreInf("Ann", 1234, Token, "web"));
    EXPECT_EQ(Again.FStatus, 400);
    EXPECT_EQ(Client.Connections(), 1);
    ASSERT_EQ(Probe.Store->Count(), 1);
    EXPECT_EQ(Probe.Store->Top(1).front().FClient, "127.0.0.2");
    const TReply Json = Client.Get("/cgi/scores.json?all=1&limit=5");
    EXPECT_EQ(Json.FStatus, 200);
    EXPECT_NE(Json.FBody.find("\"Ann\""), std::string::npos);

    EXPECT_EQ(Client.Get("/nothing/here").FStatus, 404);
    EXPECT_EQ(RawExchange(Probe.Target(), "POST /cgi/version.pl?version&prg=Velomarch HTTP/1.1\r\nHost: x\r\n"
                                          "Content-Length: 2\r\n\r\nab")
                  .FStatus,
              404);
    EXPECT_EQ(RawExchange(Probe.Target(), "GET /cgi/version.pl?version&prg=Velomarch&x=" +
                                              std::string(4100, 'a') + " HTTP/1.1\r\nHost: x\r\n\r\n")
                  .FStatus,
              414);
    EXPECT_EQ(RawExchange(Probe.Target(), "GET /cgi/version.pl?version&prg=Velomarch HTTP/1.1\r\nHost: x\r\n"
                                          "X-Big: " +
                                              std::string(4200, 'b') + "\r\n\r\n")
                  .FStatus,
              431);
    // Far past the connection's memory: refused by the library before the service sees it.
    const TReply Flood =
        RawExchange(Probe.Target(), "GET / HTTP/1.1\r\nX-Big: " + std::string(40000, 'b') + "\r\n\r\n");
    EXPECT_TRUE(Flood.FStatus == 431 || Flood.FStatus == -1) << Flood.FStatus;
    EXPECT_EQ(RawExchange(Probe.Target(), "GET /cgi/version.pl?version&prg=Velomarch HTTP/1.1\r\nHost: x\r\n"
                                          "Content-Length: 5000\r\n\r\n")
                  .FStatus,
              413);
    EXPECT_EQ(Probe.Store->Count(), 1);
}

TEST(LoadScenarios, LoadAndTokenFloodReportWhatTheServerStored)
{
    TRunningProbe Probe;
    ASSERT_GT(Probe.Port, 0);
    TLoadOptions Options;
    Options.FTargets = {Probe.Target(), Probe.Target()};
    Options.FClients = 3;
    Options.FPairs = 30;
    Options.FSources = 2;
    Options.FCheck = true;
    std::ostringstream Load;
    EXPECT_EQ(RunLoad(Options, Load), 0);
    EXPECT_NE(Load.str().find(" stored=30 "), std::string::npos) << Load.str();
    EXPECT_NE(Load.str().find(" check=ok"), std::string::npos) << Load.str();
    EXPECT_NE(Load.str().find(" submit_errors=0 "), std::string::npos) << Load.str();
    EXPECT_EQ(Probe.Store->Count(), 30);

    Options.FClients = 2;
    Options.FTokens = 50;
    std::ostringstream Flood;
    EXPECT_EQ(RunTokenFlood(Options, Flood), 0);
    EXPECT_NE(Flood.str().find(" got=50 "), std::string::npos) << Flood.str();
    EXPECT_NE(Flood.str().find(" holder_stored=yes"), std::string::npos) << Flood.str();
    EXPECT_EQ(Probe.Store->Count(), 31);

    // No server: the run says so and fails rather than reporting zeros as a measurement.
    Options.FTargets = {TTarget{"127.0.0.1", 1}};
    std::ostringstream Nothing;
    EXPECT_EQ(RunLoad(Options, Nothing), 1);
    EXPECT_NE(Nothing.str().find("does not answer"), std::string::npos);
}

} // namespace
} // namespace vm::bench
