// Where the game sends a finished run's score.
#include "shell/game_score_service.h"

#include "persist/high_scores.h"
#include "state/game_state.h"

#include <utility>

namespace vm {

TGameScoreService::TGameScoreService(THighScoreTable& Table, const TGameState& State, IHttpClient* Http,
                                     std::string EndpointUrl)
    : FTable(Table), FState(State), FEndpointUrl(std::move(EndpointUrl)),
      FSender(Http != nullptr ? std::make_unique<TScoreSender>(*Http) : nullptr)
{}

bool TGameScoreService::EnterHighScore(const std::string& Name, int Score)
{
    return FTable.EnterHighScore(Name, Score);
}

void TGameScoreService::StartSend(const std::string& Name, int Score)
{
    CancelSend();
    if (FSender == nullptr || FEndpointUrl.empty())
    {
        FImmediate = TSendResult{TSendOutcome::NoConnection, {}};
        return;
    }
    // The online name is sent without the padding a settings file may have left on it.
    std::string Online = FState.OnlineName;
    while (!Online.empty() && Online.back() == '%')
        Online.pop_back();
    FSentName = Name;
    FSentScore = Score;
    FSender->Start(FEndpointUrl, Name, Score, std::move(Online));
}

std::optional<TSendResult> TGameScoreService::TakeSendResult()
{
    if (FImmediate)
        return std::exchange(FImmediate, std::nullopt);
    auto Result = FSender != nullptr ? FSender->TakeResult() : std::nullopt;
    if (Result && Result->Outcome == TSendOutcome::Stored && !Result->Token.empty())
        FStored = TStoredScore{FSentName, FSentScore, Result->Token};
    return Result;
}

void TGameScoreService::RunRecorded(const std::string& Path, const TReplayEnd& End)
{
    // Only the run whose score was stored: the token belongs to that score.
    if (FSender == nullptr || !FStored || FStored->Score != End.Score || FStored->Name != End.PlayerName)
        return;
    FSender->StartUpload(FEndpointUrl, FStored->Token, Path);
    FStored.reset();
}

std::optional<TUploadResult> TGameScoreService::TakeUploadResult()
{
    return FSender != nullptr ? FSender->TakeUploadResult() : std::nullopt;
}

void TGameScoreService::CancelSend()
{
    FImmediate.reset();
    FStored.reset();
    if (FSender != nullptr)
        FSender->Cancel();
}

void TGameScoreService::WaitForSend()
{
    if (FSender != nullptr)
        FSender->Wait();
}

} // namespace vm
