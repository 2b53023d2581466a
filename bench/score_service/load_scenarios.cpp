// The load and abuse scenarios against the score server: header flood, slow and idle connections,
// token flood, version + submission load, and kept-alive against fresh connections.
#include "load_scenarios.h"

#include <poll.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <random>
#include <sstream>
#include <thread>

namespace vm::bench {

namespace {

constexpr const char* VersionTarget = "/cgi/version.pl?version&prg=Velomarch";
constexpr std::int64_t TopScore = 999999999; // the highest score a submission may carry

// One measurement: the sentence for people, then the same values as "RESULT key=value ..." for scripts.
class TResult
{
public:
    explicit TResult(const std::string& Scenario) { FValues << "RESULT scenario=" << Scenario; }

    template <typename T> TResult& Add(const std::string& Key, const T& Value)
    {
        std::ostringstream Text;
        Text << Value;
        std::string Clean = Text.str();
        // A value is one word: blanks become "_" and control characters "?".
        for (char& C : Clean)
            if (C == ' ')
                C = '_';
            else if (static_cast<unsigned char>(C) < 0x20 || C == 0x7F)
                C = '?';
        FValues << ' ' << Key << '=' << (Clean.empty() ? "-" : Clean);
        return *this;
    }
    TResult& Ms(const std::string& Key, double Value)
    {
        char Text[32];
        std::snprintf(Text, sizeof Text, "%.2f", Value);
        return Add(Key, Text);
    }

    void Print(std::ostream& Out, const std::string& Sentence) const
    {
        Out << Sentence << '\n' << FValues.str() << std::endl;
    }

private:
    std::ostringstream FValues;
};

std::string Fixed(double Value, int Decimals = 2)
{
    char Text[32];
    std::snprintf(Text, sizeof Text, "%.*f", Decimals, Value);
    return Text;
}

std::chrono::milliseconds Millis(double Seconds)
{
    return std::chrono::milliseconds(static_cast<long long>(Seconds * 1000));
}

// A short run tag for online names, so a run's rows can be told from others'.
std::string RunTag(const char* Prefix)
{
    std::random_device Random;
    return Prefix + std::to_string(10000 + Random() % 90000);
}

// How often Needle occurs in Text.
long CountOf(const std::string& Text, const std::string& Needle)
{
    long Count = 0;
    for (std::size_t At = Text.find(Needle); At != std::string::npos;
         At = Text.find(Needle, At + Needle.size()))
        ++Count;
    return Count;
}

// Latencies gathered by several threads.
struct TSamples
{
    std::mutex FMutex;
    std::vector<double> FMs;
    void Merge(const std::vector<double>& Mine)
    {
        std::lock_guard Lock(FMutex);
        FMs.insert(FMs.end(), Mine.begin(), Mine.end());
    }
};

// The first failure text seen, and how many there were.
struct TFailures
{
    std::mutex FMutex;
    std::atomic<long> FCount{0};
    std::string FFirst;
    void Note(const std::string& What)
    {
        if (FCount++ == 0)
        {
            std::lock_guard Lock(FMutex);
            FFirst = What;
        }
    }
};

std::string Describe(const TReply& Reply)
{
    if (!Reply.FError.empty())
        return Reply.FError;
    return std::to_string(Reply.FStatus) + " " + Reply.FBody.substr(0, 60);
}

bool ServerAnswers(const TTarget& Target, double TimeoutSeconds, std::ostream& Out)
{
    THttpClient Client(Target, "", false, Millis(TimeoutSeconds));
    const TReply Reply = Client.Get(VersionTarget);
    if (Reply.FStatus == 200)
        return true;
    Out << "scored_load: the server at " << Target.FHost << ':' << Target.FPort
        << " does not answer a version request (" << Describe(Reply) << ")" << std::endl;
    return false;
}

// ---- header flood ----

struct TFloodEnd
{
    std::string FHow = "open"; // a status ("431"), "closed", "reset" or "open"
    long FSentBytes = 0;
    double FCutMs = -1; // from passing the limit to the end; -1 when it did not end or never passed it
};

TFloodEnd FloodHeaders(const TTarget& Target, const std::string& Source, long MaxBytes, long LimitBytes,
                       TClock::time_point Deadline)
{
    TFloodEnd End;
    std::string Error;
    const int Socket = ConnectTo(Target, Source, std::chrono::milliseconds(5000), true, Error);
    if (Socket < 0)
    {
        End.FHow = "no-connection";
        return End;
    }
    const std::string Head = "GET /cgi/version.pl?version&prg=Velomarch HTTP/1.1\r\nHost: 127.0.0.1\r\n";
    std::string Lines;
    for (int I = 0; Lines.size() < 65536; ++I)
        Lines += "X-Flood-" + std::to_string(I) + ": " + std::string(90, 'f') + "\r\n";
    std::string Pending = Head;
    long HeaderBytes = -static_cast<long>(Head.find("\r\n") + 2); // the request line is not a header
    TClock::time_point PassedLimit{};
    bool Passed = false;
    TReplyReader Reader;
    // Once everything is sent, the server gets 6 s (longer than a usual read timeout) to answer or
    // close before the client counts as "open".
    TClock::time_point GiveUp = Deadline;
    for (;;)
    {
        const auto Now = TClock::now();
        if (Now >= GiveUp)
            break;
        const bool MoreToSend = End.FSentBytes < MaxBytes;
        pollfd Poll{Socket, static_cast<short>(POLLIN | (MoreToSend ? POLLOUT : 0)), 0};
        if (poll(&Poll, 1, 50) < 0 && errno != EINTR)
            break;
        if (Poll.revents & (POLLIN | POLLERR | POLLHUP))
        {
            char Buffer[4096];
            const ssize_t Got = recv(Socket, Buffer, sizeof Buffer, 0);
            if (Got > 0 && !Reader.Feed(std::string_view(Buffer, static_cast<std::size_t>(Got))) &&
                !Reader.Broken())
                continue;
            if (Got < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
            if (Reader.Complete())
                End.FHow = std::to_string(Reader.Take().FStatus);
            else
                End.FHow = Got < 0 ? "reset" : "closed";
            End.FCutMs =
                Passed ? std::chrono::duration<double, std::milli>(TClock::now() - PassedLimit).count() : -1;
            break;
        }
        if (MoreToSend && (Poll.revents & POLLOUT))
        {
            if (Pending.empty())
                Pending = Lines.substr(
                    0, static_cast<std::size_t>(std::min<long>(Lines.size(), MaxBytes - End.FSentBytes)));
            const ssize_t Sent = send(Socket, Pending.data(), Pending.size(), MSG_NOSIGNAL);
            if (Sent < 0 && errno != EAGAIN && errno != EINTR)
            {
                End.FHow = errno == EPIPE ? "closed" : "reset";
                End.FCutMs = Passed ? MillisecondsSince(PassedLimit) : -1;
                break;
            }
            if (Sent > 0)
            {
                Pending.erase(0, static_cast<std::size_t>(Sent));
                End.FSentBytes += Sent;
                HeaderBytes += Sent;
                if (!Passed && HeaderBytes > LimitBytes)
                {
                    Passed = true;
                    PassedLimit = TClock::now();
                }
                if (End.FSentBytes >= MaxBytes)
                    GiveUp = std::min(Deadline, TClock::now() + std::chrono::seconds(6));
            }
        }
    }
    close(Socket);
    return End;
}

} // namespace

int RunHeaderFlood(const TLoadOptions& Options, std::ostream& Out)
{
    const TTarget& Target = Options.FTargets.front();
    if (!ServerAnswers(Target, Options.FTimeoutSeconds, Out))
        return 1;
    const long MaxBytes = static_cast<long>(Options.FHeaderMegabytes * 1024 * 1024);
    const auto Start = TClock::now();
    const auto Deadline = Start + Millis(Options.FSeconds);

    // The server's memory is sampled while the clients flood it, and once more after they have gone.
    const TProcessMemory Before = Options.FPid > 0 ? ReadProcessMemory(Options.FPid) : TProcessMemory{};
    std::atomic<bool> Flooding{true};
    std::atomic<long> PeakRssKb{Before.FRssKb};
    std::thread Sampler([&] {
        while (Flooding && Options.FPid > 0)
        {
            const long Rss = ReadProcessMemory(Options.FPid).FRssKb;
            long Peak = PeakRssKb;
            while (Rss > Peak && !PeakRssKb.compare_exchange_weak(Peak, Rss))
            {}
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });

    std::vector<TFloodEnd> Ends(static_cast<std::size_t>(Options.FClients));
    std::vector<std::thread> Clients;
    for (int I = 0; I < Options.FClients; ++I)
        Clients.emplace_back([&, I] {
            Ends[static_cast<std::size_t>(I)] = FloodHeaders(Target, SourceAddress(I, Options.FSources),
                                                             MaxBytes, Options.FLimitBytes, Deadline);
        });
    for (std::thread& Client : Clients)
        Client.join();
    Flooding = false;
    Sampler.join();
    const double FloodSeconds = MillisecondsSince(Start) / 1000;

    std::vector<double> CutMs;
    for (std::size_t I = 0; I < Ends.size(); ++I)
    {
        const TFloodEnd& End = Ends[I];
        if (End.FCutMs >= 0)
            CutMs.push_back(End.FCutMs);
        TResult(std::string("header-flood"))
            .Add("client", I + 1)
            .Add("end", End.FHow)
            .Add("sent_bytes", End.FSentBytes)
            .Ms("cut_ms", End.FCutMs)
            .Print(Out, "header-flood client " + std::to_string(I + 1) + ": " + End.FHow + " after " +
                            std::to_string(End.FSentBytes) + " bytes sent" +
                            (End.FCutMs >= 0 ? ", " + Fixed(End.FCutMs) + " ms after passing " +
                                                   std::to_string(Options.FLimitBytes) + " header bytes"
                                             : std::string()));
    }
    // Memory after the flood: a moment for the server to let go of the connections first.
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const TProcessMemory After = Options.FPid > 0 ? ReadProcessMemory(Options.FPid) : TProcessMemory{};
    long Refused = 0, Closed = 0, Open = 0;
    for (const TFloodEnd& End : Ends)
        (End.FHow == "open" ? Open : End.FHow == "closed" || End.FHow == "reset" ? Closed : Refused) += 1;
    TResult("header-flood-summary")
        .Add("clients", Options.FClients)
        .Add("answered", Refused)
        .Add("closed", Closed)
        .Add("open", Open)
        .Ms("cut_p50_ms", Percentile(CutMs, 0.5))
        .Ms("cut_max_ms", CutMs.empty() ? 0 : *std::max_element(CutMs.begin(), CutMs.end()))
        .Add("rss_before_kb", Before.FRssKb)
        .Add("rss_peak_kb", PeakRssKb.load())
        .Add("rss_after_kb", After.FRssKb)
        .Add("hwm_kb", After.FHwmKb)
        .Ms("seconds", FloodSeconds)
        .Print(Out, "header-flood: " + std::to_string(Options.FClients) + " clients: " +
                        std::to_string(Refused) + " answered, " + std::to_string(Closed) + " cut off, " +
                        std::to_string(Open) + " still open; cut-off p50 " + Fixed(Percentile(CutMs, 0.5)) +
                        " ms; server RSS " + std::to_string(Before.FRssKb) + " kB before, peak " +
                        std::to_string(PeakRssKb.load()) + " kB, " + std::to_string(After.FRssKb) +
                        " kB after, high-water " + std::to_string(After.FHwmKb) + " kB");
    return 0;
}

// ---- slow and idle connections ----

namespace {

struct TSlowConnection
{
    int FSocket = -1;
    bool FSlow = false;
    bool FConnected = false;
    bool FOpen = true;
    std::size_t FNextByte = 0;
};

// Valid version requests on fresh connections until Stop, each timed.
void MakeValidRequests(const TTarget& Target, const TLoadOptions& Options, const std::atomic<bool>& Stop,
                       TSamples& Samples, TFailures& Failures)
{
    std::vector<double> Mine;
    THttpClient Client(Target, "", false, Millis(Options.FTimeoutSeconds));
    while (!Stop)
    {
        const auto Start = TClock::now();
        const TReply Reply = Client.Get(VersionTarget);
        if (Reply.FStatus == 200 && !TokenOf(Reply.FBody).empty())
            Mine.push_back(MillisecondsSince(Start));
        else
        {
            Failures.Note(Describe(Reply));
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    Samples.Merge(Mine);
}

} // namespace

int RunSlow(const TLoadOptions& Options, std::ostream& Out)
{
    const TTarget& Target = Options.FTargets.front();
    if (!ServerAnswers(Target, Options.FTimeoutSeconds, Out))
        return 1;
    const int Poller = epoll_create1(EPOLL_CLOEXEC);
    if (Poller < 0)
    {
        Out << "scored_load: epoll_create1 failed" << std::endl;
        return 1;
    }
    // A request that never ends: its head grows by one byte an interval.
    const std::string SlowBytes =
        "GET /cgi/version.pl?version&prg=Velomarch HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Slow: " +
        std::string(1 << 16, 's');
    std::vector<TSlowConnection> Connections(static_cast<std::size_t>(Options.FSlow + Options.FIdle));
    long ConnectFailed = 0;
    std::string FirstConnectError;
    for (std::size_t I = 0; I < Connections.size(); ++I)
    {
        TSlowConnection& Connection = Connections[I];
        Connection.FSlow = I < static_cast<std::size_t>(Options.FSlow);
        std::string Error;
        Connection.FSocket =
            StartConnect(Target, SourceAddress(static_cast<int>(I), Options.FSources), Error);
        if (Connection.FSocket < 0)
        {
            Connection.FOpen = false;
            if (ConnectFailed++ == 0)
                FirstConnectError = Error;
            continue;
        }
        epoll_event Event{};
        Event.events = EPOLLIN | EPOLLOUT | EPOLLRDHUP;
        Event.data.u64 = I;
        epoll_ctl(Poller, EPOLL_CTL_ADD, Connection.FSocket, &Event);
    }

    std::atomic<bool> Stop{false};
    TSamples Samples;
    TFailures Failures;
    std::vector<std::thread> Valid;
    const auto Start = TClock::now();
    for (int I = 0; I < Options.FValid; ++I)
        Valid.emplace_back([&] { MakeValidRequests(Target, Options, Stop, Samples, Failures); });

    long Answered = 0;
    const auto Deadline = Start + Millis(Options.FSeconds);
    auto NextDrip = Start;
    std::vector<epoll_event> Events(1024);
    while (TClock::now() < Deadline)
    {
        if (TClock::now() >= NextDrip)
        {
            for (TSlowConnection& Connection : Connections)
                if (Connection.FOpen && Connection.FConnected && Connection.FSlow)
                {
                    const char Byte = SlowBytes[Connection.FNextByte % SlowBytes.size()];
                    if (send(Connection.FSocket, &Byte, 1, MSG_NOSIGNAL) == 1)
                        ++Connection.FNextByte;
                }
            NextDrip += Millis(Options.FIntervalSeconds);
        }
        const int Ready = epoll_wait(Poller, Events.data(), static_cast<int>(Events.size()), 100);
        for (int E = 0; E < Ready; ++E)
        {
            TSlowConnection& Connection = Connections[Events[static_cast<std::size_t>(E)].data.u64];
            const std::uint32_t What = Events[static_cast<std::size_t>(E)].events;
            if (!Connection.FOpen)
                continue;
            if (!Connection.FConnected && (What & EPOLLOUT))
            {
                int SocketError = 0;
                socklen_t Size = sizeof SocketError;
                getsockopt(Connection.FSocket, SOL_SOCKET, SO_ERROR, &SocketError, &Size);
                if (SocketError != 0)
                {
                    if (ConnectFailed++ == 0)
                        FirstConnectError = std::string("connect: ") + std::strerror(SocketError);
                    Connection.FOpen = false;
                    continue;
                }
                Connection.FConnected = true;
                epoll_event Event{};
                Event.events = EPOLLIN | EPOLLRDHUP;
                Event.data.u64 = static_cast<std::uint64_t>(&Connection - Connections.data());
                epoll_ctl(Poller, EPOLL_CTL_MOD, Connection.FSocket, &Event);
            }
            if (What & (EPOLLIN | EPOLLRDHUP | EPOLLHUP | EPOLLERR))
            {
                char Buffer[4096];
                const ssize_t Got = recv(Connection.FSocket, Buffer, sizeof Buffer, 0);
                if (Got > 0)
                    ++Answered; // the server said something (a timeout status, say) before closing
                else if (Got == 0 || (errno != EAGAIN && errno != EINTR))
                {
                    Connection.FOpen = false;
                    epoll_ctl(Poller, EPOLL_CTL_DEL, Connection.FSocket, nullptr);
                }
            }
        }
    }
    Stop = true;
    for (std::thread& Thread : Valid)
        Thread.join();
    long SlowOpen = 0, IdleOpen = 0, NeverConnected = 0;
    for (TSlowConnection& Connection : Connections)
    {
        if (Connection.FOpen && !Connection.FConnected)
            ++NeverConnected;
        else if (Connection.FOpen)
            ++(Connection.FSlow ? SlowOpen : IdleOpen);
        if (Connection.FSocket >= 0)
            close(Connection.FSocket);
    }
    close(Poller);

    const std::vector<double>& Ms = Samples.FMs;
    TResult("slow")
        .Add("slow", Options.FSlow)
        .Add("idle", Options.FIdle)
        .Add("sources", Options.FSources)
        .Add("slow_open", SlowOpen)
        .Add("idle_open", IdleOpen)
        .Add("connect_failed", ConnectFailed)
        .Add("never_connected", NeverConnected)
        .Add("abusers_answered", Answered)
        .Add("valid_ok", Ms.size())
        .Ms("valid_p50_ms", Percentile(Ms, 0.5))
        .Ms("valid_p99_ms", Percentile(Ms, 0.99))
        .Ms("valid_max_ms", Ms.empty() ? 0 : *std::max_element(Ms.begin(), Ms.end()))
        .Add("valid_failed", Failures.FCount.load())
        .Add("first_failure", Failures.FFirst)
        .Print(Out, "slow: " + std::to_string(Options.FSlow) + " slow + " + std::to_string(Options.FIdle) +
                        " idle connections (" + std::to_string(SlowOpen) + " + " + std::to_string(IdleOpen) +
                        " still open at the end, " + std::to_string(ConnectFailed + NeverConnected) +
                        " not connected" + (FirstConnectError.empty() ? "" : ": " + FirstConnectError) +
                        "); valid version requests: " + std::to_string(Ms.size()) + " ok, p50 " +
                        Fixed(Percentile(Ms, 0.5)) + " ms, p99 " + Fixed(Percentile(Ms, 0.99)) + " ms, max " +
                        Fixed(Ms.empty() ? 0 : *std::max_element(Ms.begin(), Ms.end())) + " ms; " +
                        std::to_string(Failures.FCount.load()) + " failed" +
                        (Failures.FFirst.empty() ? "" : " (first: " + Failures.FFirst + ")"));
    return 0;
}

// ---- token flood ----

int RunTokenFlood(const TLoadOptions& Options, std::ostream& Out)
{
    const TTarget& Target = Options.FTargets.front();
    const auto Timeout = Millis(Options.FTimeoutSeconds);
    // The holder, from its own address, takes a token before the flood and submits it after.
    THttpClient Holder(Target, "127.0.0.3", false, Timeout);
    const TReply Held = Holder.Get(VersionTarget);
    const std::string HeldToken = TokenOf(Held.FBody);
    if (HeldToken.empty())
    {
        Out << "scored_load: the holder at 127.0.0.3 got no token (" << Describe(Held) << ")" << std::endl;
        return 1;
    }

    std::atomic<long> Asked{0}, Got{0}, Refused{0}, Broken{0}, GotBeforeRefusal{-1};
    std::mutex FirstMutex;
    std::string FirstRefusal;
    const auto Start = TClock::now();
    const auto Deadline = Start + Millis(Options.FSeconds);
    std::vector<std::thread> Flooders;
    for (int I = 0; I < Options.FClients; ++I)
        Flooders.emplace_back([&] {
            THttpClient Flooder(Target, "127.0.0.2", Options.FKeepAlive, Timeout);
            while (Asked++ < Options.FTokens && TClock::now() < Deadline)
            {
                const TReply Reply = Flooder.Get(VersionTarget);
                if (Reply.FStatus == 200 && !TokenOf(Reply.FBody).empty())
                {
                    ++Got;
                    continue;
                }
                if (!Reply.FError.empty())
                    ++Broken;
                else
                    ++Refused;
                long Unset = -1;
                if (GotBeforeRefusal.compare_exchange_strong(Unset, Got.load()))
                {
                    std::lock_guard Lock(FirstMutex);
                    FirstRefusal = Describe(Reply);
                }
            }
        });
    for (std::thread& Flooder : Flooders)
        Flooder.join();
    const double Seconds = MillisecondsSince(Start) / 1000;

    const std::string Tag = RunTag("hold");
    const TReply Submitted =
        Holder.Get("/cgi/version.pl?hs&prg=Velomarch&inf=" + ScoreInf("Holder", TopScore, HeldToken, Tag));
    const TReply Table = Holder.Get("/cgi/scores.json?all=1&limit=100");
    const bool Stored = Table.FStatus == 200 && CountOf(Table.FBody, "\"" + Tag + "\"") == 1;
    TResult("token-flood")
        .Add("asked", std::min(Asked.load(), Options.FTokens))
        .Add("got", Got.load())
        .Add("refused", Refused.load())
        .Add("failed", Broken.load())
        .Add("got_before_refusal", GotBeforeRefusal.load())
        .Add("first_refusal", FirstRefusal)
        .Ms("seconds", Seconds)
        .Add("holder_status", Submitted.FStatus)
        .Add("holder_reply", Describe(Submitted))
        .Add("holder_stored", Stored ? "yes" : "no")
        .Print(Out, "token-flood: 127.0.0.2 got " + std::to_string(Got.load()) + " tokens in " +
                        Fixed(Seconds) + " s, " + std::to_string(Refused.load()) + " refused, " +
                        std::to_string(Broken.load()) + " failed" +
                        (GotBeforeRefusal >= 0
                             ? " (first refusal after " + std::to_string(GotBeforeRefusal.load()) + ": " +
                                   FirstRefusal + ")"
                             : std::string(" (never refused)")) +
                        "; 127.0.0.3's held token: " + Describe(Submitted) +
                        ", stored: " + (Stored ? "yes" : "no"));
    return 0;
}

// ---- load ----

int RunLoad(const TLoadOptions& Options, std::ostream& Out)
{
    for (const TTarget& Target : Options.FTargets)
        if (!ServerAnswers(Target, Options.FTimeoutSeconds, Out))
            return 1;
    const std::string Tag = RunTag("ld");
    const std::size_t TargetCount = Options.FTargets.size();
    std::atomic<long> Next{0}, Stored{0};
    TSamples SubmitMs, PairMs;
    TFailures VersionFailures, SubmitFailures;
    const auto Start = TClock::now();
    const auto Deadline = Start + Millis(Options.FSeconds);
    std::vector<std::thread> Threads;
    for (int T = 0; T < Options.FClients; ++T)
        Threads.emplace_back([&, T] {
            std::vector<std::unique_ptr<THttpClient>> Clients;
            for (const TTarget& Target : Options.FTargets)
                Clients.push_back(std::make_unique<THttpClient>(Target, SourceAddress(T, Options.FSources),
                                                                Options.FKeepAlive,
                                                                Millis(Options.FTimeoutSeconds)));
            std::vector<double> MySubmit, MyPair;
            for (long Pair = Next++; Pair < Options.FPairs && TClock::now() < Deadline; Pair = Next++)
            {
                const std::size_t From = static_cast<std::size_t>(Pair) % TargetCount;
                const std::size_t To = Options.FCross ? (From + 1) % TargetCount : From;
                const auto PairStart = TClock::now();
                const TReply Version = Clients[From]->Get(VersionTarget);
                const std::string Token = TokenOf(Version.FBody);
                if (Version.FStatus != 200 || Token.empty())
                {
                    VersionFailures.Note(Describe(Version));
                    continue;
                }
                const auto SubmitStart = TClock::now();
                const TReply Submitted = Clients[To]->Get("/cgi/version.pl?hs&prg=Velomarch&inf=" +
                                                          ScoreInf("Load", TopScore - Pair, Token, Tag));
                if (Submitted.FStatus != 200)
                {
                    SubmitFailures.Note(Describe(Submitted));
                    continue;
                }
                MySubmit.push_back(MillisecondsSince(SubmitStart));
                MyPair.push_back(MillisecondsSince(PairStart));
                ++Stored;
            }
            SubmitMs.Merge(MySubmit);
            PairMs.Merge(MyPair);
        });
    for (std::thread& Thread : Threads)
        Thread.join();
    const double Seconds = MillisecondsSince(Start) / 1000;
    const double Rate = Seconds > 0 ? static_cast<double>(Stored.load()) / Seconds : 0;

    // The JSON table of all rows (none is verified) shows the best 100; on a fresh database those are
    // this run's newest best.
    std::string Check = "not-asked";
    if (Options.FCheck)
    {
        THttpClient Reader(Options.FTargets.front(), "", false, Millis(Options.FTimeoutSeconds));
        const TReply Table = Reader.Get("/cgi/scores.json?all=1&limit=100");
        const long Shown = Table.FStatus == 200 ? CountOf(Table.FBody, "\"" + Tag + "\"") : -1;
        const long Expected = std::min<long>(Stored.load(), 100);
        Check =
            Shown == Expected ? "ok" : "mismatch:" + std::to_string(Shown) + "/" + std::to_string(Expected);
    }
    TResult("load")
        .Add("targets", TargetCount)
        .Add("clients", Options.FClients)
        .Add("keep_alive", Options.FKeepAlive ? "yes" : "no")
        .Add("stored", Stored.load())
        .Ms("seconds", Seconds)
        .Ms("submissions_per_s", Rate)
        .Ms("submit_p50_ms", Percentile(SubmitMs.FMs, 0.5))
        .Ms("submit_p99_ms", Percentile(SubmitMs.FMs, 0.99))
        .Ms("pair_p50_ms", Percentile(PairMs.FMs, 0.5))
        .Ms("pair_p99_ms", Percentile(PairMs.FMs, 0.99))
        .Add("version_errors", VersionFailures.FCount.load())
        .Add("submit_errors", SubmitFailures.FCount.load())
        .Add("first_error", !VersionFailures.FFirst.empty() ? VersionFailures.FFirst : SubmitFailures.FFirst)
        .Add("check", Check)
        .Print(Out,
               "load: " + std::to_string(Stored.load()) + " submissions stored in " + Fixed(Seconds) +
                   " s (" + Fixed(Rate, 1) + "/s) by " + std::to_string(Options.FClients) + " clients on " +
                   std::to_string(TargetCount) + " target(s)" + (Options.FKeepAlive ? ", kept alive" : "") +
                   "; submission p50 " + Fixed(Percentile(SubmitMs.FMs, 0.5)) + " ms, p99 " +
                   Fixed(Percentile(SubmitMs.FMs, 0.99)) + " ms; pair p50 " +
                   Fixed(Percentile(PairMs.FMs, 0.5)) + " ms, p99 " + Fixed(Percentile(PairMs.FMs, 0.99)) +
                   " ms; errors: " + std::to_string(VersionFailures.FCount.load()) + " version, " +
                   std::to_string(SubmitFailures.FCount.load()) + " submission; table check: " + Check);
    return 0;
}

// ---- kept alive against fresh connections ----

int RunKeepAlive(const TLoadOptions& Options, std::ostream& Out)
{
    const TTarget& Target = Options.FTargets.front();
    if (!ServerAnswers(Target, Options.FTimeoutSeconds, Out))
        return 1;
    const std::string Tag = RunTag("ka");
    // Each way gets half the time; both make the same version + submission sequence.
    for (const bool KeepAlive : {false, true})
    {
        THttpClient Client(Target, "", KeepAlive, Millis(Options.FTimeoutSeconds));
        std::vector<double> Ms;
        long Errors = 0;
        std::string FirstError;
        const auto Start = TClock::now();
        const auto Deadline = Start + Millis(Options.FSeconds / 2);
        for (long Pair = 0; Pair < Options.FPairs && TClock::now() < Deadline; ++Pair)
        {
            auto RequestStart = TClock::now();
            const TReply Version = Client.Get(VersionTarget);
            const std::string Token = TokenOf(Version.FBody);
            if (Version.FStatus != 200 || Token.empty())
            {
                if (Errors++ == 0)
                    FirstError = Describe(Version);
                continue;
            }
            Ms.push_back(MillisecondsSince(RequestStart));
            RequestStart = TClock::now();
            const TReply Submitted = Client.Get("/cgi/version.pl?hs&prg=Velomarch&inf=" +
                                                ScoreInf("Keep", TopScore - Pair, Token, Tag));
            if (Submitted.FStatus != 200)
            {
                if (Errors++ == 0)
                    FirstError = Describe(Submitted);
                continue;
            }
            Ms.push_back(MillisecondsSince(RequestStart));
        }
        const std::string Way = KeepAlive ? "kept-alive" : "fresh";
        TResult("keepalive")
            .Add("way", Way)
            .Add("requests", Ms.size())
            .Add("connections", Client.Connections())
            .Ms("p50_ms", Percentile(Ms, 0.5))
            .Ms("p99_ms", Percentile(Ms, 0.99))
            .Add("errors", Errors)
            .Add("first_error", FirstError)
            .Print(Out, "keepalive " + Way + ": " + std::to_string(Ms.size()) + " requests over " +
                            std::to_string(Client.Connections()) + " connection(s), p50 " +
                            Fixed(Percentile(Ms, 0.5), 3) + " ms, p99 " + Fixed(Percentile(Ms, 0.99), 3) +
                            " ms, " + std::to_string(Errors) + " errors" +
                            (FirstError.empty() ? "" : " (first: " + FirstError + ")"));
    }
    return 0;
}

} // namespace vm::bench
