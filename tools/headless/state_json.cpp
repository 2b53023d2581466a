// The headless runner's end-of-run report as a JSON object.
#include "state_json.h"

#include "shell/game.h"

#include <cstdio>

namespace vm {

std::string JsonString(const std::string& Text)
{
    std::string Out = "\"";
    for (unsigned char C : Text)
    {
        switch (C)
        {
        case '"': Out += "\\\""; break;
        case '\\': Out += "\\\\"; break;
        case '\n': Out += "\\n"; break;
        case '\r': Out += "\\r"; break;
        case '\t': Out += "\\t"; break;
        default:
            if (C < 0x20)
            {
                char Buffer[8];
                std::snprintf(Buffer, sizeof Buffer, "\\u%04x", C);
                Out += Buffer;
            }
            else
                Out += static_cast<char>(C);
        }
    }
    return Out + "\"";
}

std::string GameStateJson(const TGame& Game, long Frame)
{
    const TGameState& S = Game.State;
    std::string Json = "{\n";
    auto Field = [&Json](const char* Name, const std::string& Value, bool Last = false) {
        Json += "  \"" + std::string(Name) + "\": " + Value + (Last ? "\n" : ",\n");
    };
    Field("frame", std::to_string(Frame));
    Field("screen_state", std::to_string(S.ScreenState));
    Field("score", std::to_string(S.Score));
    Field("lives", std::to_string(S.Lives));
    Field("race_number", std::to_string(S.RaceNumber));
    Field("player_name", JsonString(S.PlayerName));
    Field("tracks_open", std::to_string(Game.Catalogues.FTracksOpen));
    Field("cars_open", std::to_string(Game.Catalogues.FCarsOpen));
    Field("time_left", "{\"minutes\": " + std::to_string(S.TimeMinutes) +
                           ", \"seconds\": " + std::to_string(S.TimeSeconds) +
                           ", \"hundredths\": " + std::to_string(S.TimeHundredths) + "}");
    Field("fps_warning", Game.FrameTimer.FPSWarning() ? "true" : "false", true);
    return Json + "}\n";
}

} // namespace vm
