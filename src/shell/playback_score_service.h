// The score service of a recording's playback: answers as the tables would, changes nothing.
#pragma once

#include "shell/score_service.h"

namespace vm {

class THighScoreTable;

// EnterHighScore says whether the score would reach Table (which must outlive this) without
// entering it; a send ends at once as stored, reaching no server and telling the player nothing.
class TPlaybackScoreService : public IScoreService
{
public:
    explicit TPlaybackScoreService(const THighScoreTable& Table) : FTable(Table) {}
    bool EnterHighScore(const std::string& Name, int Score) override;
    void StartSend(const std::string&, int) override { FResult = TSendResult{TSendOutcome::Stored, {}}; }
    std::optional<TSendResult> TakeSendResult() override { return std::exchange(FResult, std::nullopt); }
    void CancelSend() override { FResult.reset(); }
    void WaitForSend() override {}

private:
    const THighScoreTable& FTable;
    std::optional<TSendResult> FResult;
};

} // namespace vm
