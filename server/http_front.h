// The HTTP/1.1 front of the score server: connections, request limits, timeouts, the access log.
#pragma once

#include "http_message.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vm::scored {

// What a client can make the front hold, and how the front runs. Every limit is checked before the
// bytes are kept.
struct TFrontOptions
{
    int FThreads = 4;                   // threads doing the network work, and as many answering requests
    int FMaxConnections = 10000;        // open at once; lowered to fit the open-file limit
    int FMaxPerAddress = 100;           // open at once from one peer address; trusted proxies are exempt
    std::size_t FMaxTargetBytes = 4096; // the request target; over it: 414
    std::size_t FMaxHeaderBytes = 4096; // the header fields, "Name: value\r\n" each; over it: 431
    std::size_t FMaxBodyBytes = 4096;   // over it: 413
    // Paths whose requests may carry a body of up to FMaxLargeBodyBytes (uploads); over it: 413.
    std::vector<std::string> FLargeBodyPaths;
    std::size_t FMaxLargeBodyBytes = 1024 * 1024;
    std::chrono::milliseconds FRequestTime{10000}; // a request's first byte to its last; over it: 408
    std::chrono::milliseconds FIdleTime{10000};    // a kept-alive connection's wait for its next request
    std::chrono::milliseconds FDrainTime{10000};   // how long Stop lets requests in flight finish
    // Peers (IP addresses as text) whose last X-Forwarded-For entry names the client.
    std::vector<std::string> FTrustedProxies;
    // Takes each access-log line, "\n" included, from any thread; empty: no log.
    std::function<void(std::string_view)> FAccessLog;
};

struct THttpFrontCore; // the front's sockets, threads and connection counts

// Answers one request; called from several threads at once.
using TRequestHandler = std::function<THttpReply(const THttpRequest&)>;

// Serves HTTP with the handler: Bind, then Run on one thread (it runs the others); Stop may be called
// from any thread, before, during or after Run.
class THttpFront
{
public:
    // Throws std::invalid_argument when a trusted proxy is not an IP address.
    THttpFront(TRequestHandler Handler, TFrontOptions Options);
    ~THttpFront();
    THttpFront(const THttpFront&) = delete;
    THttpFront& operator=(const THttpFront&) = delete;

    // Binds the listening socket (SO_REUSEADDR, never SO_REUSEPORT); port 0 picks a free port. The
    // port bound, or -1 when the address cannot be used (in use, not local, not resolvable).
    int Bind(const std::string& Host, int Port);
    // Serves until Stop has drained the connections. False when nothing was bound.
    bool Run();
    // Stops accepting, closes idle connections, lets requests in flight finish within the drain
    // time, then ends Run. Harmless when not running or called twice.
    void Stop();
    bool IsRunning() const;
    // The connection limit in force (the option's, lowered to fit the open-file limit).
    int MaxConnections() const;

private:
    std::unique_ptr<THttpFrontCore> FCore;
};

// Whether Text is an IPv4 or IPv6 address.
bool IsIpAddress(const std::string& Text);

// Raises this process's open-file soft limit to its hard limit, so thousands of connections fit.
void RaiseOpenFileLimit();

} // namespace vm::scored
