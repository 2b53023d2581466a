// What the score service answers: the version, submission and table requests, apart from HTTP transport.
#pragma once

#include "http_message.h"
#include "replay_verifier.h"
#include "score_store.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vm::scored {

struct TScoreServerOptions
{
    std::string FVersion;                     // second field of the version reply; no "|"
    std::string FMessageOfTheDay;             // third field of the version reply; no "|"
    std::function<std::int64_t()> FWallClock; // seconds since 1970 for stored rows; empty: the system clock
    TVerifierOptions FVerifier;               // how uploaded recordings are played
};

// The default texts of the version reply.
TScoreServerOptions DefaultServerOptions();

// Answers one request at a time per calling thread; Handle may run on many threads at once, since the
// store guards itself. The store is borrowed and must outlive the service. A submission is checked in
// full before its token is redeemed, so a refused text leaves the token usable; a stored one uses it
// up. An address over the store's limits is answered 429 with a Retry-After header. A stored
// score's run recording may follow once with its token: it is played on the verifier's threads
// and the reply comes later (THttpReply::FLater); a full queue is answered 503 with Retry-After.
class TScoreService
{
public:
    explicit TScoreService(TScoreStore& Store, TScoreServerOptions Options = DefaultServerOptions());
    ~TScoreService();
    TScoreService(const TScoreService&) = delete;
    TScoreService& operator=(const TScoreService&) = delete;

    // The reply to a request whose head passed the front's limits.
    THttpReply Handle(const THttpRequest& Request);
    // Stops playing recordings: those waiting are answered 503, those playing finish first.
    void StopVerifying();

private:
    THttpReply Route(const THttpRequest& Request);
    THttpReply AnswerVersion(const THttpRequest& Request);
    THttpReply AnswerHealth();
    THttpReply AnswerSubmission(const THttpRequest& Request);
    THttpReply AnswerShow(const THttpRequest& Request);
    THttpReply AnswerJson(const THttpRequest& Request);
    THttpReply AnswerUpload(const THttpRequest& Request);
    // The reply for a played recording of the row Id, whose standing it stores.
    THttpReply Judge(std::int64_t Id, const TVerdict& Verdict);
    // The best Limit rows, or none with Failure set to a 500 reply when the store cannot be read.
    std::optional<std::vector<TScoreRow>> ReadTop(int Limit, ERows Which, THttpReply& Failure);

    TScoreStore& FStore;
    TScoreServerOptions FOptions;
    std::unique_ptr<TReplayVerifier> FVerifier;
};

} // namespace vm::scored
