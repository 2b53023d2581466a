// HTTP GET and POST: how the game reaches its online score table, cancellable from another thread.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>

namespace vm {

// A flag one thread raises to stop a transfer that another thread runs. The client running the
// transfer hands in a waker, so that the transfer stops at once rather than at its next check.
class THttpCancel
{
public:
    // Raises the flag and wakes the transfer waiting on it. Any thread.
    void Cancel();
    bool Cancelled() const { return FCancelled.load(); }
    // For clients: Wake is called, on the cancelling thread, when the flag is raised while it is
    // set. A client sets it for the time of a transfer and clears it (empty function) before the
    // transfer's resources go.
    void SetWaker(std::function<void()> Wake);

private:
    std::atomic<bool> FCancelled{false};
    std::mutex FMutex;
    std::function<void()> FWake;
};

// How a request ended.
enum class THttpOutcome
{
    Reply,     // the server answered (with any status)
    Failed,    // no connection, a time-out, a lost connection or an oversized body
    Cancelled, // the cancel flag was raised
};

struct THttpResult
{
    THttpOutcome Outcome = THttpOutcome::Failed;
    long Status = 0;  // the reply's HTTP status; 0 without a reply
    std::string Body; // the reply's body whatever its status; empty without a reply
};

class IHttpClient
{
public:
    virtual ~IHttpClient() = default;
    // GETs Url and blocks until the reply, a failure, a time-out, or Cancel (may be null) raised.
    // May be called from any thread, and from several at once. Nothing is reported to the player.
    virtual THttpResult Fetch(const std::string& Url, THttpCancel* Cancel) = 0;
    // POSTs Body as ContentType to Url, otherwise as Fetch; the server may take longer to answer
    // (it answers once it has processed the upload).
    virtual THttpResult Post(const std::string& Url, const std::string& Body, const std::string& ContentType,
                             THttpCancel* Cancel) = 0;
    // Fetch without cancelling: true, with the body, only for a reply with status 200; any other
    // end gives false and an empty Body.
    bool Get(const std::string& Url, std::string& Body);
};

} // namespace vm
