// The score service carried over GNU libmicrohttpd instead of the server's own HTTP front, so the
// two libraries can be measured against each other with the same service behind them.
#pragma once

#include "score_service.h"

#include <optional>
#include <string>

struct MHD_Daemon;

namespace vm::bench {

struct TMhdLimits
{
    int FThreads = 4;               // epoll threads in the pool
    long FMemoryBytes = 16384;      // a connection's memory: its read buffer and request head
    int FTimeoutSeconds = 10;       // an idle or stalled connection is closed after this
    int FPerAddressConnections = 0; // connections one client address may hold; 0: no limit
    int FConnections = 10000;       // connections in all
};

// Serves TScoreService over libmicrohttpd, refusing over-long targets (414), header fields (431) and
// bodies (413) as the server's own front does. The store and the token book are borrowed and must
// outlive the front. Start serves on the library's own threads until Stop or destruction.
class TMhdFront
{
public:
    TMhdFront(scored::TScoreStore& Store, TMhdLimits Limits,
              scored::TScoreServerOptions Options = scored::DefaultServerOptions());
    ~TMhdFront();
    TMhdFront(const TMhdFront&) = delete;
    TMhdFront& operator=(const TMhdFront&) = delete;

    // Starts serving on the numeric IPv4 Host; port 0 picks a free port. The port, or -1 when the
    // address cannot be used.
    int Start(const std::string& Host, int Port);
    void Stop();

    // For the library's callback: the refusal of a request over the front's limits, if it is one,
    // and the service's reply to one within them.
    std::optional<scored::THttpReply> Refusal(const scored::THttpRequest& Request, std::size_t HeaderBytes,
                                              const std::string& ContentLength) const;
    scored::THttpReply Answer(const scored::THttpRequest& Request);

private:
    scored::TScoreService FService;
    TMhdLimits FLimits;
    MHD_Daemon* FDaemon = nullptr;
};

} // namespace vm::bench
