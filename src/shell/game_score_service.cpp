// Where the game sends a finished run's score.
#include "shell/game_score_service.h"

#include "engine/message_box.h"
#include "persist/high_scores.h"
#include "persist/online_scores.h"
#include "state/game_state.h"

namespace vm {

TGameScoreService::TGameScoreService(THighScoreTable& Table, const TGameState& State, IMessageBox& Messages,
                                     IHttpClient* Http, std::string EndpointUrl)
    : FTable(Table), FState(State), FMessages(Messages), FHttp(Http), FEndpointUrl(std::move(EndpointUrl))
{}

bool TGameScoreService::EnterHighScore(const std::string& Name, int Score)
{
    return FTable.EnterHighScore(Name, Score);
}

void TGameScoreService::SendScore(const std::string& Name, int Score)
{
    if (FHttp == nullptr || FEndpointUrl.empty())
    {
        FMessages.Show(CannotConnectText, "Velomarch");
        return;
    }
    // The online name is sent without the padding a settings file may have left on it.
    std::string Online = FState.OnlineName;
    while (!Online.empty() && Online.back() == '%')
        Online.pop_back();
    const std::string Told = SendResultText(SubmitScore(*FHttp, nullptr, FEndpointUrl, Name, Score, Online));
    if (!Told.empty())
        FMessages.Show(Told, "Velomarch");
}

} // namespace vm
