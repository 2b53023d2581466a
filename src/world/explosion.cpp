// The explosion: glued to its car while its eight patterns play, four frames each.
#include "world/explosion.h"

#include "engine/image_list.h"
#include "engine/random.h"
#include "world/car.h"
#include "world/race_world.h"

namespace vm {

namespace {

// Where the player's car stands on the screen; the player's explosions stay there.
constexpr double PlayerScreenX = 396.0, PlayerScreenY = 450.0;

struct TExploseKind
{
    const char* ImageKey;
    int Z;
};

// In the order of TExplosionKind: the wreck lies above everything in the race, the others under the
// cars (Z 50).
constexpr TExploseKind ExploseKinds[] = {{"exploid", 500}, {"exploid2", 49}, {"exploid3", 49}};

} // namespace

TExplose::TExplose(TRaceWorld& World, double X, double Y, int Kind, int TargetCar)
    : TSprite(World.Engine), FWorld(World)
{
    if (Kind >= ekWreck && Kind <= ekSpare)
    {
        SetImage(World.GameImages.Find(ExploseKinds[Kind].ImageKey));
        FLastPattern = 7;
        SetZ(ExploseKinds[Kind].Z);
    }
    FTargetCar = TargetCar;
    Visible = true;
    SetName("explose");
    SetPatternIndex(0);
    RotCenterX = 0.5f;
    RotCenterY = 0.5f;
    Angle = static_cast<float>(World.Rng.Random(360)); // each explosion at its own rotation
    SetAlpha(230);
    FStepTicks = 1;
    SetX(static_cast<float>(X - Width() / 2.0));
    SetY(static_cast<float>(Y - Height() / 2.0));
}

void TExplose::Move(float /*MoveCount*/)
{
    // Follow the car.
    if (FTargetCar < 0)
    {
        FFollowX = PlayerScreenX;
        FFollowY = PlayerScreenY;
    }
    else
    {
        // The car is looked up by slot every frame, so no pointer to it can go stale. An opponent
        // that is gone (slot outside the opponents, empty, or ended through Dead) leaves the
        // explosion nothing to play on: it ends with it.
        const TCar* Car = FTargetCar < TRaceWorld::MaxOpponents && FTargetCar < FWorld.FEnemyCount
                              ? FWorld.FEnemies[static_cast<std::size_t>(FTargetCar)]
                              : nullptr;
        if (Car == nullptr || Car->IsDead())
        {
            Dead();
            return;
        }
        double Sx = 0.0, Sy = 0.0;
        for (const TCarCorner& Corner : Car->FCorners)
            Sx += Corner.X, Sy += Corner.Y;
        FFollowX = Sx / 4.0;
        FFollowY = Sy / 4.0;
    }
    SetX(static_cast<float>(FFollowX - Width() / 2.0));
    SetY(static_cast<float>(FFollowY - Height() / 2.0));

    // Animation: each pattern shows for four frames; after the last one the explosion ends.
    if (FStepTicks % 5 == 0)
    {
        if (PatternIndex() == FLastPattern)
            Dead();
        else
            SetPatternIndex(PatternIndex() + 1);
        FStepTicks = 1;
    }
    ++FStepTicks;
}

} // namespace vm
