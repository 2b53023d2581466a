// The headless runner's end-of-run report as a JSON object.
#include "state_json.h"

#include "autopilot_session.h"
#include "shell/game.h"
#include "vehicles/enemy_car.h"
#include "vehicles/player.h"

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

namespace {

std::string Number(double Value)
{
    char Buffer[32];
    std::snprintf(Buffer, sizeof Buffer, "%.3f", Value);
    return Buffer;
}

// The race fields, while a race (or a page over it) is up.
std::string RaceJson(const TRaceWorld& World)
{
    const TPlayer& Player = *World.FPlayer;
    std::string Json = "  \"player\": {\"health\": " + std::to_string(Player.Health) +
                       ", \"speed\": " + Number(Player.FSpeed) +
                       ", \"place\": " + std::to_string(Player.RacePlace) +
                       ", \"next_checkpoint\": " + std::to_string(Player.NextCheckpoint) +
                       ", \"driving\": " + (Player.Driving ? "true" : "false") + "},\n";
    Json += "  \"race_finished\": " + std::string(World.FRaceFinished ? "true" : "false") + ",\n";
    Json += "  \"checkpoint_count\": " + std::to_string(World.FCheckpointCount) + ",\n";
    Json += "  \"opponents\": [";
    for (int Slot = 0; Slot < World.FEnemyCount && Slot < TRaceWorld::MaxOpponents; ++Slot)
    {
        const auto* Car = static_cast<const TEnemyCar*>(World.FEnemies[static_cast<std::size_t>(Slot)]);
        if (Car == nullptr)
            continue;
        Json += std::string(Slot > 0 ? ", " : "") + "{\"health\": " + std::to_string(Car->Health) +
                ", \"speed\": " + Number(Car->FSpeed) + ", \"place\": " + std::to_string(Car->RacePlace) +
                ", \"racing\": " + (Car->Racing ? "true" : "false") + "}";
    }
    return Json + "],\n";
}

// [[frame, state], ...]
std::string ScreensJson(const std::vector<std::pair<long, int>>& Screens)
{
    std::string Json = "[";
    for (std::size_t I = 0; I < Screens.size(); ++I)
        Json += (I > 0 ? ", [" : "[") + std::to_string(Screens[I].first) + ", " +
                std::to_string(Screens[I].second) + "]";
    return Json + "]";
}

} // namespace

std::string GameStateJson(const TGame& Game, long Frame, const std::vector<std::pair<long, int>>& Screens,
                          const TAutopilotRecord* Autopilot)
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
    Field("music_on", S.MusicOn ? "true" : "false");
    Field("full_screen_on", S.FullScreenOn ? "true" : "false");
    Field("volume_level", std::to_string(S.VolumeLevel));
    Field("online_name", JsonString(S.OnlineName));
    Field("profiles", std::to_string(Game.Profiles.FProfileCount));
    Field("tracks_open", std::to_string(Game.Catalogues.FTracksOpen));
    Field("cars_open", std::to_string(Game.Catalogues.FCarsOpen));
    Field("time_left", "{\"minutes\": " + std::to_string(S.TimeMinutes) +
                           ", \"seconds\": " + std::to_string(S.TimeSeconds) +
                           ", \"hundredths\": " + std::to_string(S.TimeHundredths) + "}");
    if (Game.World.FPlayer != nullptr)
        Json += RaceJson(Game.World);
    if (Autopilot != nullptr)
        Field("autopilot", "{\"races_finished\": " + std::to_string(Autopilot->RacesFinished) +
                               ", \"run_end\": " + JsonString(Autopilot->RunEnd) +
                               ", \"first_race_frames\": " + std::to_string(Autopilot->FirstRaceFrames) +
                               ", \"wrecks\": " + std::to_string(Autopilot->Wrecks) + "}");
    Field("screens", ScreensJson(Screens));
    Field("fps_warning", Game.FrameTimer.FPSWarning() ? "true" : "false", true);
    return Json + "}\n";
}

} // namespace vm
