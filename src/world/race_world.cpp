// The race's shared world: the frame step that moves the checkpoints with it.
#include "world/race_world.h"

#include "world/player.h"

#include <algorithm>

namespace vm {

void TRaceWorld::ShiftCheckpoints()
{
    if (FPlayer == nullptr)
        return;
    const int Count = std::clamp(FCheckpointCount, 0, MaxCheckpoints);
    for (int I = 1; I <= Count; ++I)
    {
        TCheckpoint& Checkpoint = FCheckpoints[static_cast<std::size_t>(I)];
        Checkpoint.X += FPlayer->FShiftX;
        Checkpoint.X += FPlayer->FPushX;
        Checkpoint.Y += FPlayer->FShiftY;
        Checkpoint.Y += FPlayer->FPushY;
    }
}

} // namespace vm
