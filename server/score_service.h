// What the score service answers: the version, submission and table requests, apart from HTTP transport.
#pragma once

#include "http_message.h"
#include "score_store.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vm::scored {

struct TScoreServerOptions
{
    std::string FVersion;                     // second field of the version reply; no "|"
    std::string FMessageOfTheDay;             // third field of the version reply; no "|"
    std::function<std::int64_t()> FWallClock; // seconds since 1970 for stored rows; empty: the system clock
};

// The default texts of the version reply.
TScoreServerOptions DefaultServerOptions();

// Answers one request at a time per calling thread; Handle may run on many threads at once, since the
// store guards itself. The store is borrowed and must outlive the service. A submission is checked in
// full before its token is redeemed, so a refused text leaves the token usable; a stored one uses it
// up. An address over the store's limits is answered 429 with a Retry-After header.
class TScoreService
{
public:
    explicit TScoreService(TScoreStore& Store, TScoreServerOptions Options = DefaultServerOptions());

    // The reply to a request whose head passed the front's limits.
    THttpReply Handle(const THttpRequest& Request);

private:
    THttpReply Route(const THttpRequest& Request);
    THttpReply AnswerVersion(const THttpRequest& Request);
    THttpReply AnswerHealth();
    THttpReply AnswerSubmission(const THttpRequest& Request);
    THttpReply AnswerShow(const THttpRequest& Request);
    THttpReply AnswerJson(const THttpRequest& Request);
    // The best Limit rows, or none with Failure set to a 500 reply when the store cannot be read.
    std::optional<std::vector<TScoreRow>> ReadTop(int Limit, THttpReply& Failure);

    TScoreStore& FStore;
    TScoreServerOptions FOptions;
};

} // namespace vm::scored
