// The score service of a recording's playback: answers as the tables would, changes nothing.
#pragma once

#include "shell/score_service.h"

#include <optional>
#include <string>
#include <utility>

namespace vm {

class THighScoreTable;

// EnterHighScore says whether the score would reach Table (which must outlive this) without
// entering it. A send reaches no server and tells the player nothing: it ends as stored at the
// first look after the one right after its start, where a send through the network lands in a
// headless run (the frame after its start).
class TPlaybackScoreService : public IScoreService
{
public:
    explicit TPlaybackScoreService(const THighScoreTable& Table) : FTable(Table) {}
    bool EnterHighScore(const std::string& Name, int Score) override;
    void StartSend(const std::string&, int) override
    {
        FResult = TSendResult{TSendOutcome::Stored, {}};
        FLooksBeforeLanding = 1;
    }
    std::optional<TSendResult> TakeSendResult() override
    {
        if (FResult && FLooksBeforeLanding > 0)
        {
            --FLooksBeforeLanding;
            return std::nullopt;
        }
        return std::exchange(FResult, std::nullopt);
    }
    void CancelSend() override { FResult.reset(); }
    void WaitForSend() override {}

private:
    const THighScoreTable& FTable;
    std::optional<TSendResult> FResult;
    int FLooksBeforeLanding = 0;
};

} // namespace vm
