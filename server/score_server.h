// The HTTP side of the score service: the version, submission and table requests at one path.
#pragma once

#include "http_front.h"
#include "score_service.h"

#include <string>

namespace vm::scored {

// Carries HTTP to a TScoreService through the front, which refuses over-long targets, headers and
// bodies (a recording's upload may be as large as the front's large-body limit), too slow requests
// and too many connections first. The store is borrowed and must outlive
// the server. Bind, then Run on one thread; Stop may be called from any thread.
class TScoreServer
{
public:
    explicit TScoreServer(TScoreStore& Store, TScoreServerOptions Options = DefaultServerOptions(),
                          TFrontOptions Front = TFrontOptions());
    ~TScoreServer();
    TScoreServer(const TScoreServer&) = delete;
    TScoreServer& operator=(const TScoreServer&) = delete;

    // Binds the listening socket; port 0 picks a free port. The port bound, or -1 when the address
    // cannot be used (in use, not local, not resolvable).
    int Bind(const std::string& Host, int Port);
    // Serves until Stop has drained the connections. False when accepting connections failed.
    bool Run();
    // Stops accepting and ends Run once the requests in flight are answered (within the drain time);
    // harmless when not running.
    void Stop();
    bool IsRunning() const;
    // The connection limit in force, after fitting it to the open-file limit.
    int MaxConnections() const;

private:
    TScoreService FService;
    THttpFront FFront;
};

} // namespace vm::scored
