// Turned boxes: corners kept from one frame to the next must be those worked out afresh.
#include "engine/sprite.h"
#include "engine/sprite_engine.h"
#include "world/turned_box.h"

#include <gtest/gtest.h>

namespace vm {
namespace {

// Corners worked out with nothing kept.
TBoxCorners Fresh(const TSprite& Sprite, const std::array<double, 4>& CornerAngles)
{
    TBoxCorners Corners{};
    UpdateBoxCorners(Sprite, CornerAngles, Corners);
    return Corners;
}

void ExpectSame(const TBoxCorners& A, const TBoxCorners& B, const char* Step)
{
    for (std::size_t K = 0; K < 4; ++K)
    {
        EXPECT_EQ(A[K].X, B[K].X) << Step << " corner " << K;
        EXPECT_EQ(A[K].Y, B[K].Y) << Step << " corner " << K;
    }
}

TEST(TurnedBox, KeptOffsetsFollowPositionAngleSizeAndCornerAngles)
{
    TSpriteEngine Engine;
    TSprite& Wall = *new TSprite(Engine);
    Wall.SetWidth(24);
    Wall.SetHeight(150);
    Wall.Angle = -35.0f;
    std::array<double, 4> Angles = BoxCornerAngles(24, 150);
    TBoxTurn Turn;
    TBoxCorners Kept{};

    UpdateBoxCorners(Wall, Angles, Kept, Turn);
    ExpectSame(Kept, Fresh(Wall, Angles), "first");
    const TBoxCorners First = Kept;

    // Moved: the same offsets from a new centre.
    Wall.SetX(310.25f);
    Wall.SetY(-47.5f);
    UpdateBoxCorners(Wall, Angles, Kept, Turn);
    ExpectSame(Kept, Fresh(Wall, Angles), "moved");
    EXPECT_DOUBLE_EQ(Kept[2].X - First[2].X, 310.25);

    // Each of angle, size and corner angles changes the corners.
    Wall.Angle = 145.0f;
    UpdateBoxCorners(Wall, Angles, Kept, Turn);
    ExpectSame(Kept, Fresh(Wall, Angles), "turned");
    Wall.Angle = -0.0f; // another zero: sines keep their sign
    UpdateBoxCorners(Wall, Angles, Kept, Turn);
    Wall.Angle = 0.0f;
    UpdateBoxCorners(Wall, Angles, Kept, Turn);
    ExpectSame(Kept, Fresh(Wall, Angles), "zero");
    Wall.SetWidth(40);
    UpdateBoxCorners(Wall, Angles, Kept, Turn);
    ExpectSame(Kept, Fresh(Wall, Angles), "wider");
    Wall.SetHeight(60);
    UpdateBoxCorners(Wall, Angles, Kept, Turn);
    ExpectSame(Kept, Fresh(Wall, Angles), "shorter");
    Angles = BoxCornerAngles(40, 60);
    UpdateBoxCorners(Wall, Angles, Kept, Turn);
    ExpectSame(Kept, Fresh(Wall, Angles), "corner angles");
    EXPECT_NEAR(Kept[0].X - Kept[3].X, -40.0, 1e-9); // corners 0 and 3 span the width, unturned
}

} // namespace
} // namespace vm
