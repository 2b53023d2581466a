// Plain-socket HTTP/1.1 for the score server's load and abuse tools: connections that may misbehave,
// replies read by hand, and the small measurements (latency percentiles, a process's memory).
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vm::bench {

using TClock = std::chrono::steady_clock;

struct TTarget
{
    std::string FHost; // numeric IPv4 address
    int FPort = 0;
};

// "ADDR:PORT" with a numeric IPv4 address and a port of 1..65535; nothing otherwise.
std::optional<TTarget> ParseTarget(const std::string& Text);

// The loopback source address of client Index when clients are spread over Count addresses
// 127.0.0.2 .. 127.0.0.(Count+1); "" (the system's choice) when Count is 0.
std::string SourceAddress(int Index, int Count);

// A TCP connection to Target from Source ("" for any) within Timeout, left non-blocking when
// NonBlocking; -1 with Error set when it could not be made.
int ConnectTo(const TTarget& Target, const std::string& Source, std::chrono::milliseconds Timeout,
              bool NonBlocking, std::string& Error);

// Starts a non-blocking connect and returns at once; the socket becomes writable when it is done
// (SO_ERROR then tells how). -1 with Error set when it could not even start.
int StartConnect(const TTarget& Target, const std::string& Source, std::string& Error);

struct TReply
{
    int FStatus = -1; // -1: no complete reply
    std::string FBody;
    bool FKeepAlive = false; // the server keeps the connection for another request
    std::string FError;      // why there is no reply; empty when there is one
};

// Reads one HTTP/1.x reply from the bytes as they come: Content-Length, chunked, or up to the close.
// A reply head over 64 KiB or a body over 4 MiB is taken as broken.
class TReplyReader
{
public:
    // Adds bytes; true once a whole reply is there (bytes after it are kept for the next one).
    bool Feed(std::string_view Bytes);
    // The server closed the connection: true when that completes a reply without a length.
    bool FinishAtClose();
    bool Complete() const { return FComplete; }
    bool Broken() const { return !FReply.FError.empty(); }
    // The finished (or broken) reply; the reader starts over on the kept bytes.
    TReply Take();

private:
    bool Parse();
    bool ParseHead(std::size_t HeadEnd);
    bool ParseChunks();

    std::string FBuffer;
    TReply FReply;
    bool FHaveHead = false;
    bool FComplete = false;
    bool FChunked = false;
    bool FUntilClose = false;
    std::size_t FBodyStart = 0;
    std::size_t FLength = 0;
};

// The bytes of a GET of Target ("/path?query") with a Host header; "Connection: close" unless KeepAlive.
std::string GetRequest(const std::string& Target, bool KeepAlive);

// GETs over one connection, reused while both sides keep it alive; a fresh connection per request
// otherwise. Failures come back as replies with FError set, never as exceptions.
class THttpClient
{
public:
    THttpClient(TTarget Target, std::string Source, bool KeepAlive, std::chrono::milliseconds Timeout);
    ~THttpClient();
    THttpClient(const THttpClient&) = delete;
    THttpClient& operator=(const THttpClient&) = delete;

    TReply Get(const std::string& Target);
    // Connections this client has opened so far.
    int Connections() const { return FConnections; }

private:
    void Close();

    TTarget FTarget;
    std::string FSource;
    bool FKeepAlive;
    std::chrono::milliseconds FTimeout;
    int FSocket = -1;
    int FConnections = 0;
    TReplyReader FReader;
};

// Nearest-rank percentile (Fraction 0..1) of the values; 0 when there are none.
double Percentile(std::vector<double> Values, double Fraction);

// Milliseconds from Start to now.
double MillisecondsSince(TClock::time_point Start);

struct TProcessMemory
{
    long FRssKb = -1; // VmRSS, -1 when unreadable
    long FHwmKb = -1; // VmHWM (the peak resident size), -1 when unreadable
};

// The resident size of process Pid from /proc/PID/status.
TProcessMemory ReadProcessMemory(int Pid);

// Raises this process's soft RLIMIT_NOFILE to the hard limit; the soft limit now in force.
long RaiseFileLimit();

// The token of a version reply (its fifth "|" field); "" when there is none.
std::string TokenOf(const std::string& Reply);

// The encoded "inf" value of a submission as the game makes it.
std::string ScoreInf(const std::string& Name, std::int64_t Score, const std::string& Token,
                     const std::string& OnlineName);

} // namespace vm::bench
