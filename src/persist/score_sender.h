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

// One send at a time. The worker gets copies of the texts and uses only the HTTP client, which
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
    // True from Start until the outcome is taken (or the send cancelled).
    bool Busy() const { return FPending; }
    // The outcome once the worker has finished, which is joined then; empty while it runs or when
    // nothing was started.
    std::optional<TSendResult> TakeResult();
    // Blocks until the worker has finished; its outcome stays to be taken.
    void Wait();
    // Stops the send in flight at once (the transfer is aborted, not waited out), joins the worker
    // and drops its outcome.
    void Cancel();

private:
    IHttpClient& FHttp;
    std::thread FWorker;
    std::unique_ptr<THttpCancel> FCancel;
    std::atomic<bool> FFinished{false};
    bool FPending = false; // started, outcome not yet taken
    TSendResult FResult;   // written by the worker before FFinished, read after it
};

} // namespace vm
