// Where a finished run's score goes: the local high-score table and the online table.
#pragma once

#include "persist/online_scores.h"
#include "persist/replay.h"

#include <optional>
#include <string>
#include <utility>

namespace vm {

// The game calls these on its own thread when a run ends; the object must outlive the game.
class IScoreService
{
public:
    virtual ~IScoreService() = default;
    // Enters Score for Name in the local table; true when it reached the table.
    virtual bool EnterHighScore(const std::string& Name, int Score) = 0;
    // Starts sending the score to the online table without blocking; the outcome comes from
    // TakeSendResult. Without a way online it is there at once.
    virtual void StartSend(const std::string& Name, int Score) = 0;
    // The outcome of the send once it has ended, handed over once; empty while it runs or when
    // none was started.
    virtual std::optional<TSendResult> TakeSendResult() = 0;
    // Stops a send in flight at once and drops its outcome.
    virtual void CancelSend() = 0;
    // Blocks until a send in flight has ended (headless runs land its outcome at a fixed frame).
    virtual void WaitForSend() = 0;
    // A run's recording is in place at Path and ended as End. A service that stored that run's
    // score online (the same name and score, the last one it stored) uploads the recording after
    // it, so the server can verify the score; the others keep nothing.
    virtual void RunRecorded(const std::string& Path, const TReplayEnd& End)
    {
        static_cast<void>(Path);
        static_cast<void>(End);
    }
    // The outcome of that upload once it has ended, handed over once; empty while it runs or when
    // none was started.
    virtual std::optional<TUploadResult> TakeUploadResult() { return std::nullopt; }
};

// Keeps nothing and reaches no online table: the default until the score tables are built.
class TNoScoreService : public IScoreService
{
public:
    bool EnterHighScore(const std::string&, int) override { return false; }
    void StartSend(const std::string&, int) override
    {
        FResult = TSendResult{TSendOutcome::NoConnection, {}};
    }
    std::optional<TSendResult> TakeSendResult() override { return std::exchange(FResult, std::nullopt); }
    void CancelSend() override { FResult.reset(); }
    void WaitForSend() override {}

private:
    std::optional<TSendResult> FResult;
};

} // namespace vm
