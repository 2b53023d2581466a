// The worker thread that sends a score to the online table.
#include "persist/score_sender.h"

#include <system_error>
#include <utility>

namespace vm {

TScoreSender::~TScoreSender() { Cancel(); }

void TScoreSender::Start(std::string EndpointUrl, std::string PlayerName, std::int32_t Score,
                         std::string OnlineName)
{
    Cancel();
    FCancel = std::make_unique<THttpCancel>();
    FFinished.store(false);
    FPending = true;
    try
    {
        FWorker = std::thread([this, Url = std::move(EndpointUrl), Name = std::move(PlayerName), Score,
                               Online = std::move(OnlineName), Flag = FCancel.get()] {
            FResult = SubmitScore(FHttp, Flag, Url, Name, Score, Online);
            FFinished.store(true);
        });
    }
    catch (const std::system_error&)
    {
        // No thread to be had: the score is not sent, and the player hears so as for no connection.
        FResult = TSendResult{TSendOutcome::NoConnection, {}};
        FFinished.store(true);
    }
}

std::optional<TSendResult> TScoreSender::TakeResult()
{
    if (!FPending || !FFinished.load())
        return std::nullopt;
    if (FWorker.joinable())
        FWorker.join();
    FPending = false;
    return std::move(FResult);
}

void TScoreSender::Wait()
{
    // The outcome stays pending: TakeResult hands it over.
    if (FWorker.joinable())
        FWorker.join();
}

void TScoreSender::Cancel()
{
    if (FCancel != nullptr)
        FCancel->Cancel();
    if (FWorker.joinable())
        FWorker.join();
    FPending = false;
}

} // namespace vm
