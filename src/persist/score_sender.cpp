// The worker thread that sends a score to the online table, and its run's recording after it.
#include "persist/score_sender.h"

#include <system_error>
#include <utility>

namespace vm {

TScoreSender::~TScoreSender() { Cancel(); }

template <typename TJob> void TScoreSender::Run(EWork Work, TJob Job)
{
    Cancel();
    FCancel = std::make_unique<THttpCancel>();
    FFinished.store(false);
    FPending = Work;
    try
    {
        FWorker = std::thread([this, Job = std::move(Job), Flag = FCancel.get()] {
            Job(Flag);
            FFinished.store(true);
        });
    }
    catch (const std::system_error&)
    {
        // No thread to be had: nothing is sent, and the player hears so as for no connection.
        FResult = TSendResult{TSendOutcome::NoConnection, {}};
        FUpload = TUploadResult{TUploadOutcome::NoConnection, {}};
        FFinished.store(true);
    }
}

void TScoreSender::Start(std::string EndpointUrl, std::string PlayerName, std::int32_t Score,
                         std::string OnlineName)
{
    Run(EWork::Send, [this, Url = std::move(EndpointUrl), Name = std::move(PlayerName), Score,
                      Online = std::move(OnlineName)](THttpCancel* Flag) {
        FResult = SubmitScore(FHttp, Flag, Url, Name, Score, Online);
    });
}

void TScoreSender::StartUpload(std::string EndpointUrl, std::string Token, std::string Path)
{
    Run(EWork::Upload, [this, Url = std::move(EndpointUrl), Token = std::move(Token), Path = std::move(Path)](
                           THttpCancel* Flag) { FUpload = UploadRun(FHttp, Flag, Url, Token, Path); });
}

bool TScoreSender::Finish(EWork Work)
{
    if (FPending != Work || !FFinished.load())
        return false;
    if (FWorker.joinable())
        FWorker.join();
    FPending = EWork::None;
    return true;
}

std::optional<TSendResult> TScoreSender::TakeResult()
{
    if (!Finish(EWork::Send))
        return std::nullopt;
    return std::move(FResult);
}

std::optional<TUploadResult> TScoreSender::TakeUploadResult()
{
    if (!Finish(EWork::Upload))
        return std::nullopt;
    return std::move(FUpload);
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
    FPending = EWork::None;
}

} // namespace vm
