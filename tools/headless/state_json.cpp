// The headless runner's end-of-run report as a JSON object.
#include "state_json.h"

#include "autopilot_session.h"
#include "shell/game.h"
#include "world/enemy_car.h"
#include "world/player.h"

#include <nlohmann/json.hpp>

#include <cmath>

namespace vm {

namespace {

using TJson = nlohmann::ordered_json;

// Speeds to 3 decimals: enough to compare runs, and the same on every machine.
double Rounded(double Value) { return std::round(Value * 1000.0) / 1000.0; }

// The race fields, while a race (or a page over it) is up.
void AddRace(TJson& Json, const TRaceWorld& World)
{
    const TPlayer& Player = *World.FPlayer;
    Json["player"] = {{"health", Player.Health},
                      {"speed", Rounded(Player.FSpeed)},
                      {"place", Player.RacePlace},
                      {"next_checkpoint", Player.NextCheckpoint},
                      {"driving", Player.Driving}};
    Json["race_finished"] = World.FRaceFinished;
    Json["checkpoint_count"] = World.FCheckpointCount;
    TJson Opponents = TJson::array();
    for (int Slot = 0; Slot < World.FEnemyCount && Slot < TRaceWorld::MaxOpponents; ++Slot)
    {
        const auto* Car = static_cast<const TEnemyCar*>(World.FEnemies[static_cast<std::size_t>(Slot)]);
        if (Car == nullptr)
            continue;
        Opponents.push_back({{"health", Car->Health},
                             {"speed", Rounded(Car->FSpeed)},
                             {"place", Car->RacePlace},
                             {"racing", Car->Racing}});
    }
    Json["opponents"] = std::move(Opponents);
}

} // namespace

std::string RunStateJson(const TGame& Game, long RunFrames)
{
    const TGameState& S = Game.State;
    const TCatalogues& C = Game.Catalogues;
    const TRunDifficulty& D = Game.Difficulty;
    TJson Json;
    Json["frames"] = RunFrames;
    Json["screen_state"] = static_cast<int>(S.ScreenState);
    Json["score"] = S.Score;
    Json["lives"] = S.Lives;
    Json["race_number"] = S.RaceNumber;
    Json["player_name"] = S.PlayerName;
    Json["time_left"] = {
        {"minutes", S.TimeMinutes}, {"seconds", S.TimeSeconds}, {"hundredths", S.TimeHundredths}};
    Json["random_state"] = std::to_string(Game.Rng.State());
    Json["race_ticks"] = Game.Race.FRaceTicks;
    Json["finish"] = {{"place", Game.Race.FFinishPlace}, {"ticks", Game.Race.FFinishTicks}};
    Json["car_style"] = Game.Race.FCarStyle;
    Json["difficulty"] = {{"opponents", D.FOpponentCount},
                          {"course_length", D.FCourseLength},
                          {"race_bonus", D.FRaceBonus},
                          {"time_limit", {D.FTimeLimitMinutes, D.FTimeLimitSeconds, D.FTimeLimitHundredths}}};
    TJson Best = TJson::array();
    for (const TTrackInfo& Track : C.FTracks)
        Best.push_back({Track.Available, Track.BestMinutes, Track.BestSeconds, Track.BestHundredths});
    Json["progress"] = {{"tracks_open", C.FTracksOpen},
                        {"cars_open", C.FCarsOpen},
                        {"next_unlock_score", C.NextUnlockScore},
                        {"unlock_step", C.FUnlockStep},
                        {"tracks", std::move(Best)}};
    if (Game.World.FPlayer != nullptr)
    {
        AddRace(Json, Game.World);
        Json["player"]["x"] = Rounded(Game.World.FPlayer->X());
        Json["player"]["y"] = Rounded(Game.World.FPlayer->Y());
    }
    return Json.dump(2, ' ', false, TJson::error_handler_t::replace);
}

std::string GameStateJson(const TGame& Game, long Frame, const std::vector<std::pair<long, int>>& Screens,
                          const TAutopilotRecord* Autopilot, int PadRumbles, const std::string& RunJson)
{
    const TGameState& S = Game.State;
    TJson Json;
    Json["frame"] = Frame;
    Json["screen_state"] = static_cast<int>(S.ScreenState);
    Json["score"] = S.Score;
    Json["lives"] = S.Lives;
    Json["race_number"] = S.RaceNumber;
    Json["player_name"] = S.PlayerName;
    Json["music_on"] = S.MusicOn;
    Json["full_screen_on"] = S.FullScreenOn;
    Json["volume_level"] = S.VolumeLevel;
    Json["online_name"] = S.OnlineName;
    Json["profiles"] = Game.Profiles.FProfileCount;
    Json["tracks_open"] = Game.Catalogues.FTracksOpen;
    Json["cars_open"] = Game.Catalogues.FCarsOpen;
    Json["time_left"] = {
        {"minutes", S.TimeMinutes}, {"seconds", S.TimeSeconds}, {"hundredths", S.TimeHundredths}};
    if (Game.World.FPlayer != nullptr)
        AddRace(Json, Game.World);
    if (Autopilot != nullptr)
        Json["autopilot"] = {{"races_finished", Autopilot->RacesFinished},
                             {"run_end", Autopilot->RunEnd},
                             {"first_race_frames", Autopilot->FirstRaceFrames},
                             {"wrecks", Autopilot->Wrecks}};
    Json["screens"] = TJson::array();
    for (const auto& [At, State] : Screens)
        Json["screens"].push_back({At, State});
    Json["fps_warning"] = Game.FrameTimer.FPSWarning();
    // What the player was told over the pages (files not saved or moved); only when there was any.
    if (!Game.Notices.Posted().empty())
        Json["notices"] = Game.Notices.Posted();
    // Runs with scripted pads: how many are connected at the end and how often they were shaken.
    if (PadRumbles >= 0)
        Json["pads"] = {{"connected", Game.PadCount()}, {"rumbles", PadRumbles}};
    if (Autopilot != nullptr && Autopilot->Watches >= 0)
        Json["autopilot"]["watches"] = Autopilot->Watches;
    if (!RunJson.empty())
        Json["run"] = TJson::parse(RunJson);
    // Names come from the settings file as bytes: any that are not UTF-8 are written as U+FFFD.
    return Json.dump(2, ' ', false, TJson::error_handler_t::replace) + "\n";
}

} // namespace vm
