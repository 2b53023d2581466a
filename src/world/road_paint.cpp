// Markings and decorations lying on the ground.
#include "world/road_paint.h"

#include "engine/image_list.h"
#include "engine/random.h"
#include "world/race_world.h"
#include "world/road_part.h"
#include "world/road_piece_kinds.h"

namespace vm {

TRoadPaint::TRoadPaint(TRaceWorld& World, float X, float Y, float Angle, int Kind, int Terrain)
    : TWorldSprite(World.Engine), FWorld(World)
{
    TImageListCollection& Images = World.GameImages.ImageList;
    if (Kind == PaintDecoration)
    {
        // Terrain 0 (and anything unknown) has trees; the other terrain and its edges desert plants.
        SetImage(Images.Find(Terrain >= 1 && Terrain <= 3 ? "desert" : "trees"));
        SetName("flowers");
        SetPatternIndex(World.Rng.Random(8));
        SetX(0);
        SetY(0);
        // Two separate draws: X's jitter first, then Y's.
        SetX(static_cast<float>(40 - World.Rng.Random(80)));
        SetY(static_cast<float>(40 - World.Rng.Random(80)));
    }
    else
    {
        SetImage(Images.Find(Kind == PaintStartLine ? "startline" : "inplace"));
        SetName("inplace");
        SetPatternIndex(0);
        SetX(0);
        SetY(0);
    }
    SetX(static_cast<float>(this->X() + static_cast<double>(X) - Width() / 2.0));
    SetY(static_cast<float>(this->Y() + static_cast<double>(Y) - Height() / 2.0));
    RotCenterX = 0.5f;
    RotCenterY = 0.5f;
    SetZ(29);
    this->Angle = Angle;
}

void TRoadPaint::Move(float)
{
    ApplyWorldShift(*this, FWorld);
    if (Y() > 2000)
        Dead();
}

namespace {

// One decoration at (X + Dx, Y + Dy); its angle is drawn just before it is made.
void Decorate(TRaceWorld& World, double X, double Y, double Dx, double Dy, int Terrain)
{
    const int Angle = World.Rng.Random(360);
    new TRoadPaint(World, static_cast<float>(X + Dx), static_cast<float>(Y + Dy), static_cast<float>(Angle),
                   PaintDecoration, Terrain);
}

} // namespace

void PlaceDecorations(TRaceWorld& World, int Kind, double X, double Y)
{
    const int Terrain = World.Course.TerrainAt(World.FNextPiece);
    switch (Kind)
    {
    case PieceStraight:
        // A straight pairs its near and far decorations at random, right side first: each side's draw
        // comes right before that side's two decorations.
        if (World.Rng.Random(10) < 6)
        {
            Decorate(World, X, Y, 430, -75, Terrain);
            Decorate(World, X, Y, 330, -225, Terrain);
        }
        else
        {
            Decorate(World, X, Y, 330, -75, Terrain);
            Decorate(World, X, Y, 430, -225, Terrain);
        }
        if (World.Rng.Random(10) < 6)
        {
            Decorate(World, X, Y, -430, -75, Terrain);
            Decorate(World, X, Y, -330, -225, Terrain);
        }
        else
        {
            Decorate(World, X, Y, -330, -75, Terrain);
            Decorate(World, X, Y, -430, -225, Terrain);
        }
        break;
    case PieceLeft:
    case PieceStraightLeft:
    case PieceLeftStraight: // the left side of a left bend lies further out
        Decorate(World, X, Y, 430, -75, Terrain);
        Decorate(World, X, Y, 530, -225, Terrain);
        Decorate(World, X, Y, -460, -75, Terrain);
        Decorate(World, X, Y, -630, -225, Terrain);
        break;
    case PieceRight:
    case PieceStraightRight:
    case PieceRightStraight:
        Decorate(World, X, Y, 430, -75, Terrain);
        Decorate(World, X, Y, 530, -225, Terrain);
        Decorate(World, X, Y, -430, -75, Terrain);
        Decorate(World, X, Y, -530, -225, Terrain);
        break;
    default: // unknown kinds get no decorations (and make no draws)
        break;
    }
}

} // namespace vm
