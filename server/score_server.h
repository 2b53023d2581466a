// The HTTP side of the score service: the version, submission and table requests at one path.
#pragma once

#include "score_service.h"

#include <atomic>
#include <memory>
#include <string>

namespace httplib {
class Server;
} // namespace httplib

namespace vm::scored {

// Carries HTTP to a TScoreService on cpp-httplib's thread pool, refusing over-long targets, headers
// and bodies first. The store is borrowed and must outlive the server.
// Bind, then Run on one thread; Stop may be called from any thread.
class TScoreServer
{
public:
    explicit TScoreServer(TScoreStore& Store, TScoreServerOptions Options = DefaultServerOptions());
    ~TScoreServer();
    TScoreServer(const TScoreServer&) = delete;
    TScoreServer& operator=(const TScoreServer&) = delete;

    // Binds the listening socket; port 0 picks a free port. The port bound, or -1 when the address
    // cannot be used (in use, not local, not resolvable).
    int Bind(const std::string& Host, int Port);
    // Serves until Stop. False when accepting connections failed.
    bool Run();
    // Ends Run (waiting for it to have started when it is starting); harmless when not running.
    void Stop();
    bool IsRunning() const;

private:
    TScoreService FService;
    std::unique_ptr<httplib::Server> FServer;
    std::atomic<bool> FInRun{false};
    std::atomic<bool> FStopRequested{false};
};

} // namespace vm::scored
