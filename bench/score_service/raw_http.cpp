// Plain-socket HTTP/1.1 for the load and abuse tools: connecting from chosen loopback addresses,
// reading replies by hand, and the measurements the tools report.
#include "raw_http.h"

#include "common/line_codec.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>

namespace vm::bench {

namespace {

constexpr std::size_t MaxHeadBytes = 64 * 1024;
constexpr std::size_t MaxBodyBytes = 4 * 1024 * 1024;

std::string Lower(std::string_view Text)
{
    std::string Out(Text);
    std::transform(Out.begin(), Out.end(), Out.begin(), [](unsigned char C) { return std::tolower(C); });
    return Out;
}

std::string_view Trim(std::string_view Text)
{
    while (!Text.empty() && (Text.front() == ' ' || Text.front() == '\t'))
        Text.remove_prefix(1);
    while (!Text.empty() && (Text.back() == ' ' || Text.back() == '\t' || Text.back() == '\r'))
        Text.remove_suffix(1);
    return Text;
}

bool ParseDecimal(std::string_view Text, std::size_t& Value, int Base = 10)
{
    Text = Trim(Text);
    if (Text.empty() || Text.size() > 15)
        return false;
    Value = 0;
    for (const char C : Text)
    {
        int Digit = -1;
        if (C >= '0' && C <= '9')
            Digit = C - '0';
        else if (Base == 16 && C >= 'a' && C <= 'f')
            Digit = C - 'a' + 10;
        else if (Base == 16 && C >= 'A' && C <= 'F')
            Digit = C - 'A' + 10;
        if (Digit < 0)
            return false;
        Value = Value * Base + Digit;
    }
    return true;
}

bool SetNonBlocking(int Socket, bool On)
{
    const int Flags = fcntl(Socket, F_GETFL, 0);
    return Flags >= 0 && fcntl(Socket, F_SETFL, On ? Flags | O_NONBLOCK : Flags & ~O_NONBLOCK) == 0;
}

// Waits for Events on Socket until Deadline; false on timeout.
bool WaitFor(int Socket, short Events, TClock::time_point Deadline)
{
    for (;;)
    {
        const auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - TClock::now());
        if (Left.count() <= 0)
            return false;
        pollfd Poll{Socket, Events, 0};
        const int Ready = poll(&Poll, 1, static_cast<int>(Left.count()) + 1);
        if (Ready > 0)
            return true;
        if (Ready < 0 && errno != EINTR)
            return false;
    }
}

TReply Failure(std::string Why)
{
    TReply Reply;
    Reply.FError = std::move(Why);
    return Reply;
}

} // namespace

std::optional<TTarget> ParseTarget(const std::string& Text)
{
    const std::size_t Colon = Text.rfind(':');
    if (Colon == std::string::npos)
        return std::nullopt;
    TTarget Target{Text.substr(0, Colon), 0};
    in_addr Address{};
    std::size_t Port = 0;
    if (inet_pton(AF_INET, Target.FHost.c_str(), &Address) != 1 ||
        !ParseDecimal(std::string_view(Text).substr(Colon + 1), Port) || Port < 1 || Port > 65535)
        return std::nullopt;
    Target.FPort = static_cast<int>(Port);
    return Target;
}

std::string SourceAddress(int Index, int Count)
{
    if (Count <= 0)
        return {};
    // 127.0.0.2 upwards, carrying into the third and second bytes past 255.
    const long Host = 2 + Index % Count;
    return "127." + std::to_string((Host >> 16) & 255) + "." + std::to_string((Host >> 8) & 255) + "." +
           std::to_string(Host & 255);
}

int StartConnect(const TTarget& Target, const std::string& Source, std::string& Error)
{
    const int Socket = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (Socket < 0)
    {
        Error = std::string("socket: ") + std::strerror(errno);
        return -1;
    }
    const int Yes = 1;
    setsockopt(Socket, IPPROTO_TCP, 1 /* TCP_NODELAY */, &Yes, sizeof Yes);
    if (!Source.empty())
    {
        // The port is picked at connect time, so one source address serves many servers' worth of ports.
        setsockopt(Socket, IPPROTO_IP, IP_BIND_ADDRESS_NO_PORT, &Yes, sizeof Yes);
        sockaddr_in From{};
        From.sin_family = AF_INET;
        if (inet_pton(AF_INET, Source.c_str(), &From.sin_addr) != 1 ||
            bind(Socket, reinterpret_cast<sockaddr*>(&From), sizeof From) != 0)
        {
            Error = "bind " + Source + ": " + std::strerror(errno);
            close(Socket);
            return -1;
        }
    }
    sockaddr_in To{};
    To.sin_family = AF_INET;
    To.sin_port = htons(static_cast<std::uint16_t>(Target.FPort));
    inet_pton(AF_INET, Target.FHost.c_str(), &To.sin_addr);
    if (connect(Socket, reinterpret_cast<sockaddr*>(&To), sizeof To) != 0 && errno != EINPROGRESS)
    {
        Error = std::string("connect: ") + std::strerror(errno);
        close(Socket);
        return -1;
    }
    return Socket;
}

int ConnectTo(const TTarget& Target, const std::string& Source, std::chrono::milliseconds Timeout,
              bool NonBlocking, std::string& Error)
{
    const int Socket = StartConnect(Target, Source, Error);
    if (Socket < 0)
        return -1;
    int SocketError = 0;
    socklen_t Size = sizeof SocketError;
    if (!WaitFor(Socket, POLLOUT, TClock::now() + Timeout))
        SocketError = ETIMEDOUT;
    else if (getsockopt(Socket, SOL_SOCKET, SO_ERROR, &SocketError, &Size) != 0)
        SocketError = errno;
    if (SocketError != 0 || !SetNonBlocking(Socket, NonBlocking))
    {
        Error = std::string("connect: ") + std::strerror(SocketError != 0 ? SocketError : errno);
        close(Socket);
        return -1;
    }
    return Socket;
}

bool TReplyReader::Feed(std::string_view Bytes)
{
    FBuffer.append(Bytes);
    return Parse();
}

bool TReplyReader::FinishAtClose()
{
    if (FComplete)
        return true;
    if (FHaveHead && FUntilClose && FReply.FError.empty())
    {
        FReply.FBody = FBuffer.substr(FBodyStart);
        FBuffer.clear();
        FComplete = true;
        return true;
    }
    if (FReply.FError.empty())
        FReply.FError =
            FBuffer.empty() && !FHaveHead ? "closed without a reply" : "closed in the middle of a reply";
    return false;
}

TReply TReplyReader::Take()
{
    TReply Reply = std::move(FReply);
    if (!FComplete && Reply.FError.empty())
        Reply.FError = "no reply";
    // After a broken or unfinished reply the bytes that follow cannot be framed: they are dropped.
    if (!FComplete)
        FBuffer.clear();
    FReply = TReply{};
    FHaveHead = FComplete = FChunked = FUntilClose = false;
    FBodyStart = FLength = 0;
    if (!FBuffer.empty())
        Parse();
    return Reply;
}

bool TReplyReader::Parse()
{
    if (FComplete || !FReply.FError.empty())
        return FComplete;
    if (!FHaveHead)
    {
        const std::size_t HeadEnd = FBuffer.find("\r\n\r\n");
        if (HeadEnd == std::string::npos)
        {
            if (FBuffer.size() > MaxHeadBytes)
                FReply.FError = "reply head too long";
            return false;
        }
        if (!ParseHead(HeadEnd))
            return false;
    }
    if (FChunked)
        return ParseChunks();
    if (FUntilClose)
    {
        if (FBuffer.size() - FBodyStart > MaxBodyBytes)
            FReply.FError = "reply body too long";
        return false;
    }
    if (FBuffer.size() - FBodyStart < FLength)
        return false;
    FReply.FBody = FBuffer.substr(FBodyStart, FLength);
    FBuffer.erase(0, FBodyStart + FLength);
    FComplete = true;
    return true;
}

bool TReplyReader::ParseHead(std::size_t HeadEnd)
{
    const std::string_view Head = std::string_view(FBuffer).substr(0, HeadEnd);
    std::size_t LineEnd = Head.find("\r\n");
    const std::string_view StatusLine = Head.substr(0, LineEnd);
    std::size_t Status = 0;
    if (StatusLine.size() < 12 || !StatusLine.starts_with("HTTP/1.") || StatusLine[8] != ' ' ||
        !ParseDecimal(StatusLine.substr(9, 3), Status) || Status < 100 || Status > 599)
    {
        FReply.FError = "not an HTTP reply";
        return false;
    }
    FReply.FStatus = static_cast<int>(Status);
    bool KeepAlive = StatusLine[7] == '1'; // HTTP/1.1 keeps the connection unless told otherwise
    bool HaveLength = false;
    while (LineEnd != std::string_view::npos)
    {
        const std::size_t Start = LineEnd + 2;
        LineEnd = Head.find("\r\n", Start);
        const std::string_view Line =
            Head.substr(Start, LineEnd == std::string_view::npos ? Head.npos : LineEnd - Start);
        const std::size_t Colon = Line.find(':');
        if (Colon == std::string_view::npos)
            continue;
        const std::string Name = Lower(Trim(Line.substr(0, Colon)));
        const std::string Value = Lower(Trim(Line.substr(Colon + 1)));
        if (Name == "content-length")
        {
            if (!ParseDecimal(Value, FLength) || FLength > MaxBodyBytes)
            {
                FReply.FError = "bad Content-Length";
                return false;
            }
            HaveLength = true;
        }
        else if (Name == "transfer-encoding" && Value.find("chunked") != std::string::npos)
            FChunked = true;
        else if (Name == "connection")
            KeepAlive = Value.find("close") == std::string::npos &&
                        (KeepAlive || Value.find("keep-alive") != std::string::npos);
    }
    FUntilClose =
        !FChunked && !HaveLength && FReply.FStatus >= 200 && FReply.FStatus != 204 && FReply.FStatus != 304;
    FReply.FKeepAlive = KeepAlive && !FUntilClose;
    FHaveHead = true;
    FBodyStart = HeadEnd + 4;
    return true;
}

bool TReplyReader::ParseChunks()
{
    std::string Body;
    std::size_t At = FBodyStart;
    for (;;)
    {
        const std::size_t LineEnd = FBuffer.find("\r\n", At);
        if (LineEnd == std::string::npos)
            return false;
        std::string_view SizeText = std::string_view(FBuffer).substr(At, LineEnd - At);
        SizeText = SizeText.substr(0, SizeText.find(';'));
        std::size_t Size = 0;
        if (!ParseDecimal(SizeText, Size, 16) || Body.size() + Size > MaxBodyBytes)
        {
            FReply.FError = "bad chunk";
            return false;
        }
        if (Size == 0)
        {
            // The last chunk, then trailers up to an empty line.
            const std::size_t End = FBuffer.find("\r\n\r\n", LineEnd);
            if (End == std::string::npos)
                return false;
            FReply.FBody = std::move(Body);
            FBuffer.erase(0, End + 4);
            FComplete = true;
            return true;
        }
        if (FBuffer.size() < LineEnd + 2 + Size + 2)
            return false;
        Body.append(FBuffer, LineEnd + 2, Size);
        At = LineEnd + 2 + Size + 2;
    }
}

std::string GetRequest(const std::string& Target, bool KeepAlive)
{
    return "GET " + Target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nUser-Agent: scored_load\r\n" +
           (KeepAlive ? "" : "Connection: close\r\n") + "\r\n";
}

THttpClient::THttpClient(TTarget Target, std::string Source, bool KeepAlive,
                         std::chrono::milliseconds Timeout)
    : FTarget(std::move(Target)), FSource(std::move(Source)), FKeepAlive(KeepAlive), FTimeout(Timeout)
{}

THttpClient::~THttpClient() { Close(); }

void THttpClient::Close()
{
    if (FSocket >= 0)
        close(FSocket);
    FSocket = -1;
    FReader = TReplyReader{};
}

TReply THttpClient::Get(const std::string& Target)
{
    const auto Deadline = TClock::now() + FTimeout;
    const bool Reused = FSocket >= 0;
    if (!Reused)
    {
        std::string Error;
        FSocket = ConnectTo(FTarget, FSource, FTimeout, true, Error);
        if (FSocket < 0)
            return Failure(Error);
        ++FConnections;
    }
    const std::string Request = GetRequest(Target, FKeepAlive);
    std::size_t Sent = 0;
    while (Sent < Request.size())
    {
        const ssize_t Now = send(FSocket, Request.data() + Sent, Request.size() - Sent, MSG_NOSIGNAL);
        if (Now > 0)
            Sent += static_cast<std::size_t>(Now);
        else if (Now < 0 && (errno == EAGAIN || errno == EINTR))
        {
            if (!WaitFor(FSocket, POLLOUT, Deadline))
                break;
        }
        else
            break;
    }
    if (Sent < Request.size())
    {
        Close();
        // A kept connection the server had already dropped is retried once on a fresh one.
        return Reused ? Get(Target) : Failure("sending failed");
    }
    char Buffer[16384];
    for (;;)
    {
        if (!WaitFor(FSocket, POLLIN, Deadline))
        {
            Close();
            return Failure("timed out");
        }
        const ssize_t Got = recv(FSocket, Buffer, sizeof Buffer, 0);
        if (Got < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        bool Done = Got > 0 ? FReader.Feed(std::string_view(Buffer, static_cast<std::size_t>(Got)))
                            : FReader.FinishAtClose();
        if (Got <= 0 && !Done)
        {
            const bool NothingRead = FReader.Take().FError == "closed without a reply";
            Close();
            return Reused && NothingRead ? Get(Target)
                                         : Failure(Got < 0 ? "connection reset" : "closed early");
        }
        if (FReader.Broken())
        {
            TReply Reply = FReader.Take();
            Close();
            return Reply;
        }
        if (Done)
        {
            TReply Reply = FReader.Take();
            if (!FKeepAlive || !Reply.FKeepAlive || Got <= 0)
                Close();
            return Reply;
        }
    }
}

double Percentile(std::vector<double> Values, double Fraction)
{
    if (Values.empty())
        return 0;
    std::sort(Values.begin(), Values.end());
    const double Rank = std::ceil(std::clamp(Fraction, 0.0, 1.0) * static_cast<double>(Values.size()));
    const std::size_t Index = Rank < 1 ? 0 : static_cast<std::size_t>(Rank) - 1;
    return Values[std::min(Index, Values.size() - 1)];
}

double MillisecondsSince(TClock::time_point Start)
{
    return std::chrono::duration<double, std::milli>(TClock::now() - Start).count();
}

TProcessMemory ReadProcessMemory(int Pid)
{
    TProcessMemory Memory;
    std::ifstream Status("/proc/" + std::to_string(Pid) + "/status");
    std::string Line;
    while (std::getline(Status, Line))
    {
        if (Line.starts_with("VmRSS:"))
            Memory.FRssKb = std::strtol(Line.c_str() + 6, nullptr, 10);
        else if (Line.starts_with("VmHWM:"))
            Memory.FHwmKb = std::strtol(Line.c_str() + 6, nullptr, 10);
    }
    return Memory;
}

long RaiseFileLimit()
{
    rlimit Limit{};
    if (getrlimit(RLIMIT_NOFILE, &Limit) != 0)
        return -1;
    Limit.rlim_cur = Limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &Limit);
    getrlimit(RLIMIT_NOFILE, &Limit);
    return static_cast<long>(Limit.rlim_cur);
}

std::string TokenOf(const std::string& Reply)
{
    std::size_t Start = 0;
    for (int I = 0; I < 4; ++I)
    {
        Start = Reply.find('|', Start);
        if (Start == std::string::npos)
            return {};
        ++Start;
    }
    const std::size_t End = Reply.find('|', Start);
    return End == std::string::npos ? std::string() : Reply.substr(Start, End - Start);
}

std::string ScoreInf(const std::string& Name, std::int64_t Score, const std::string& Token,
                     const std::string& OnlineName)
{
    std::string Text = "type=0|name=" + Name + "|score=" + std::to_string(Score) + "|key=V|p=" + Token +
                       "|add=" + OnlineName + "|z=";
    while (Text.size() % 5 != 0)
        Text += '0';
    return vm::EncodeLine(Text);
}

} // namespace vm::bench
