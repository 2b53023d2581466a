// The ten pickup kinds, shared by the race, the asset generator's pickup pictures and the tools.
#pragma once

namespace vm {

// Pickup kinds as a road piece draws them; the value is also the pickup's place in its image keys.
// A pickup holds its kind as an int: a value outside 0..BonusKindCount-1 lies on the road unseen
// and acts on no car.
enum TBonusKind : int
{
    bkCoin10 = 0,  // 10 points
    bkCoin20 = 1,  // 20 points
    bkCoin30 = 2,  // 30 points
    bkOil = 3,     // sends the car skidding; it stays on the road
    bkBomb = 4,    // an explosion and a spin; 40 damage to the player's car
    bkRepair = 5,  // mends 30 damage
    bkLife = 6,    // one more life
    bkTime = 7,    // five seconds more on the race clock
    bkSpikes = 8,  // slows the car down for a while, or cancels a boost
    bkSpeedUp = 9, // a boost for a while, or cancels a slow-down
};

inline constexpr int BonusKindCount = 10;

} // namespace vm
