// The finish line and its picture.
#include "world/finish_line.h"

#include "engine/image_list.h"
#include "state/game_state.h"
#include "world/car.h"
#include "world/geometry.h"
#include "world/player.h"
#include "world/race_world.h"
#include "world/road_part.h"

#include <algorithm>
#include <cmath>

namespace vm {

TFLineImage::TFLineImage(TRaceWorld& World, float X, float Y) : TWorldSprite(World.Engine)
{
    SetImage(World.GameImages.ImageList.Find("startline"));
    SetName("inplace");
    SetPatternIndex(0);
    SetX(static_cast<float>(X - Width() / 2.0));
    SetY(static_cast<float>(Y - Height() / 2.0));
    RotCenterX = 0.5f;
    RotCenterY = 0.5f;
    SetZ(29);
}

void TFLineImage::Move(float) {}

TFinishLine::TFinishLine(TRaceWorld& World, float X, float Y, double Angle)
    : TWorldSprite(World.Engine), LineAngle(Angle), FWorld(World)
{
    SetImage(World.GameImages.ImageList.Find("fline"));
    SetName("fline");
    SetPatternIndex(0);
    RotCenterX = 0.5f;
    RotCenterY = 0.5f;
    SetX(static_cast<float>(X - Width() / 2.0));
    SetY(static_cast<float>(Y - Height() / 2.0));
    SetZ(60);
    this->Angle = static_cast<float>(Angle);
    Visible = false;
    // Until the first Move the outline is the upright rectangle.
    const double L = this->X(), T = this->Y();
    Corners = {{{L, T}, {L, T + Height()}, {L + Width(), T + Height()}, {L + Width(), T}}};
    CornerAngles = BoxCornerAngles(Width(), Height());
    FLineImage = new TFLineImage(World, X, Y);
}

void TFinishLine::Move(float)
{
    ApplyWorldShift(*this, FWorld);
    if (FLineImage != nullptr)
    {
        FLineImage->SetX(static_cast<float>(X() + Width() / 2.0 - FLineImage->Width() / 2.0));
        FLineImage->SetY(static_cast<float>(Y() + Height() / 2.0 - FLineImage->Height() / 2.0));
    }
    UpdateCorners();
    CheckFinish();
}

void TFinishLine::UpdateCorners() { UpdateBoxCorners(*this, CornerAngles, Corners, FTurn); }

bool TFinishLine::Overlaps(const TCar& Car) const
{
    const auto& C = Car.FCorners;
    return QuadsOverlap(C[0].X, C[0].Y, C[1].X, C[1].Y, C[2].X, C[2].Y, C[3].X, C[3].Y, Corners[0].X,
                        Corners[0].Y, Corners[1].X, Corners[1].Y, Corners[2].X, Corners[2].Y, Corners[3].X,
                        Corners[3].Y);
}

void TFinishLine::CheckFinish()
{
    const int EnemyCount = std::clamp(FWorld.FEnemyCount, 0, TRaceWorld::MaxOpponents);
    for (int I = 0; I < EnemyCount; ++I)
    {
        TCar* Car = FWorld.FEnemies[static_cast<std::size_t>(I)];
        if (Car == nullptr || !Car->FCanFinish || !Overlaps(*Car))
            continue;
        // The results table has a fixed number of rows; an opponent finishing after they are full
        // gets no row but is stopped and counted like the others.
        if (FWorld.FNextPlace >= 1 && FWorld.FNextPlace <= TRaceWorld::MaxResults)
        {
            TRaceResult& Row = FWorld.FResults[static_cast<std::size_t>(FWorld.FNextPlace)];
            // Opponent slot s carries grid number s + 1 (the race setup numbers them so); the row's
            // times stay zero.
            Row.CarNumber = I + 1;
        }
        Car->FLaps += 1;
        FWorld.FNextPlace += 1;
        Car->FCanFinish = false; // recorded once
        if (OnOpponentFinished)
            OnOpponentFinished(*Car, I);
    }

    TPlayer* Player = FWorld.FPlayer;
    if (Player != nullptr && Player->FCanFinish && Overlaps(*Player))
    {
        Player->FCanFinish = false;
        // The clock counts down: the finish keeps the time that was left.
        FFinishHundredths = FWorld.State.TimeHundredths;
        FFinishSeconds = FWorld.State.TimeSeconds;
        FFinishMinutes = FWorld.State.TimeMinutes;
        FFinishPlace = Player->RacePlace;
        Player->FTracksPlace = false;
        Player->Driving = false;
        FWorld.FRaceFinished = true;
        if (OnPlayerFinished)
            OnPlayerFinished(); // stops the race timer
        FWorld.State.PhaseTicks = 0;
    }
}

} // namespace vm
