// Where the game sends a finished run's score: the local table, and the online one when the
// platform can reach it.
#pragma once

#include "shell/score_service.h"

#include <string>

namespace vm {

class IHttpClient;
class IMessageBox;
class THighScoreTable;
struct TGameState;

// Everything referenced is owned by the game and outlives this object. Without an HTTP client
// SendScore tells the player it cannot connect.
class TGameScoreService : public IScoreService
{
public:
    TGameScoreService(THighScoreTable& Table, const TGameState& State, IMessageBox& Messages,
                      IHttpClient* Http, std::string EndpointUrl);
    bool EnterHighScore(const std::string& Name, int Score) override;
    void SendScore(const std::string& Name, int Score) override;

private:
    THighScoreTable& FTable;
    const TGameState& FState;
    IMessageBox& FMessages;
    IHttpClient* FHttp;
    std::string FEndpointUrl;
};

} // namespace vm
