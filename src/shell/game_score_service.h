// Where the game sends a finished run's score: the local table, and the online one when the
// platform can reach it.
#pragma once

#include "persist/score_sender.h"
#include "shell/score_service.h"

#include <memory>
#include <optional>
#include <string>

namespace vm {

class IHttpClient;
class THighScoreTable;
struct TGameState;

// Everything referenced is owned by the game or the platform and outlives this object. Without an
// HTTP client or an endpoint a send ends at once with no connection. A send runs on the sender's
// worker thread, which this object joins at the latest when it goes.
class TGameScoreService : public IScoreService
{
public:
    TGameScoreService(THighScoreTable& Table, const TGameState& State, IHttpClient* Http,
                      std::string EndpointUrl);
    bool EnterHighScore(const std::string& Name, int Score) override;
    void StartSend(const std::string& Name, int Score) override;
    std::optional<TSendResult> TakeSendResult() override;
    void CancelSend() override;
    void WaitForSend() override;
    void RunRecorded(const std::string& Path, const TReplayEnd& End) override;
    std::optional<TUploadResult> TakeUploadResult() override;

private:
    // The score last stored online, whose recording may follow it.
    struct TStoredScore
    {
        std::string Name;
        int Score = 0;
        std::string Token;
    };

    THighScoreTable& FTable;
    const TGameState& FState;
    std::string FEndpointUrl;
    std::unique_ptr<TScoreSender> FSender; // null without an HTTP client
    std::optional<TSendResult> FImmediate; // the outcome of a send that could not start
    std::string FSentName;                 // what the send in flight sends
    int FSentScore = 0;
    std::optional<TStoredScore> FStored;
};

} // namespace vm
