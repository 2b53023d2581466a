// The playback score service: the high-score check on a copy of the table.
#include "shell/playback_score_service.h"

#include "persist/high_scores.h"

namespace vm {

bool TPlaybackScoreService::EnterHighScore(const std::string& Name, int Score)
{
    THighScoreTable Copy = FTable;
    return Copy.EnterHighScore(Name, Score);
}

} // namespace vm
