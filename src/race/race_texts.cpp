// The race texts drawn over the race and its overlays.
#include "race/race_texts.h"

#include "shell/game.h"
#include "world/player.h"

#include <cstdio>

namespace vm {

std::string FormatPlace(int Place, int Cars) { return std::to_string(Place) + "/" + std::to_string(Cars); }

std::string FormatRaceClock(std::int32_t Minutes, std::int32_t Seconds, std::int32_t Hundredths)
{
    char Buffer[48];
    std::snprintf(Buffer, sizeof Buffer, "%d:%02d:%02d", static_cast<int>(Minutes), static_cast<int>(Seconds),
                  static_cast<int>(Hundredths));
    return Buffer;
}

void TextOutCentred(TSystemFont& Font, int X, int Y, const std::string& Text)
{
    Font.TextOut(X - Font.TextWidth(Text) / 2, Y, Text);
}

void DrawRaceTexts(TGame& Game)
{
    const TGameState& S = Game.State;
    const TRaceWorld& World = Game.World;
    if (World.FPlayer != nullptr)
        Game.Font2.TextOut(750, 19, FormatPlace(World.FPlayer->RacePlace, World.FEnemyCount + 1));
    TextOutCentred(Game.Font2, 760, 51, FormatRaceClock(S.TimeMinutes, S.TimeSeconds, S.TimeHundredths));
    TextOutCentred(Game.Font2, 763, 84, std::to_string(S.Lives));
    TextOutCentred(Game.Font2, 598, 573, std::to_string(S.Score));
}

} // namespace vm
