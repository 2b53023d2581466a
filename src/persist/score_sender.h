// Sends a score to the online table on a worker thread, so that the frames go on meanwhile.
#pragma once

#include "engine/http_client.h"
#include "persist/online_scores.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace vm {

// One send or upload at a time. The worker gets copies of the texts and uses only the HTTP client, which
// must outlive this object, and this object's own cancel flag and outcome. Every routine is
// called on one thread (the game's); the worker is always joined, at the latest by the destructor,
// which cancels a send in flight first.
class TScoreSender
{
public:
    explicit TScoreSender(IHttpClient& Http) : FHttp(Http) {}
    ~TScoreSender();
    TScoreSender(const TScoreSender&) = delete;
    TScoreSender& operator=(const TScoreSender&) = delete;

    // Starts sending; a send still in flight is cancelled first and its outcome dropped.
    void Start(std::string EndpointUrl, std::string PlayerName, std::int32_t Score, std::string OnlineName);
    // Starts uploading the run recording at Path for the score stored with Token; a send or an
    // upload still in flight is cancelled first and its outcome dropped.
    void StartUpload(std::string EndpointUrl, std::string Token, std::string Path);
    // True from Start until the outcome is taken (or the send cancelled).
    bool Busy() const { return FPending != EWork::None; }
    // The outcome once the worker has finished, which is joined then; empty while it runs or when
    // no send was started.
    std::optional<TSendResult> TakeResult();
    // The same for an upload.
    std::optional<TUploadResult> TakeUploadResult();
    // Blocks until the worker has finished; its outcome stays to be taken.
    void Wait();
    // Stops the send in flight at once (the transfer is aborted, not waited out), joins the worker
    // and drops its outcome.
    void Cancel();

private:
    enum class EWork
    {
        None,
        Send,
        Upload,
    };
    template <typename TJob> void Run(EWork Work, TJob Job);
    // Joins the finished worker of Work and clears it; false when it is not that or not finished.
    bool Finish(EWork Work);

    IHttpClient& FHttp;
    std::thread FWorker;
    std::unique_ptr<THttpCancel> FCancel;
    std::atomic<bool> FFinished{false};
    EWork FPending = EWork::None; // started, outcome not yet taken
    TSendResult FResult;          // written by the worker before FFinished, read after it
    TUploadResult FUpload;        // the same, for an upload
};

} // namespace vm
