// The score server's HTTP front over raw loopback sockets: floods and slow senders cut off, idle
// connections closed, connection limits, keep-alive and HTTP/1.0, the drain on Stop, the access log
// and the client address behind a trusted proxy.
#include "server_test_support.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <regex>
#include <vector>

namespace {

using namespace vm::scored;
using namespace vm::scored::test;
using namespace std::chrono_literals;
using TClock = std::chrono::steady_clock;

// One client connection on a plain socket, to send exactly the bytes a test wants.
class TRawClient
{
public:
    explicit TRawClient(int Port)
    {
        FSocket = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in Address{};
        Address.sin_family = AF_INET;
        Address.sin_port = htons(static_cast<std::uint16_t>(Port));
        Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        FConnected = connect(FSocket, reinterpret_cast<sockaddr*>(&Address), sizeof Address) == 0;
    }
    ~TRawClient() { close(FSocket); }
    TRawClient(const TRawClient&) = delete;
    TRawClient& operator=(const TRawClient&) = delete;

    bool Connected() const { return FConnected; }

    // False once the server has closed or reset the connection.
    bool Send(std::string_view Bytes)
    {
        while (!Bytes.empty())
        {
            const ssize_t Sent = send(FSocket, Bytes.data(), Bytes.size(), MSG_NOSIGNAL);
            if (Sent <= 0)
                return false;
            Bytes.remove_prefix(static_cast<std::size_t>(Sent));
        }
        return true;
    }

    // One whole reply (head and Content-Length body), or "" when none came within Timeout.
    std::string ReadReply(std::chrono::milliseconds Timeout = 10s)
    {
        const auto Deadline = TClock::now() + Timeout;
        for (;;)
        {
            const std::size_t HeadEnd = FPending.find("\r\n\r\n");
            if (HeadEnd != std::string::npos)
            {
                static const std::regex LengthField("\r\nContent-Length: *(\\d+)", std::regex::icase);
                std::smatch Match;
                const std::string Head = FPending.substr(0, HeadEnd);
                const std::size_t Length =
                    std::regex_search(Head, Match, LengthField) ? std::stoul(Match[1]) : 0;
                if (FPending.size() >= HeadEnd + 4 + Length)
                {
                    std::string Reply = FPending.substr(0, HeadEnd + 4 + Length);
                    FPending.erase(0, Reply.size());
                    return Reply;
                }
            }
            if (!ReadSome(Deadline))
                return {};
        }
    }

    // Whether the server closed the connection within Timeout (what it sent first is dropped).
    bool WaitClosed(std::chrono::milliseconds Timeout)
    {
        const auto Deadline = TClock::now() + Timeout;
        while (ReadSome(Deadline))
            FPending.clear();
        return FClosed;
    }

private:
    // Reads what is there; false at the deadline or when the connection ended.
    bool ReadSome(TClock::time_point Deadline)
    {
        const auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - TClock::now());
        pollfd Poll{FSocket, POLLIN, 0};
        if (Left.count() <= 0 || poll(&Poll, 1, static_cast<int>(Left.count())) <= 0)
            return false;
        char Bytes[4096];
        const ssize_t Got = recv(FSocket, Bytes, sizeof Bytes, 0);
        if (Got <= 0)
        {
            FClosed = true;
            return false;
        }
        FPending.append(Bytes, static_cast<std::size_t>(Got));
        return true;
    }

    int FSocket = -1;
    bool FConnected = false;
    bool FClosed = false;
    std::string FPending;
};

int StatusOf(const std::string& Reply)
{
    return Reply.size() >= 12 && Reply.starts_with("HTTP/1.") ? std::stoi(Reply.substr(9, 3)) : -1;
}

std::string BodyOf(const std::string& Reply)
{
    const std::size_t HeadEnd = Reply.find("\r\n\r\n");
    return HeadEnd == std::string::npos ? std::string() : Reply.substr(HeadEnd + 4);
}

const std::string VersionRequest = "GET /cgi/version.pl?version&prg=Velomarch HTTP/1.1\r\nHost: x\r\n\r\n";

// Sends the head's start, then Filler over and over until the server closes or Limit bytes went.
// Run on its own thread while the test reads the answer.
void Flood(TRawClient& Client, const std::string& Start, char Filler, std::size_t Limit)
{
    if (!Client.Send(Start))
        return;
    const std::string Chunk(64 * 1024, Filler);
    for (std::size_t Sent = 0; Sent < Limit && Client.Send(Chunk); Sent += Chunk.size())
    {}
}

// The server answers others while a connection's head grows without end, and that connection is
// answered 431 (headers) or 414 (target) and closed long before all of it is sent.
TEST(ScoreFront, HeadFloodsAreCutOffAndOthersAreStillServed)
{
    TRunningServer Running(EStoreKind::Sqlite);
    ASSERT_GT(Running.Port, 0);
    struct TCase
    {
        std::string Start;
        char Filler;
        int Status;
    };
    for (const TCase& Case :
         {TCase{"GET /cgi/version.pl?version&prg=Velomarch HTTP/1.1\r\nX-Pad: ", 'y', 431},
          TCase{"GET /cgi/version.pl?inf=", 'Q', 414},
          TCase{"GET /cgi/version.pl?version HTTP/1.1\r\n", 'h', 431}})
    {
        TRawClient Flooder(Running.Port);
        ASSERT_TRUE(Flooder.Connected());
        std::thread Sender([&] { Flood(Flooder, Case.Start, Case.Filler, 64u << 20); });
        const std::string Reply = Flooder.ReadReply();
        EXPECT_EQ(StatusOf(Reply), Case.Status) << Reply.substr(0, 200);
        EXPECT_EQ(BodyOf(Reply), ErrorText(Case.Status));
        EXPECT_NE(Reply.find("Connection: close"), std::string::npos) << Reply;
        EXPECT_EQ(Running.Get("version&prg=Velomarch").first, 200);
        EXPECT_TRUE(Flooder.WaitClosed(15s));
        Sender.join();
    }
}

// Heads the parser refuses are answered 400, bodies over the limit 413 however they are framed;
// each connection is closed after its answer.
TEST(ScoreFront, MalformedHeadsAndLargeBodiesAreAnsweredAndClosed)
{
    TRunningServer Running(EStoreKind::Sqlite);
    const std::pair<std::string, int> Cases[] = {
        {"GET /cgi/version.pl?a\x01b HTTP/1.1\r\n\r\n", 400},
        {"NONSENSE\r\n\r\n", 400},
        {"GET /cgi/version.pl HTTP/9.9\r\n\r\n", 400},
        {"GET /cgi/version.pl HTTP/1.1\r\nBad Field: x\r\n\r\n", 400},
        {"POST /cgi/version.pl HTTP/1.1\r\nContent-Length: 1000000000000\r\n\r\n", 413},
        {"POST /cgi/version.pl HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n1000\r\n" +
             std::string(4096, 'c') + "\r\n1000\r\n" + std::string(4096, 'c') + "\r\n0\r\n\r\n",
         413},
    };
    for (const auto& [Request, Status] : Cases)
    {
        TRawClient Client(Running.Port);
        ASSERT_TRUE(Client.Send(Request));
        const std::string Reply = Client.ReadReply();
        EXPECT_EQ(StatusOf(Reply), Status) << Request.substr(0, 60) << "\n" << Reply;
        EXPECT_EQ(BodyOf(Reply), ErrorText(Status));
        EXPECT_TRUE(Client.WaitClosed(10s)) << Request.substr(0, 60);
    }
    EXPECT_EQ(Running.Get("version&prg=Velomarch").first, 200);
}

// The upload path takes bodies up to a megabyte, every other path its small limit; a body over its
// path's limit is refused from its head, before it is sent.
TEST(ScoreFront, OnlyTheUploadPathTakesLargeBodies)
{
    TRunningServer Running(EStoreKind::Sqlite);
    const std::string Large(5000, 'u');
    const std::pair<std::string, int> Cases[] = {
        {"POST /cgi/replay?prg=Velomarch&token=x HTTP/1.1\r\nContent-Length: 1048577\r\n\r\n", 413},
        {"POST /cgi/version.pl HTTP/1.1\r\nContent-Length: 5000\r\n\r\n" + Large, 413},
        // Within the limit the service reads it: not a recording.
        {"POST /cgi/replay?prg=Velomarch&token=x HTTP/1.1\r\nContent-Length: 5000\r\n\r\n" + Large, 400},
        {"POST /cgi/replay?prg=Velomarch&token=x HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n1388\r\n" +
             Large + "\r\n0\r\n\r\n",
         400},
    };
    for (const auto& [Request, Status] : Cases)
    {
        TRawClient Client(Running.Port);
        ASSERT_TRUE(Client.Send(Request));
        const std::string Reply = Client.ReadReply();
        EXPECT_EQ(StatusOf(Reply), Status) << Request.substr(0, 60) << "\n" << Reply;
    }
    EXPECT_EQ(Running.Get("version&prg=Velomarch").first, 200);
}

// A client sending a byte every 100 ms never finishes its head: it is answered 408 after the
// whole-request time, however often it sends.
TEST(ScoreFront, SlowSenderIsCutOffAfterTheRequestTime)
{
    TFrontOptions Front;
    Front.FRequestTime = 1500ms;
    TRunningServer Running(EStoreKind::Sqlite, DefaultServerOptions(), NoLimits(), Front);
    TRawClient Slow(Running.Port);
    ASSERT_TRUE(Slow.Connected());
    std::atomic<bool> Done{false};
    const auto Start = TClock::now();
    std::thread Sender([&] {
        if (!Slow.Send("GET /cgi/version.pl?version&prg=Velomarch HTTP/1.1\r\nX-Slow: "))
            return;
        for (int I = 0; I < 300 && !Done && Slow.Send("z"); ++I)
            std::this_thread::sleep_for(100ms);
    });
    const std::string Reply = Slow.ReadReply(30s);
    const auto Took = TClock::now() - Start;
    Done = true;
    EXPECT_EQ(StatusOf(Reply), 408) << Reply;
    EXPECT_EQ(BodyOf(Reply), ErrorText(408));
    EXPECT_GE(Took, 1400ms);
    EXPECT_TRUE(Slow.WaitClosed(10s));
    Sender.join();
}

// A kept-alive connection that asks nothing more, and one that never asks at all, are closed after
// the idle time.
TEST(ScoreFront, IdleConnectionsAreClosedAfterTheIdleTime)
{
    TFrontOptions Front;
    Front.FIdleTime = 1000ms;
    TRunningServer Running(EStoreKind::Sqlite, DefaultServerOptions(), NoLimits(), Front);
    TRawClient Kept(Running.Port);
    TRawClient Silent(Running.Port);
    const auto Start = TClock::now();
    ASSERT_TRUE(Kept.Send(VersionRequest));
    EXPECT_EQ(StatusOf(Kept.ReadReply()), 200);
    EXPECT_TRUE(Kept.WaitClosed(15s));
    EXPECT_TRUE(Silent.WaitClosed(15s));
    EXPECT_GE(TClock::now() - Start, 900ms);
}

// Over the per-address or the total limit a connection is closed unanswered; once one closes, a new
// one is served again. A trusted proxy is not held to the per-address limit.
TEST(ScoreFront, ConnectionLimitsPerAddressAndInTotal)
{
    auto CheckLimit = [](TFrontOptions Front, int Allowed) {
        TRunningServer Running(EStoreKind::Sqlite, DefaultServerOptions(), NoLimits(), Front);
        std::vector<std::unique_ptr<TRawClient>> Open;
        for (int I = 0; I < Allowed; ++I)
        {
            Open.push_back(std::make_unique<TRawClient>(Running.Port));
            ASSERT_TRUE(Open.back()->Send(VersionRequest));
            ASSERT_EQ(StatusOf(Open.back()->ReadReply()), 200) << I;
        }
        TRawClient Over(Running.Port);
        Over.Send(VersionRequest);
        EXPECT_EQ(Over.ReadReply(5s), "");
        EXPECT_TRUE(Over.WaitClosed(5s));
        // The kept-alive ones still work.
        ASSERT_TRUE(Open.front()->Send(VersionRequest));
        EXPECT_EQ(StatusOf(Open.front()->ReadReply()), 200);

        Open.pop_back();
        bool Served = false;
        for (const auto Deadline = TClock::now() + 10s; !Served && TClock::now() < Deadline;)
        {
            TRawClient Again(Running.Port);
            Served = Again.Send(VersionRequest) && StatusOf(Again.ReadReply(5s)) == 200;
            if (!Served)
                std::this_thread::sleep_for(50ms);
        }
        EXPECT_TRUE(Served);
    };
    TFrontOptions PerAddress;
    PerAddress.FMaxPerAddress = 2;
    CheckLimit(PerAddress, 2);
    TFrontOptions Total;
    Total.FMaxConnections = 3;
    CheckLimit(Total, 3);

    TFrontOptions Proxied;
    Proxied.FMaxPerAddress = 1;
    Proxied.FTrustedProxies = {"127.0.0.1"};
    TRunningServer Running(EStoreKind::Sqlite, DefaultServerOptions(), NoLimits(), Proxied);
    TRawClient First(Running.Port);
    TRawClient Second(Running.Port);
    ASSERT_TRUE(First.Send(VersionRequest) && Second.Send(VersionRequest));
    EXPECT_EQ(StatusOf(First.ReadReply()), 200);
    EXPECT_EQ(StatusOf(Second.ReadReply()), 200);
}

// Several requests on one connection, two of them sent at once, each answered in order; then
// "Connection: close" ends it after its answer.
TEST(ScoreFront, KeepAliveAnswersSeveralRequestsOnOneConnection)
{
    TRunningServer Running(EStoreKind::Sqlite);
    TRawClient Client(Running.Port);
    std::set<std::string> Tokens;
    for (int I = 0; I < 5; ++I)
    {
        ASSERT_TRUE(Client.Send(VersionRequest)) << I;
        const std::string Reply = Client.ReadReply();
        ASSERT_EQ(StatusOf(Reply), 200) << I;
        EXPECT_EQ(Reply.find("Connection: close"), std::string::npos);
        Tokens.insert(TokenOf(BodyOf(Reply)));
    }
    ASSERT_TRUE(Client.Send(VersionRequest + "GET /cgi/other.pl HTTP/1.1\r\n\r\n"));
    const std::string First = Client.ReadReply();
    const std::string Second = Client.ReadReply();
    EXPECT_EQ(StatusOf(First), 200);
    Tokens.insert(TokenOf(BodyOf(First)));
    EXPECT_EQ(StatusOf(Second), 404);
    EXPECT_EQ(BodyOf(Second), "ERR not found");
    EXPECT_EQ(Tokens.size(), 6u);

    ASSERT_TRUE(
        Client.Send("GET /cgi/version.pl?version&prg=Velomarch HTTP/1.1\r\nConnection: close\r\n\r\n"));
    const std::string Last = Client.ReadReply();
    EXPECT_EQ(StatusOf(Last), 200);
    EXPECT_NE(Last.find("Connection: close"), std::string::npos) << Last;
    EXPECT_TRUE(Client.WaitClosed(10s));
}

// An HTTP/1.0 request is answered in HTTP/1.0 and the connection closed, unless it asks to be kept.
TEST(ScoreFront, Http10ClosesAfterTheAnswerUnlessAskedToKeepAlive)
{
    TRunningServer Running(EStoreKind::Sqlite);
    TRawClient Plain(Running.Port);
    ASSERT_TRUE(Plain.Send("GET /cgi/version.pl?version&prg=Velomarch HTTP/1.0\r\n\r\n"));
    const std::string Reply = Plain.ReadReply();
    EXPECT_TRUE(Reply.starts_with("HTTP/1.0 200")) << Reply;
    EXPECT_EQ(TokenOf(BodyOf(Reply)).size(), 16u);
    EXPECT_TRUE(Plain.WaitClosed(10s));

    TRawClient Kept(Running.Port);
    const std::string KeepRequest =
        "GET /cgi/version.pl?version&prg=Velomarch HTTP/1.0\r\nConnection: keep-alive\r\n\r\n";
    ASSERT_TRUE(Kept.Send(KeepRequest));
    EXPECT_TRUE(Kept.ReadReply().starts_with("HTTP/1.0 200"));
    ASSERT_TRUE(Kept.Send(KeepRequest));
    EXPECT_TRUE(Kept.ReadReply().starts_with("HTTP/1.0 200"));
}

// Stop closes an idle kept-alive connection and the port at once, lets a submission the service is
// still storing finish with its answer, and then Run ends.
TEST(ScoreFront, StopLetsARequestInFlightFinishThenClosesThePort)
{
    std::mutex Mutex;
    std::condition_variable Changed;
    bool Entered = false;
    bool Released = false;
    TScoreServerOptions Options = DefaultServerOptions();
    // The wall clock is read while the submission is stored: holding it holds the request in flight.
    Options.FWallClock = [&] {
        std::unique_lock Lock(Mutex);
        Entered = true;
        Changed.notify_all();
        Changed.wait(Lock, [&] { return Released; });
        return std::int64_t{1700000000};
    };
    TRunningServer Running(EStoreKind::Sqlite, Options);
    const std::string Token = Running.FreshToken();
    TRawClient Idle(Running.Port);
    ASSERT_TRUE(Idle.Send(VersionRequest));
    ASSERT_EQ(StatusOf(Idle.ReadReply()), 200);

    TRawClient Busy(Running.Port);
    ASSERT_TRUE(Busy.Send("GET /cgi/version.pl?hs&prg=Velomarch&inf=" + ScoreInf("Gil", "321", Token, "") +
                          " HTTP/1.1\r\n\r\n"));
    {
        std::unique_lock Lock(Mutex);
        ASSERT_TRUE(Changed.wait_for(Lock, 10s, [&] { return Entered; }));
    }
    Running.Server.Stop();
    EXPECT_TRUE(Idle.WaitClosed(5s));
    bool PortClosed = false;
    for (const auto Deadline = TClock::now() + 5s; !PortClosed && TClock::now() < Deadline;)
    {
        PortClosed = !TRawClient(Running.Port).Connected();
        if (!PortClosed)
            std::this_thread::sleep_for(20ms);
    }
    EXPECT_TRUE(PortClosed);
    EXPECT_TRUE(Running.Server.IsRunning()); // still waiting for the submission

    {
        std::lock_guard Lock(Mutex);
        Released = true;
    }
    Changed.notify_all();
    const std::string Reply = Busy.ReadReply();
    EXPECT_EQ(StatusOf(Reply), 200) << Reply;
    EXPECT_EQ(BodyOf(Reply), "OK");
    EXPECT_NE(Reply.find("Connection: close"), std::string::npos) << Reply;
    EXPECT_TRUE(Busy.WaitClosed(5s));
    Running.Thread.join();
    EXPECT_FALSE(Running.Server.IsRunning());
    EXPECT_EQ(Running.Store->Count(), 1);
}

// Collects the access log's lines.
struct TLogLines
{
    std::vector<std::string> Wait(std::size_t Count)
    {
        std::unique_lock Lock(Mutex);
        Changed.wait_for(Lock, 10s, [&] { return Lines.size() >= Count; });
        return Lines;
    }
    std::mutex Mutex;
    std::condition_variable Changed;
    std::vector<std::string> Lines;
};

// One logfmt line per request with the time, client, method, path without its query, status,
// duration and bytes sent; refused connections and cut-off requests get one too.
TEST(ScoreFront, AccessLogHasOneLinePerRequestWithoutTheQuery)
{
    TLogLines Log;
    TFrontOptions Front;
    Front.FMaxPerAddress = 1;
    Front.FAccessLog = [&Log](std::string_view Line) {
        std::lock_guard Lock(Log.Mutex);
        Log.Lines.emplace_back(Line);
        Log.Changed.notify_all();
    };
    TRunningServer Running(EStoreKind::Sqlite, DefaultServerOptions(), NoLimits(), Front);
    TRawClient Client(Running.Port);
    ASSERT_TRUE(Client.Send("GET /cgi/version.pl?version&prg=Velomarch&secret=s3cr3t HTTP/1.1\r\n\r\n"));
    const std::string Reply = Client.ReadReply();
    ASSERT_EQ(StatusOf(Reply), 200);
    ASSERT_EQ(Log.Wait(1).size(), 1u);
    ASSERT_TRUE(Client.Send("GET /cgi/a\"b\xff=c HTTP/1.1\r\n\r\n"));
    ASSERT_EQ(StatusOf(Client.ReadReply()), 404);
    // A line is written once its answer is sent, which may be just after the client has it.
    ASSERT_EQ(Log.Wait(2).size(), 2u);
    {
        TRawClient Refused(Running.Port); // the second from this address
        EXPECT_TRUE(Refused.WaitClosed(5s));
    }
    ASSERT_EQ(Log.Wait(3).size(), 3u);
    ASSERT_TRUE(Client.Send("GET /" + std::string(10000, 'x') + " HTTP/1.1\r\n\r\n"));
    ASSERT_EQ(StatusOf(Client.ReadReply()), 414);

    const auto Lines = Log.Wait(4);
    ASSERT_EQ(Lines.size(), 4u);
    const std::string Time = R"(time=\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z client=127\.0\.0\.1 )";
    const std::regex Served(Time + R"(method=GET path=/cgi/version\.pl status=200 ms=\d+\.\d bytes=(\d+)\n)");
    std::smatch Match;
    ASSERT_TRUE(std::regex_match(Lines[0], Match, Served)) << Lines[0];
    EXPECT_EQ(std::stoul(Match[1]), Reply.size());
    EXPECT_EQ(Lines[0].find("s3cr3t"), std::string::npos);
    EXPECT_TRUE(std::regex_match(Lines[1],
                                 std::regex(Time + R"(method=GET path="/cgi/a\\"b\\xFF=c" status=404 .*\n)")))
        << Lines[1];
    EXPECT_TRUE(std::regex_match(Lines[2], std::regex(Time + "event=refused reason=max-per-address\n")))
        << Lines[2];
    EXPECT_TRUE(std::regex_match(Lines[3], std::regex(Time + "method=- path=- status=414 .*\n"))) << Lines[3];
}

// The stored client address: behind a trusted proxy the last X-Forwarded-For entry, otherwise the
// peer's address whatever the header says.
TEST(ScoreFront, TrustedProxyForwardedForNamesTheClient)
{
    auto StoredClient = [](TFrontOptions Front, const std::string& Forwarded) {
        TRunningServer Running(EStoreKind::Sqlite, DefaultServerOptions(), NoLimits(), Front);
        TRawClient Client(Running.Port);
        Client.Send(
            "GET /cgi/version.pl?hs&prg=Velomarch&inf=" + ScoreInf("Hal", "5", Running.FreshToken(), "") +
            " HTTP/1.1\r\nX-Forwarded-For: " + Forwarded + "\r\n\r\n");
        const std::string Reply = Client.ReadReply();
        EXPECT_EQ(BodyOf(Reply), "OK") << Reply;
        const auto Rows = Running.Store->Top(1);
        return Rows.empty() ? std::string() : Rows[0].FClient;
    };
    TFrontOptions Trusting;
    Trusting.FTrustedProxies = {"::1", "127.0.0.1"};
    EXPECT_EQ(StoredClient(Trusting, "10.9.8.7, 192.0.2.44"), "192.0.2.44");
    EXPECT_EQ(StoredClient(Trusting, "2001:db8::7"), "2001:db8::7");
    EXPECT_EQ(StoredClient(Trusting, "10.9.8.7, not-an-address"), "127.0.0.1");
    EXPECT_EQ(StoredClient(TFrontOptions(), "192.0.2.44"), "127.0.0.1");
    TFrontOptions Bad;
    Bad.FTrustedProxies = {"proxy.example"};
    EXPECT_THROW(THttpFront([](const THttpRequest&) { return THttpReply(); }, Bad), std::invalid_argument);
}

} // namespace
