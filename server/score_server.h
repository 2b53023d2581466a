// The HTTP side of the score service: the version, submission and table requests at one path.
#pragma once

#include "score_store.h"
#include "token_book.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

namespace vm::scored {

struct TScoreServerOptions
{
    std::string FVersion;                     // second field of the version reply; no "|"
    std::string FMessageOfTheDay;             // third field of the version reply; no "|"
    std::function<std::int64_t()> FWallClock; // seconds since 1970 for stored rows; empty: the system clock
};

// The default texts of the version reply.
TScoreServerOptions DefaultServerOptions();

// Serves GET requests for the endpoint path, and the table as JSON at /cgi/scores.json?limit=N, on
// cpp-httplib's thread pool. The store and the token
// book are borrowed and must outlive the server; both guard themselves, so handlers share them.
// Bind, then Run on one thread; Stop may be called from any thread. A submission is checked in full
// before its token is redeemed, so a refused text leaves the token usable; a stored one uses it up.
class TScoreServer
{
public:
    TScoreServer(TScoreStore& Store, TTokenBook& Tokens,
                 TScoreServerOptions Options = DefaultServerOptions());
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
    void Route(const httplib::Request& Request, httplib::Response& Response);
    void AnswerVersion(httplib::Response& Response);
    void AnswerSubmission(const httplib::Request& Request, httplib::Response& Response);
    void AnswerShow(const httplib::Request& Request, httplib::Response& Response);
    void AnswerJson(const httplib::Request& Request, httplib::Response& Response);
    // The best Limit rows, or none with a 500 answer when the store cannot be read.
    std::optional<std::vector<TScoreRow>> ReadTop(int Limit, httplib::Response& Response);

    TScoreStore& FStore;
    TTokenBook& FTokens;
    TScoreServerOptions FOptions;
    std::unique_ptr<httplib::Server> FServer;
    std::atomic<bool> FInRun{false};
    std::atomic<bool> FStopRequested{false};
};

} // namespace vm::scored
