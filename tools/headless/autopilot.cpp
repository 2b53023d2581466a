// The headless runner's built-in driver: looks at the road, walls, cars and pickups around the
// player's car and holds the driving keys.
#include "autopilot.h"

#include "engine/sprite_engine.h"
#include "state/game_state.h"
#include "world/bonus.h"
#include "world/geometry.h"
#include "world/player.h"
#include "world/race_world.h"
#include "world/road_piece_kinds.h"
#include "world/road_rock.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vm {

namespace {

constexpr double DegToRad = std::numbers::pi / 180.0;
constexpr double RadToDeg = 180.0 / std::numbers::pi;

// The keys the driver may press, in the order of its held flags.
constexpr std::array<int, 4> DrivingKeys = {vkUp, vkDown, vkLeft, vkRight};
// What the game makes of them (a pad driving for the autopilot holds the actions, not the keys).
constexpr std::array<int, 4> DrivingActions = {acAccelerate, acBrake, acSteerLeft, acSteerRight};

// Z of the sprites the driver looks for (the race's drawing order).
constexpr int WallZ = 28;
constexpr int PickupZ = 31;

// The farthest the driver runs beside the road's middle on a straight, and the farthest it does so
// without a reason. The road is 300 pixels wide there, the car about 40; off the road the car only
// accelerates worse, and the walls stand about 90 pixels beyond the road's edges.
constexpr double LaneLimit = 120.0;
constexpr double OpenLane = 90.0;
// How much better another lane must be before the driver changes its mind.
constexpr double LaneSwitchMargin = 40.0;
// How far ahead along the road the driver looks for bends, in screen pixels.
constexpr double BendReach = 1100.0;
// Room a bend leaves for finishing the turn beyond where it starts (the road's width lets the car
// come out of it late).
constexpr double BendSlack = 330.0;
// The farthest point ahead the driver aims at; farther would cut the bends' inner corners.
constexpr double MaxAim = 420.0;
// Slowing a car can count on per frame with the brake held (the brake gives 0.08 on the road).
constexpr double BrakeRate = 0.07;
// Speed kept while turning round towards the road.
constexpr double TurnRoundSpeed = 2.2;

// Short way round from one angle to another, degrees in [-180, 180].
double TurnTo(double From, double To) { return std::remainder(To - From, 360.0); }

// The road ahead, read from the checkpoints and the course plan: a checkpoint sits in the middle
// of every course piece, each 300 pixels above the one before (the course always climbs the
// screen), and the piece's kind says how its middle line runs and how wide it is. Pieces are
// numbered like their checkpoints; below the first and beyond the course the road runs straight up.
class TRoadLine
{
public:
    explicit TRoadLine(const TRaceWorld& World)
        : FCp(World.FCheckpoints), FCount(std::clamp(World.FCheckpointCount, 0, TRaceWorld::MaxCheckpoints)),
          FCourse(World.Course)
    {}

    bool Empty() const { return FCount < 1; }
    int Count() const { return FCount; }
    const TCheckpoint& At(int I) const { return FCp[static_cast<std::size_t>(I)]; }

    // The piece that spans screen height Y: 1..Count, 0 below the first, Count beyond the last.
    int PieceAt(double Y) const
    {
        int Lo = 0, Hi = FCount; // the last checkpoint at or below Y
        while (Lo < Hi)
        {
            const int Mid = (Lo + Hi + 1) / 2;
            if (At(Mid).Y >= Y)
                Lo = Mid;
            else
                Hi = Mid - 1;
        }
        if (Lo >= 1 && Lo < FCount && At(Lo).Y - Y > (At(Lo).Y - At(Lo + 1).Y) / 2)
            ++Lo;
        if (Lo == 0 && FCount >= 1 && Y - At(1).Y <= PieceLength / 2.0)
            Lo = 1;
        return Lo;
    }

    // The kind of piece I: the course position before its checkpoint; the run-out is straight.
    const TPieceKind& Kind(int I) const
    {
        const int Position = I - 1;
        const bool OnCourse = Position >= 0 && Position <= FCourse.CourseLast;
        return PieceKindOf(OnCourse ? FCourse.CodeAt(Position) : static_cast<std::uint8_t>(PieceStraight));
    }

    // The road's middle at screen height Y.
    double MiddleX(double Y) const
    {
        const int I = PieceAt(Y);
        if (I < 1)
            return At(1).X - Kind(1).Shift / 2.0;
        const double Up = std::clamp((At(I).Y - Y) / PieceLength, -0.5, 0.5);
        return At(I).X + Kind(I).Shift * Up;
    }

    // Half the road's width across the screen at height Y.
    double HalfWidth(double Y) const { return Kind(std::max(PieceAt(Y), 1)).HalfWidth; }

    // Direction of travel along piece I in degrees (-90 is straight up the screen).
    double Direction(int I) const { return std::atan2(-PieceLength, Kind(I).Shift) * RadToDeg; }

    // Where piece I begins: the screen height of its lower edge.
    double Start(int I) const { return At(I).Y + PieceLength / 2.0; }

private:
    const std::array<TCheckpoint, TRaceWorld::MaxCheckpoints + 1>& FCp;
    int FCount;
    const TCourse& FCourse;
};

// Something on the road ahead to drive around: another car or a hazard pickup.
struct TObstacle
{
    double Ahead = 0.0;   // how far up the screen from the player's car centre
    double Lateral = 0.0; // its offset from the road's middle
    double Clear = 0.0;   // the sideways distance between middles that keeps the two apart
    double Along = 0.0;   // its speed up the screen (0 for pickups)
    bool Car = false;
};

// A wall near the player's car.
struct TNearWall
{
    const TBoxCorners* Corners = nullptr;
    double X = 0.0, Y = 0.0; // its centre
};

// What the driver sees this frame around its car.
struct TSurroundings
{
    static constexpr int MaxWalls = 40;
    static constexpr int MaxObstacles = 32;
    std::array<TNearWall, MaxWalls> Walls{};
    int WallCount = 0;
    std::array<TObstacle, MaxObstacles> Obstacles{};
    int ObstacleCount = 0;

    void AddObstacle(const TObstacle& Obstacle)
    {
        if (ObstacleCount < MaxObstacles)
            Obstacles[static_cast<std::size_t>(ObstacleCount++)] = Obstacle;
    }

    // True when the square of half side Half centred on (X, Y) touches a near wall; Side then
    // tells on which side of the direction (Dx, Dy) the wall lies (> 0 right, < 0 left).
    bool WallAt(double X, double Y, double Half, double Dx, double Dy, double* Side = nullptr) const
    {
        const double L = X - Half, T = Y - Half, R = X + Half, B = Y + Half;
        for (int I = 0; I < WallCount; ++I)
        {
            const TNearWall& Wall = Walls[static_cast<std::size_t>(I)];
            const TBoxCorners& C = *Wall.Corners;
            if (QuadsOverlap(L, T, R, T, R, B, L, B, C[0].X, C[0].Y, C[1].X, C[1].Y, C[2].X, C[2].Y, C[3].X,
                             C[3].Y))
            {
                if (Side)
                    *Side = Dx * (Wall.Y - Y) - Dy * (Wall.X - X);
                return true;
            }
        }
        return false;
    }
};

// Half the sideways size of a car's outline on the screen.
double HalfSpan(const TCar& Car)
{
    double Lo = Car.FCorners[0].X, Hi = Lo;
    for (const TCarCorner& C : Car.FCorners)
    {
        Lo = std::min(Lo, C.X);
        Hi = std::max(Hi, C.X);
    }
    return (Hi - Lo) / 2.0;
}

// First sprite of the engine whose Z is at least Z (the engine keeps them sorted by Z).
int FirstWithZ(const TSpriteEngine& Engine, int Z)
{
    int Lo = 0, Hi = Engine.Count();
    while (Lo < Hi)
    {
        const int Mid = (Lo + Hi) / 2;
        if (Engine.Sprites(Mid)->Z() < Z)
            Lo = Mid + 1;
        else
            Hi = Mid;
    }
    return Lo;
}

// Gathers the walls within reach of the car and the cars and hazards on the road ahead.
void Look(const TRaceWorld& World, const TPlayer& Car, const TRoadLine& Road, TSurroundings& Around)
{
    const double Cx = Car.CentreX(), Cy = Car.CentreY();
    const double Speed = std::max(Car.FSpeed, 0.0);
    const double MyHalf = HalfSpan(Car);
    const double MyAlong = -std::sin(Car.FCourse * DegToRad) * Car.FSpeed;
    auto LateralAt = [&](double X, double Y) { return Road.Empty() ? X - Cx : X - Road.MiddleX(Y); };

    // Walls and pickups: the engine's sprites of Z 28 to 31, walls first.
    const TSpriteEngine& Engine = World.Engine;
    for (int I = FirstWithZ(Engine, WallZ); I < Engine.Count(); ++I)
    {
        const TSprite* Sprite = Engine.Sprites(I);
        if (Sprite->Z() > PickupZ)
            break;
        if (Sprite->IsDead() || (Sprite->Z() != WallZ && Sprite->Z() != PickupZ))
            continue;
        const double X = Sprite->X() + Sprite->Width() / 2.0, Y = Sprite->Y() + Sprite->Height() / 2.0;
        if (Sprite->Z() == WallZ)
        {
            const auto* Wall = dynamic_cast<const TRoadRock*>(Sprite);
            if (Wall && std::fabs(X - Cx) < 400 && std::fabs(Y - Cy) < 400 &&
                Around.WallCount < TSurroundings::MaxWalls)
                Around.Walls[static_cast<std::size_t>(Around.WallCount++)] = {&Wall->Corners, X, Y};
            continue;
        }
        // Oil, bomb and spikes are driven around; the rest is left to chance.
        const auto* Pickup = dynamic_cast<const TBonus*>(Sprite);
        if (Pickup == nullptr ||
            (Pickup->FKind != bkOil && Pickup->FKind != bkBomb && Pickup->FKind != bkSpikes))
            continue;
        const double Ahead = Cy - Y;
        if (Ahead > -30 && Ahead < 80 + 60 * Speed)
            Around.AddObstacle({Ahead, LateralAt(X, Y), MyHalf + Sprite->Width() / 2.0 + 12, 0.0, false});
    }

    // The other cars: those ahead that this car is catching, and those alongside.
    const int Opponents = std::clamp(World.FEnemyCount, 0, TRaceWorld::MaxOpponents);
    for (int S = 0; S < Opponents; ++S)
    {
        const TCar* Other = World.FEnemies[static_cast<std::size_t>(S)];
        if (Other == nullptr || Other->IsDead())
            continue;
        const double Ahead = Cy - Other->CentreY();
        const double Along = -std::sin(Other->FCourse * DegToRad) * Other->FSpeed;
        if (Ahead < -60 || Ahead > 280 || (Ahead > 100 && Along > MyAlong + 0.5))
            continue;
        Around.AddObstacle({Ahead, LateralAt(Other->CentreX(), Other->CentreY()),
                            MyHalf + HalfSpan(*Other) + 14, Along, true});
    }
}

// The lane to run in: the sideways offset from the road's middle that stays clear of the cars and
// hazards ahead, preferring the middle and Goal, the lane chosen before, which is kept unless
// another is clearly better (no dithering between two sides of something). A lane on the far side
// of something counts only if the car can still get across before it gets there: turning at full
// lock from straight on, it gets Run^2 / (2 Radius) sideways in Run pixels. Offsets are measured
// across the screen, so a slanting stretch of road is wider in them by Widen.
double ChooseLane(const TSurroundings& Around, double Goal, double MyLateral, double Radius, double Widen)
{
    const double Widest = LaneLimit * Widen, Open = OpenLane * Widen;
    auto LaneCost = [&](double Lane) {
        double Cost = 0.15 * std::fabs(Lane) + 0.4 * std::fabs(Lane - Goal) +
                      3.0 * std::max(std::fabs(Lane) - Open, 0.0);
        for (int I = 0; I < Around.ObstacleCount; ++I)
        {
            const TObstacle& O = Around.Obstacles[static_cast<std::size_t>(I)];
            // Nearer things weigh more: there is time to get round farther ones afterwards.
            const double Block = 250000.0 / (std::max(O.Ahead, 0.0) + 150.0);
            const double Lo = O.Lateral - O.Clear, Hi = O.Lateral + O.Clear;
            if (Lane > Lo && Lane < Hi)
            {
                Cost += Block;
                continue;
            }
            const double Across = Lane >= Hi ? Hi - MyLateral : MyLateral - Lo;
            const double Run = std::max(O.Ahead - 20.0, 0.0);
            const double Short = Across - 0.8 * Run * Run / (2.0 * Radius);
            if (Across > 0 && Short > 0)
                Cost += 0.8 * Block * std::min(Short / 40.0, 1.0);
            const double Gap = std::fabs(Lane - O.Lateral);
            if (Gap < O.Clear + 25)
                Cost += (O.Clear + 25 - Gap) * 2.0; // keep a little more room when there is some
        }
        return Cost;
    };
    Goal = std::clamp(Goal, -Widest, Widest);
    double Best = Goal, BestCost = LaneCost(Goal) - LaneSwitchMargin;
    for (int Step = -15; Step <= 15; ++Step)
    {
        const double Lane = Widest * Step / 15.0;
        const double Cost = LaneCost(Lane);
        if (Cost < BestCost)
        {
            BestCost = Cost;
            Best = Lane;
        }
    }
    return Best;
}

// The speed the bends ahead allow: the body must come round to each piece's direction before the
// car has run past its start. At the turning rate the grip allows (TurnRate, degrees a frame) that
// caps the speed at the piece, and the brakes (weak: under a tenth of a pixel a frame) must get the
// car down to that in time.
double BendLimit(const TRoadLine& Road, double Cy, double Heading, double Speed, double TurnRate)
{
    double Limit = 1e9;
    if (Road.Empty())
        return Limit;
    // As far as the brakes need from this speed, and never less than about two screens.
    const double Look = std::max(BendReach, Speed * Speed / (2.0 * BrakeRate) + 400.0);
    for (int J = std::max(Road.PieceAt(Cy), 1); J <= Road.Count() && Cy - Road.Start(J) < Look; ++J)
    {
        const double Turn = std::fabs(TurnTo(Heading, Road.Direction(J))) - 3.0;
        if (Turn <= 0)
            continue;
        const double Distance = std::max(Cy - Road.Start(J), 0.0);
        const double AtBend = TurnRate * BendSlack / Turn;
        Limit = std::min({Limit, TurnRate * (Distance + BendSlack) / Turn,
                          std::sqrt(AtBend * AtBend + 2.0 * BrakeRate * Distance)});
    }
    return Limit;
}

// The speed the cars and hazards ahead allow. Something to get round on the chosen lane (Goal) that
// the car cannot reach at this speed: slower, the same turning rate moves it sideways in fewer
// pixels. A car ahead that the lane aimed at (Lane) does not get round, or that is about to be
// hit: follow it.
double ObstacleLimit(const TSurroundings& Around, double Goal, double Lane, double MyLateral, double Speed,
                     double TurnRate)
{
    double Limit = 1e9;
    for (int I = 0; I < Around.ObstacleCount; ++I)
    {
        const TObstacle& O = Around.Obstacles[static_cast<std::size_t>(I)];
        const double Lo = O.Lateral - O.Clear, Hi = O.Lateral + O.Clear;
        const double Across = Goal >= Hi ? Hi - MyLateral : Goal <= Lo ? MyLateral - Lo : 0.0;
        const double Run = O.Ahead - 20.0;
        if (Across > 0 && Run > 0)
            Limit = std::min(Limit, std::max(0.8 * Run * Run * TurnRate * DegToRad / (2.0 * Across), 3.0));
        if (!O.Car || O.Ahead <= 0)
            continue;
        const bool LaneBlocked = std::fabs(Lane - O.Lateral) < O.Clear && O.Ahead < 90 + 14 * Speed;
        const bool AboutToHit = std::fabs(MyLateral - O.Lateral) < O.Clear - 8 && O.Ahead < 50 + 6 * Speed;
        if (LaneBlocked || AboutToHit)
            Limit = std::min(Limit, std::max(O.Along - 0.3, 1.0));
    }
    return Limit;
}

} // namespace

void TAutopilot::Reset()
{
    FMode = TMode::Forward;
    FModeTicks = 0;
    FStuckTicks = 0;
    FReverseCalm = 0;
    FLane = 0.0;
    FGoal = 0.0;
    FHasLane = false;
}

void TAutopilot::Drive(const TRaceWorld& World, const std::function<void(int Key, bool Down)>& SendKey)
{
    const TPlayer* Car = World.FPlayer;
    if (Car == nullptr || !Car->Driving)
    {
        ReleaseAll(SendKey);
        Reset();
        return;
    }
    Send(World, Decide(World), SendKey);
}

void TAutopilot::ReleaseAll(const std::function<void(int Key, bool Down)>& SendKey)
{
    for (std::size_t K = 0; K < DrivingKeys.size(); ++K)
        if (FHeld[K])
        {
            FHeld[K] = false;
            SendKey(DrivingKeys[K], false);
        }
}

void TAutopilot::Send(const TRaceWorld& World, const TWish& Wish, const TSendKey& SendKey)
{
    const std::array<bool, 4> Want = {Wish.Up, Wish.Down, Wish.Left, Wish.Right};
    for (std::size_t K = 0; K < DrivingKeys.size(); ++K)
    {
        const bool GameHolds = World.State.Held(DrivingActions[K]);
        if (Want[K])
        {
            // The car lets go of a key whose release it had not read yet when the key is pressed
            // again (the release is read after the press): press it once more then.
            if (!GameHolds)
                SendKey(DrivingKeys[K], true);
            FHeld[K] = true;
        }
        else if (FHeld[K])
        {
            if (GameHolds)
                SendKey(DrivingKeys[K], false);
            FHeld[K] = false;
        }
    }
}

TAutopilot::TWish TAutopilot::Decide(const TRaceWorld& World)
{
    const TPlayer& Car = *World.FPlayer;
    const TRoadLine Road(World);
    TSurroundings Around;
    Look(World, Car, Road, Around);

    const double Cx = Car.CentreX(), Cy = Car.CentreY();
    const double Speed = Car.FSpeed;
    const double Heading = Car.FHeading;
    const double Hx = std::cos(Heading * DegToRad), Hy = std::sin(Heading * DegToRad);
    const double Mx = std::cos(Car.FCourse * DegToRad), My = std::sin(Car.FCourse * DegToRad);
    const double MyLateral = Road.Empty() ? 0.0 : Cx - Road.MiddleX(Cy);
    if (!FHasLane)
    {
        FLane = FGoal = std::clamp(MyLateral, -LaneLimit, LaneLimit);
        FHasLane = true;
    }

    // The lane, clear of the cars and hazards ahead; the aim moves towards it a little a frame.
    const double TurnRate = std::max(Car.FTurnRate * Car.FGrip, 0.1);
    const double Widen =
        Road.Empty() ? 1.0
                     : std::min(Road.HalfWidth(Cy), Road.HalfWidth(Cy - MaxAim)) / PieceKindOf(0).HalfWidth;
    FGoal = ChooseLane(Around, FGoal, MyLateral, std::max(Speed, 1.5) / (TurnRate * DegToRad), Widen);
    FLane += std::clamp(FGoal - FLane, -8.0, 8.0);

    // Where to go: a point on the lane ahead, farther at speed (the car turns no faster at speed,
    // so the turn must start earlier). Something in the way on the present line brings the point
    // in, so that the car is on its new lane by the time it gets there.
    double Reach = std::min(150.0 + 28.0 * std::max(Speed, 0.0), MaxAim);
    for (int I = 0; I < Around.ObstacleCount; ++I)
    {
        const TObstacle& O = Around.Obstacles[static_cast<std::size_t>(I)];
        if (O.Ahead > 30 && O.Ahead < Reach &&
            (std::fabs(MyLateral - O.Lateral) < O.Clear + 10 || std::fabs(FLane - O.Lateral) < O.Clear + 40))
            Reach = std::max(O.Ahead, 90.0);
    }
    const double Ty = Cy - Reach;
    const double Tx = (Road.Empty() ? Cx : Road.MiddleX(Ty)) + FLane;
    const double Wanted = std::atan2(Ty - Cy, Tx - Cx) * RadToDeg;
    double Error = TurnTo(Heading, Wanted);

    // The speed to keep: for the bends ahead, for the way to go, for what is in the way.
    double Limit = std::min(Car.FTopSpeed, BendLimit(Road, Cy, Heading, Speed, TurnRate));
    // Far off the way to go: slow down to turn; turned round: crawl and turn.
    const double Off = std::fabs(Error);
    if (Off > 30)
        Limit = std::min(Limit, std::max(TurnRoundSpeed, 7.5 - (Off - 30) * 0.1));
    if (Off > 100)
        Limit = std::min(Limit, TurnRoundSpeed);
    Limit = std::min(Limit, ObstacleLimit(Around, FGoal, FLane, MyLateral, Speed, TurnRate));

    // Walls: follow the car's travel ahead; a wall on the way turns it away and slows it.
    const double FrontX = Car.PivotX() + 0.7 * Car.Height() * Hx,
                 FrontY = Car.PivotY() + 0.7 * Car.Height() * Hy;
    int SteerAway = 0; // +1 right, -1 left
    for (int Frames : {8, 16, 28})
    {
        const double Run = std::max(Speed, 0.0) * Frames;
        double Side = 0;
        if (Run > 10 && Around.WallAt(FrontX + Mx * Run, FrontY + My * Run, 16, Mx, My, &Side))
        {
            if (Frames <= 16)
                SteerAway = Side > 0 ? -1 : 1;
            Limit = std::min(Limit, Frames <= 8 ? 2.5 : Frames <= 16 ? 4.5 : 6.5);
            break;
        }
    }
    // A wall scraping along a side (each frame of contact costs health in proportion to the
    // speed): turn away from it and slow down.
    const double SideX = Car.PivotX() + 0.2 * Car.Height() * Hx,
                 SideY = Car.PivotY() + 0.2 * Car.Height() * Hy;
    const double Beside = Car.Width() / 2.0 + 8;
    const bool WallRight = Around.WallAt(SideX - Hy * Beside, SideY + Hx * Beside, 10, Hx, Hy);
    const bool WallLeft = Around.WallAt(SideX + Hy * Beside, SideY - Hx * Beside, 10, Hx, Hy);
    if (WallRight != WallLeft)
    {
        SteerAway = WallRight ? -1 : 1;
        Limit = std::min(Limit, 3.0);
    }
    const bool NoseAtWall = Around.WallAt(FrontX + Hx * 14, FrontY + Hy * 14, 12, Hx, Hy);
    const bool TailAtWall = Around.WallAt(Car.PivotX() - (0.3 * Car.Height() + 14) * Hx,
                                          Car.PivotY() - (0.3 * Car.Height() + 14) * Hy, 12, Hx, Hy);

    // Recovery: a car that cannot go on (nose at a wall facing away from the road, or stuck)
    // backs away turning towards the road, then drives on.
    ++FModeTicks;
    if (FReverseCalm > 0)
        --FReverseCalm;
    if (FMode == TMode::Forward)
    {
        // Off the road the car gathers speed slowly: only a long stop counts as stuck.
        FStuckTicks = std::fabs(Speed) < 0.2 ? FStuckTicks + 1 : 0;
        if (FReverseCalm == 0 && ((NoseAtWall && Off > 30) || FStuckTicks > 60))
        {
            FMode = TMode::Reverse;
            FModeTicks = 0;
            FStuckTicks = 0;
        }
    }
    else if ((FModeTicks > 12 && (Off < 15 || TailAtWall)) || FModeTicks > 90 ||
             (FModeTicks > 45 && Speed > -0.05))
    {
        FMode = TMode::Forward;
        FModeTicks = 0;
        FReverseCalm = 40;
    }

    TWish Wish;
    if (FMode == TMode::Forward && SteerAway != 0 && Off < 60)
        Error = SteerAway > 0 ? 90.0 : -90.0;
    // Right turns the body clockwise while the car rolls forwards, Left while it rolls backwards
    // (whatever the pedals say: a car changing direction still rolls the old way for a while).
    const double Deadband = std::max(0.6 * Car.FTurnRate, 0.3);
    const bool Clockwise = Error > Deadband, Anticlockwise = Error < -Deadband;
    Wish.Right = Speed >= 0 ? Clockwise : Anticlockwise;
    Wish.Left = Speed >= 0 ? Anticlockwise : Clockwise;

    if (FMode == TMode::Reverse)
    {
        Wish.Down = true;
        return Wish;
    }
    if (Limit >= Car.FTopSpeed || Speed < Limit)
        Wish.Up = true;
    else if (Speed > Limit + 0.4)
        Wish.Down = true;
    return Wish;
}

} // namespace vm
