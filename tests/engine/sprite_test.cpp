// Tests of one sprite: rounding, setters, patterns, drawing, copying and the collision tests.
#include "engine/sprite.h"

#include "engine/image_draw.h"
#include "engine/sprite_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace vm::test {
namespace {

using TSpriteTest = TSpriteFixture;

TEST(RoundCoordTest, RoundsHalfAwayFromZeroAfterCuttingToFourDecimals)
{
    EXPECT_EQ(RoundCoord(0.5), 1);
    EXPECT_EQ(RoundCoord(2.5), 3);
    EXPECT_EQ(RoundCoord(2.4999), 2);
    EXPECT_EQ(RoundCoord(2.49996), 3); // within the fourth decimal of the half
    EXPECT_EQ(RoundCoord(-0.5), -1);
    EXPECT_EQ(RoundCoord(-2.5), -3);
    EXPECT_EQ(RoundCoord(-2.4), -2);
    EXPECT_EQ(RoundCoord(-0.4), 0);
    EXPECT_EQ(RoundCoord(std::nan("")), 0);
    EXPECT_EQ(RoundCoord(1e12), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(RoundCoord(-1e12), std::numeric_limits<std::int32_t>::min());
}

TEST(ToArgbTest, SwapsRedAndBlueOfPlatformColoursAndKeepsArgb)
{
    EXPECT_EQ(ToArgb(0x000000FFu), 0xFFFF0000u);
    EXPECT_EQ(ToArgb(0x00123456u), 0xFF563412u);
    EXPECT_EQ(ToArgb(0x01000000u), 0x01000000u);
    EXPECT_EQ(ToArgb(0xFFFFFFFFu), 0xFFFFFFFFu);
}

TEST_F(TSpriteTest, PositionSettersKeepCornersBoxAndCentreInStep)
{
    TSprite& S = *new TSprite(Engine);
    EXPECT_EQ(S.X2(), 10.0f);
    EXPECT_EQ(S.Y3(), 10.0f);
    EXPECT_EQ(S.BoundsRect().Right, 0); // the box is only set by the setters

    S.SetX(-2.5f);
    S.SetY(4.4f);
    EXPECT_FLOAT_EQ(S.X2(), 7.5f);
    EXPECT_FLOAT_EQ(S.X3(), 7.5f);
    EXPECT_FLOAT_EQ(S.X4(), -2.5f);
    EXPECT_FLOAT_EQ(S.Y2(), 4.4f);
    EXPECT_FLOAT_EQ(S.Y4(), 14.4f);
    EXPECT_EQ(S.BoundsRect().Left, -3);
    EXPECT_EQ(S.BoundsRect().Right, 7);
    EXPECT_EQ(S.BoundsRect().Top, 4);
    EXPECT_EQ(S.BoundsRect().Bottom, 14);
    EXPECT_FLOAT_EQ(S.CenterX(), 2.5f);

    S.SetWidth(7); // only the box's right edge follows
    EXPECT_EQ(S.BoundsRect().Right, 4);
    EXPECT_FLOAT_EQ(S.X2(), 7.5f);
    S.SetX(0.0f);
    EXPECT_FLOAT_EQ(S.CenterX(), 3.5f); // real division

    S.SetImage(MakeItem("strip", 24, 8, 8, 4, [](int, int) { return 0xFFFFFFFFu; }));
    EXPECT_EQ(S.Width(), 8);
    EXPECT_EQ(S.Height(), 4);
    EXPECT_FLOAT_EQ(S.X2(), 8.0f);
    EXPECT_FLOAT_EQ(S.Y3(), 8.4f);
    EXPECT_EQ(S.BoundsRect().Right, 8);
    EXPECT_EQ(S.BoundsRect().Bottom, 8);
}

TEST_F(TSpriteTest, ColourComponentsRebuildAllCorners)
{
    TSprite& S = *new TSprite(Engine);
    S.SetRed(0x10);
    S.SetBlue(0x30);
    S.SetAlpha(0x80);
    for (int Corner = 0; Corner < 4; ++Corner)
        EXPECT_EQ(S.Colors(Corner), 0x8010FF30u);
    S.SetAlpha(300); // held at the end instead of spilling into the other channels
    EXPECT_EQ(S.Colors(2), 0xFF10FF30u);
    S.SetGreen(-4);
    EXPECT_EQ(S.Colors(3), 0xFF100030u);
}

TEST_F(TSpriteTest, PatternIndexStoresAndGetPatternRectClamps)
{
    // 3 columns x 2 rows of 8 x 4 tiles.
    TImageListItem* Item = MakeItem("grid", 24, 8, 8, 4, [](int, int) { return 0xFFFFFFFFu; });
    TSprite& S = *new TSprite(Engine);
    S.SetPatternIndex(4); // without an image only the index is kept
    EXPECT_EQ(S.PatternLeft(), 0);
    S.SetImage(Item);

    S.SetPatternIndex(4);
    EXPECT_EQ(S.PatternLeft(), 8);
    EXPECT_EQ(S.PatternTop(), 4);
    TIntRect R = S.GetPatternRect();
    EXPECT_EQ(R.Left, 8);
    EXPECT_EQ(R.Right, 16);
    EXPECT_EQ(R.Top, 4);
    EXPECT_EQ(R.Bottom, 8);

    S.SetPatternIndex(6); // equal to columns x rows: stored as given
    EXPECT_EQ(S.PatternIndex(), 6);
    S.SetPatternIndex(7); // above: stored as columns x rows
    EXPECT_EQ(S.PatternIndex(), 6);
    EXPECT_EQ(S.PatternLeft(), 8);
    EXPECT_EQ(S.PatternTop(), 8);
    R = S.GetPatternRect(); // the last pattern
    EXPECT_EQ(S.PatternIndex(), 5);
    EXPECT_EQ(R.Left, 16);
    EXPECT_EQ(R.Top, 4);

    S.SetPatternIndex(-1);
    R = S.GetPatternRect();
    EXPECT_EQ(S.PatternIndex(), 0);
    EXPECT_EQ(R.Left, 0);
    EXPECT_EQ(R.Right, 8);
    EXPECT_EQ(R.Bottom, 4);

    // Tiles wider than the picture give no whole column: no division by zero.
    TImageListItem* Wide = MakeItem("wide", 4, 4, 9, 9, [](int, int) { return 0xFFFFFFFFu; });
    S.SetImage(Wide);
    S.SetPatternIndex(3);
    R = S.GetPatternRect();
    EXPECT_EQ(R.Left, 0);
    EXPECT_EQ(R.Right, 9);
}

TEST_F(TSpriteTest, DrawPlacesTheImagesTileAtTheRoundedPosition)
{
    TSprite& S = *new TSprite(Engine);
    S.SetImage(MakeOpaque("box", 16, 8));
    S.Draw();
    ASSERT_EQ(Device.FQuads, 1);
    const float Left0 = Device.LastQuad[0].X;
    const float Top0 = Device.LastQuad[0].Y;
    // Half-pixel shift: the top-left corner moves out by half a pixel, the others do not.
    EXPECT_FLOAT_EQ(Device.LastQuad[1].X - Left0, 16.5f);
    EXPECT_FLOAT_EQ(Device.LastQuad[2].Y - Top0, 8.5f);

    S.SetWidth(40); // the sprite's size does not stretch the quad
    S.SetX(10.0f);
    S.DrawOffsetY = 2.6f;
    Engine.OffsetX = 2.5f;
    S.Draw();
    EXPECT_FLOAT_EQ(Device.LastQuad[0].X - Left0, 8.0f); // RoundCoord(10 - 2.5)
    EXPECT_FLOAT_EQ(Device.LastQuad[0].Y - Top0, 3.0f);
    EXPECT_FLOAT_EQ(Device.LastQuad[1].X - Device.LastQuad[0].X, 16.5f);

    S.IgnoreOffset = true;
    S.Draw();
    EXPECT_FLOAT_EQ(Device.LastQuad[0].X - Left0, 10.0f);

    S.Visible = false;
    S.Draw();
    EXPECT_EQ(Device.FQuads, 3);
}

TEST_F(TSpriteTest, DrawPassesScaleZeroAsOne)
{
    TSprite& S = *new TSprite(Engine);
    S.SetImage(MakeOpaque("box", 16, 8));
    S.Angle = 30.0f;
    S.RotCenterX = 0.5f;
    S.Draw();
    const TVertex Unscaled = Device.LastQuad[2];
    S.ScaleX = 0.0f;
    S.Draw();
    EXPECT_FLOAT_EQ(Device.LastQuad[2].X, Unscaled.X);
    EXPECT_FLOAT_EQ(Device.LastQuad[2].Y, Unscaled.Y);
    S.ScaleX = 2.0f;
    S.Draw();
    EXPECT_NE(Device.LastQuad[2].X, Unscaled.X);
}

TEST_F(TSpriteTest, DrawAreaClipsOnlyWhenSetAndCountsTouchingEdgesAsInside)
{
    TSprite& S = *new TSprite(Engine);
    S.SetImage(MakeOpaque("box", 10, 10));
    S.SetX(-5000.0f);
    S.Draw();
    EXPECT_EQ(Device.FQuads, 1); // no draw area: drawn wherever it is

    Engine.DrawAreaX2 = 100;
    Engine.DrawAreaY2 = 100;
    struct TCase
    {
        float X, Y;
        bool Drawn;
    };
    const TCase Cases[] = {{-10, 0, true},  {-11, 0, false},  {100, 50, true}, {101, 50, false},
                           {50, -10, true}, {50, -11, false}, {50, 100, true}, {50, 101, false}};
    for (const TCase& Case : Cases)
    {
        const long Before = Device.FQuads;
        S.SetX(Case.X);
        S.SetY(Case.Y);
        S.Draw();
        EXPECT_EQ(Device.FQuads - Before, Case.Drawn ? 1 : 0) << Case.X << "," << Case.Y;
    }
}

TEST_F(TSpriteTest, UnpreparedImageIsReportedOnceAndNotDrawn)
{
    TImageListItem Loose; // in no image list: never prepared
    TSprite& S = *new TSprite(Engine);
    S.SetImage(&Loose);
    S.Draw();
    S.Draw();
    Engine.Draw();
    ASSERT_EQ(Messages.Messages.size(), 1u);
    EXPECT_EQ(Messages.Messages[0].Text, "No ImageList assigned to sprite!");
    EXPECT_EQ(Messages.Messages[0].Caption, "Error");
    EXPECT_EQ(Device.FQuads, 0);
}

TEST_F(TSpriteTest, AssignCopiesThroughTheSettersAndKeepsImageWhenSourceHasNone)
{
    TImageListItem* Item = MakeItem("grid", 24, 8, 8, 4, [](int, int) { return 0xFFFFFFFFu; });
    auto& Source = *new TLogSprite(Engine, "S", Log);
    auto& Other = *new TLogSprite(Engine, "O", Log);
    auto& Target = *new TLogSprite(Engine, "T", Log);
    Other.SetZ(3);
    Source.SetName("car");
    Source.SetImage(Item);
    Source.SetX(12.4f);
    Source.SetY(-3.0f);
    Source.SetZ(3);
    Source.SetAlpha(100);
    Source.SetCornerColor(1, 0x11223344u);
    Source.SetCornerColor(3, 0x55667788u);
    Source.SetPatternIndex(4);
    Source.Collide = true;
    Source.PixelOnly = true;
    Source.Angle = 45.0f;
    Source.ScaleY = 2.0f;
    Source.MirrorX = true;
    Source.BlendMode = 2;
    Source.Visible = false;
    Source.IgnoreOffset = true;

    Target.Assign(Source);
    EXPECT_EQ(Target.Name(), "car");
    EXPECT_EQ(Target.Image(), Item);
    EXPECT_EQ(Target.Width(), 8);
    EXPECT_EQ(Target.BoundsRect().Left, 12);
    EXPECT_EQ(Target.BoundsRect().Bottom, 1);
    EXPECT_FLOAT_EQ(Target.Y3(), 1.0f);
    EXPECT_EQ(Target.Alpha(), 100);
    EXPECT_EQ(Target.Colors(0), 0x64FFFFFFu);
    EXPECT_EQ(Target.Colors(1), 0x11223344u);
    EXPECT_EQ(Target.Colors(3), 0x55667788u);
    EXPECT_EQ(Target.PatternIndex(), 4);
    EXPECT_TRUE(Target.Collide && Target.PixelOnly && !Target.PixelCheck);
    EXPECT_EQ(Target.Angle, 45.0f);
    EXPECT_EQ(Target.ScaleY, 2.0f);
    EXPECT_TRUE(Target.MirrorX && !Target.MirrorY);
    EXPECT_EQ(Target.BlendMode, 2);
    EXPECT_FALSE(Target.Visible);
    EXPECT_TRUE(Target.IgnoreOffset);
    // Z went through SetZ: re-inserted before the sprites of equal Z.
    EXPECT_EQ(Target.Z(), 3);
    EXPECT_EQ(Engine.Sprites(0), &Target);
    EXPECT_EQ(Engine.Sprites(1), &Source);

    auto& Bare = *new TLogSprite(Engine, "B", Log);
    Bare.SetWidth(3);
    Target.Assign(Bare);
    EXPECT_EQ(Target.Image(), Item);
    EXPECT_EQ(Target.Width(), 8);
    EXPECT_EQ(Target.Z(), 0);
    EXPECT_TRUE(Target.Visible);
}

// Collision: a pair of logging sprites with boxes set from their images.
class TCollisionTest : public TSpriteFixture
{
protected:
    TLogSprite& Make(const std::string& Tag, TImageListItem* Item, float X, float Y, bool PixelCheck)
    {
        auto& S = *new TLogSprite(Engine, Tag, Log);
        S.SetImage(Item);
        S.SetX(X);
        S.SetY(Y);
        S.Collide = true;
        S.PixelCheck = PixelCheck;
        return S;
    }
};

TEST_F(TCollisionTest, BoxTestCallsBothInOrderWithZeroOffsets)
{
    TImageListItem* Item = MakeOpaque("box", 8, 8);
    TLogSprite& A = Make("A", Item, 0, 0, true);
    TLogSprite& B = Make("B", Item, 4, 4, false); // only one pixel-checked: boxes decide
    Log.clear();
    A.Collision(B);
    EXPECT_EQ(Log, (std::vector<std::string>{"A hit B 0,0", "B hit A 0,0"}));

    Log.clear();
    B.SetX(8.0f); // boxes only touch
    A.Collision(B);
    B.SetX(4.0f);
    B.Collide = false;
    A.Collision(B);
    B.Collide = true;
    B.Dead();
    A.Collision(B);
    EXPECT_TRUE(Log.empty());
}

TEST_F(TCollisionTest, PixelOnlyCollidesOnlyWhenBothArePixelChecked)
{
    TImageListItem* Item = MakeOpaque("box", 8, 8);
    TLogSprite& A = Make("A", Item, 0, 0, false);
    TLogSprite& B = Make("B", Item, 4, 4, true);
    A.PixelOnly = true;
    Log.clear();
    A.Collision(B);
    B.Collision(A);
    EXPECT_TRUE(Log.empty());

    A.PixelCheck = true;
    A.Collision(B);
    EXPECT_EQ(Log, (std::vector<std::string>{"A hit B 4,4", "B hit A 0,0"}));

    Log.clear();
    A.Collision(A); // a sprite always overlaps itself
    EXPECT_EQ(Log, (std::vector<std::string>{"A hit A 0,0", "A hit A 0,0"}));
}

TEST_F(TCollisionTest, PixelTestNeedsOpaqueTexelsOnBothSides)
{
    TImageListItem* Solid = MakeOpaque("solid", 8, 8);
    // Opaque only in its bottom-right quarter.
    TImageListItem* Corner =
        MakeItem("corner", 8, 8, 8, 8, [](int X, int Y) { return X >= 4 && Y >= 4 ? 0xFF00FF00u : 0u; });
    TLogSprite& A = Make("A", Solid, 0, 0, true);
    TLogSprite& B = Make("B", Corner, 4, 4, true);
    Log.clear();
    A.Collision(B); // the overlap 4..7 reads B's texels 1..3: all clear
    EXPECT_TRUE(Log.empty());

    B.SetX(1.0f);
    B.SetY(1.0f); // now B's texels 4..6 lie under the scanned part of the overlap
    A.Collision(B);
    EXPECT_EQ(Log, (std::vector<std::string>{"A hit B 4,4", "B hit A 3,3"}));

    Log.clear();
    B.SetX(7.0f); // an overlap one pixel wide is never examined
    B.SetY(0.0f);
    B.SetImage(Solid);
    A.Collision(B);
    EXPECT_TRUE(Log.empty());
}

TEST_F(TCollisionTest, MirroringAndPatternsChooseTheTexelsRead)
{
    TImageListItem* Solid = MakeOpaque("solid", 8, 8);
    // Opaque only in column 6.
    TImageListItem* Stripe =
        MakeItem("stripe", 8, 8, 8, 8, [](int X, int) { return X == 6 ? 0xFFFFFFFFu : 0u; });
    TLogSprite& A = Make("A", Solid, 0, 0, true);
    TLogSprite& B = Make("B", Stripe, 4, 0, true);
    Log.clear();
    A.Collision(B); // B's columns 1..3 are read
    EXPECT_TRUE(Log.empty());
    B.MirrorX = true; // now its columns 7, 6, 5
    A.Collision(B);
    EXPECT_EQ(Log, (std::vector<std::string>{"A hit B 5,0", "B hit A 1,0"}));

    // Two tiles: the left one clear, the right one opaque.
    TImageListItem* Tiles =
        MakeItem("tiles", 16, 8, 8, 8, [](int X, int) { return X >= 8 ? 0xFFFFFFFFu : 0u; });
    B.MirrorX = false;
    B.SetImage(Tiles);
    B.SetPatternIndex(0);
    Log.clear();
    A.Collision(B);
    EXPECT_TRUE(Log.empty());
    B.SetPatternIndex(1);
    A.Collision(B);
    EXPECT_EQ(Log.size(), 2u);
}

TEST_F(TCollisionTest, TexelsOutsideTheTextureOrMissingNeverHit)
{
    TImageListItem* Solid = MakeOpaque("solid", 4, 4);
    TLogSprite& A = Make("A", Solid, 0, 0, true);
    TLogSprite& B = Make("B", Solid, 0, 0, true);
    A.SetWidth(400);
    A.SetHeight(400);
    B.SetX(100.0f); // overlaps A's box far beyond A's texture
    B.SetY(100.0f);
    B.MirrorY = true;
    Log.clear();
    A.Collision(B);
    EXPECT_TRUE(Log.empty());

    TImageListItem Loose; // never given a texture: no texels to read
    B.SetImage(&Loose);
    B.SetX(0.0f);
    B.SetY(0.0f);
    B.SetWidth(4);
    B.SetHeight(4);
    A.Collision(B);
    EXPECT_TRUE(Log.empty());
}

// A screen, an image list and an engine on a device of type TDevice, with one 16 x 8 picture of
// two 8 x 8 tiles.
template <typename TDevice> struct TDrawRig
{
    TDrawRig() : Screen(Device, Messages), List(&Screen), Engine(&Messages)
    {
        TPixels Pixels = MakeSolidPixels(16, 8, 0xFF336699u);
        std::vector<std::uint8_t> Png;
        EXPECT_TRUE(EncodePng(Pixels, Png));
        TPicture Picture;
        EXPECT_TRUE(Picture.Assign(std::move(Png)));
        Item = List.ImageList.Add();
        Item->SetPicture(std::move(Picture));
        Item->SetTileWidth(8);
        Item->SetTileHeight(8);
        Screen.Initialize();
    }

    // Draws a scene of sprites and images in several states; after each step notes the number of
    // quads and the blend factors the device was given.
    std::vector<long> DrawScene()
    {
        std::vector<long> Trace;
        auto Note = [&] {
            Trace.push_back(Device.FQuads);
            Trace.push_back(static_cast<long>(Device.FSource));
            Trace.push_back(static_cast<long>(Device.FDest));
        };
        TSprite& Plain = *new TSprite(Engine);
        Plain.SetImage(Item);
        TSprite& Turned = *new TSprite(Engine);
        Turned.SetImage(Item);
        Turned.Angle = 33.0f;
        Turned.ScaleX = 1.5f;
        Turned.MirrorX = true;
        Turned.SetPatternIndex(1);
        Turned.BlendMode = 2;
        TSprite& Hidden = *new TSprite(Engine);
        Hidden.SetImage(Item);
        Hidden.Visible = false;
        TSprite& Far = *new TSprite(Engine);
        Far.SetImage(Item);
        Far.SetX(-5000.0f);
        Far.BlendMode = 1;
        Far.IgnoreOffset = true;

        Engine.Draw(); // outside a scene nothing counts
        Note();
        Screen.BeginScene();
        Engine.Draw();
        Note();
        DrawImage(*Item, 10, 10, 45, 0.5f, 0.5f, 2, 2, 255, 0, 0, 128, true, 0, -1);
        Note();
        DrawPattern(*Item, 3, 4, 1);
        Note();
        Screen.SetDestBlend(TBlendFactor::One);
        TVertex Quad[4];
        Screen.DrawQuad(Item->Texture(), Quad);
        Note();
        // With a draw area the position decides whether a sprite makes a quad.
        Engine.DrawAreaX2 = 800;
        Engine.DrawAreaY2 = 600;
        Engine.Draw();
        Note();
        Screen.EndScene();
        return Trace;
    }

    TDevice Device;
    test::TMessageRecorder Messages;
    TScreen Screen;
    TImageList List;
    TSpriteEngine Engine;
    TImageListItem* Item = nullptr;
};

TEST(SpriteDrawOnANullDevice, CountsTheQuadsAndBlendsOfADeviceThatDraws)
{
    // The null device lets the vertices go unworked; what it still sees must match what a
    // device that keeps them sees, step by step.
    TDrawRig<TNullRenderDevice> Null;
    TDrawRig<TRecordingRenderDevice> Recording;
    ASSERT_TRUE(Null.Screen.DrawsNothing());
    ASSERT_FALSE(Recording.Screen.DrawsNothing());
    const std::vector<long> Expected = Recording.DrawScene();
    EXPECT_EQ(Null.DrawScene(), Expected);
    EXPECT_EQ(Expected[0], 0);
    EXPECT_EQ(Expected[3], 3);             // the hidden sprite makes none
    EXPECT_EQ(Recording.Device.FQuads, 8); // the far sprite is clipped by the draw area
    // The recording device still gets worked-out vertices: the last quad is the plain sprite's
    // 8-pixel tile with its half-pixel shift.
    EXPECT_FLOAT_EQ(Recording.Device.LastQuad[1].X - Recording.Device.LastQuad[0].X, 8.5f);
}

} // namespace
} // namespace vm::test
