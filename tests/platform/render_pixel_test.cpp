// Pixel tests of the drawing path on the real offscreen OpenGL renderer.
#include "engine/image_draw.h"
#include "engine/image_list.h"
#include "engine/screen.h"
#include "engine/sprite.h"
#include "engine/sprite_engine.h"
#include "platform/sdl/sdl_video.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

namespace vm {
namespace {

constexpr std::uint32_t Red = 0xFFFF0000u, Green = 0xFF00FF00u, Blue = 0xFF0000FFu, White = 0xFFFFFFFFu;
constexpr std::uint32_t Yellow = 0xFFFFFF00u;

// Two 16 x 16 tiles side by side: tile 0 all yellow; tile 1 in quadrants red, green / blue, white.
TPixels TwoTiles()
{
    TPixels P = test::MakeSolidPixels(32, 16, Yellow);
    for (int Y = 0; Y < 16; ++Y)
        for (int X = 16; X < 32; ++X)
        {
            const bool Right = X >= 24, Bottom = Y >= 8;
            P.Argb[Y * 32 + X] = Bottom ? (Right ? White : Blue) : (Right ? Green : Red);
        }
    return P;
}

class RenderPixelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string Error;
        ASSERT_TRUE(Video.Open(true, Error)) << Error;
        Screen = std::make_unique<TScreen>(Video.Device(), Messages);
        Images = std::make_unique<TImageList>(Screen.get());
        Tiles = AddItem("tiles", TwoTiles(), 16, 16);
        Screen->Initialize();
        Screen->SetLinearFilter(false);
    }
    void TearDown() override
    {
        Images.reset();
        Screen.reset();
    }

    TImageListItem* AddItem(const std::string& Name, const TPixels& Pixels, int TileW, int TileH)
    {
        TImageListItem* Item = Images->ImageList.Add();
        Item->Name = Name;
        TPicture Picture;
        EXPECT_TRUE(Picture.Assign(test::MakePngBytes(Pixels)));
        Item->SetPicture(std::move(Picture));
        Item->SetTileWidth(TileW);
        Item->SetTileHeight(TileH);
        return Item;
    }

    // Clears to a colour, runs Draw inside a scene, reads the picture back.
    template <typename F> void Frame(std::uint8_t R, std::uint8_t G, std::uint8_t B, F Draw)
    {
        Screen->Clear(R, G, B, 255);
        ASSERT_TRUE(Screen->BeginScene());
        Draw();
        int W = 0, H = 0;
        ASSERT_TRUE(Video.Device().ReadPixels(Picture, W, H));
        ASSERT_EQ(W, 800);
        ASSERT_EQ(H, 600);
        Screen->EndScene();
    }

    std::uint32_t At(int X, int Y) const { return Picture[static_cast<std::size_t>(Y) * 800 + X]; }

    static ::testing::AssertionResult Near(std::uint32_t Actual, std::uint32_t Expected, int Tolerance = 4)
    {
        for (int Shift = 0; Shift < 24; Shift += 8)
        {
            const int A = (Actual >> Shift) & 0xFF, E = (Expected >> Shift) & 0xFF;
            if (std::abs(A - E) > Tolerance)
            {
                char Text[64];
                std::snprintf(Text, sizeof Text, "got 0x%06x, want 0x%06x", Actual & 0xFFFFFFu,
                              Expected & 0xFFFFFFu);
                return ::testing::AssertionFailure() << Text;
            }
        }
        return ::testing::AssertionSuccess();
    }

    TQuadParams TileAt(float X, float Y, int Pattern) const
    {
        TQuadParams P;
        P.X1 = X, P.Y1 = Y, P.X2 = X + 16, P.Y2 = Y, P.X3 = X + 16, P.Y3 = Y + 16, P.X4 = X, P.Y4 = Y + 16;
        P.PatternIndex = Pattern;
        return P;
    }

    test::TMessageRecorder Messages;
    TSdlVideo Video;
    std::unique_ptr<TScreen> Screen;
    std::unique_ptr<TImageList> Images;
    TImageListItem* Tiles = nullptr;
    std::vector<std::uint32_t> Picture;
};

TEST_F(RenderPixelTest, PlainTileCoversExactlyItsPixels)
{
    Frame(0, 0, 0, [&] { DrawImageQuad(*Tiles, TileAt(100, 50, 1)); });
    // 16 x 16 pixels from (100, 50): red, green / blue, white quadrants, black around.
    EXPECT_TRUE(Near(At(100, 50), Red));
    EXPECT_TRUE(Near(At(107, 57), Red));
    EXPECT_TRUE(Near(At(108, 50), Green));
    EXPECT_TRUE(Near(At(115, 50), Green));
    EXPECT_TRUE(Near(At(100, 65), Blue));
    EXPECT_TRUE(Near(At(115, 65), White));
    EXPECT_TRUE(Near(At(99, 50), 0));
    EXPECT_TRUE(Near(At(116, 58), 0));
    EXPECT_TRUE(Near(At(108, 49), 0));
    EXPECT_TRUE(Near(At(108, 66), 0));
}

TEST_F(RenderPixelTest, TilesHangingOverEachEdgeDrawTheirVisiblePart)
{
    // Quads wholly beyond an edge are left out; one that reaches into the picture by a pixel is not.
    Frame(0, 0, 0, [&] {
        DrawImageQuad(*Tiles, TileAt(-15, 100, 1)); // its right column at x 0
        DrawImageQuad(*Tiles, TileAt(799, 200, 1)); // its left column at x 799
        DrawImageQuad(*Tiles, TileAt(300, -15, 1)); // its bottom row at y 0
        DrawImageQuad(*Tiles, TileAt(400, 599, 1)); // its top row at y 599
        DrawImageQuad(*Tiles, TileAt(-16, 300, 1)); // wholly outside, touching the left edge
    });
    EXPECT_TRUE(Near(At(0, 100), Green));
    EXPECT_TRUE(Near(At(0, 115), White));
    EXPECT_TRUE(Near(At(799, 200), Red));
    EXPECT_TRUE(Near(At(300, 0), Blue));
    EXPECT_TRUE(Near(At(315, 0), White));
    EXPECT_TRUE(Near(At(400, 599), Red));
    EXPECT_TRUE(Near(At(0, 300), 0));
}

TEST_F(RenderPixelTest, RotatedScaledMirroredTintedPatternLandsWhereTheFormulasPutIt)
{
    TQuadParams P = TileAt(200, 200, 1);
    P.Angle = 90.0f;
    P.RotCenterX = 0.5f;
    P.RotCenterY = 0.5f;
    P.ScaleX = 2.0f;
    P.ScaleY = 2.0f;
    P.MirrorX = true;
    for (std::uint32_t& C : P.Colors)
        C = 0xFF808080u;
    Frame(0, 0, 0, [&] { DrawImageQuad(*Tiles, P); });
    // Centre (208, 208). Mirrored, the tile reads green, red / white, blue. A point (dx, dy)
    // from the centre lands at (-2 dy, 2 dx): the top-left quadrant goes to the top-right.
    const std::uint32_t HalfGreen = 0xFF007F00u, HalfRed = 0xFF7F0000u, HalfWhite = 0xFF7F7F7Fu,
                        HalfBlue = 0xFF00007Fu;
    EXPECT_TRUE(Near(At(216, 200), HalfGreen)); // from (-4, -4)
    EXPECT_TRUE(Near(At(216, 216), HalfRed));   // from (4, -4)
    EXPECT_TRUE(Near(At(200, 200), HalfWhite)); // from (-4, 4)
    EXPECT_TRUE(Near(At(200, 216), HalfBlue));  // from (4, 4)
    // Scaled twice: 32 x 32 around the centre.
    EXPECT_TRUE(Near(At(192, 204), HalfWhite));
    EXPECT_TRUE(Near(At(224, 204), HalfGreen));
    EXPECT_TRUE(Near(At(191, 204), 0));
    EXPECT_TRUE(Near(At(225, 204), 0));
}

TEST_F(RenderPixelTest, ColoursOfTheFourCornersAreModulated)
{
    TImageListItem* Plain = AddItem("white", test::MakeSolidPixels(16, 16, White), 0, 0);
    Images->LoadTextures();
    TQuadParams P = TileAt(300, 300, 0);
    P.Colors[0] = Red;   // top-left
    P.Colors[1] = Green; // top-right
    P.Colors[2] = Blue;  // bottom-left
    P.Colors[3] = White; // bottom-right
    Frame(0, 0, 0, [&] { DrawImageQuad(*Plain, P); });
    EXPECT_TRUE(Near(At(300, 300), Red, 40));
    EXPECT_TRUE(Near(At(315, 300), Green, 40));
    EXPECT_TRUE(Near(At(300, 315), Blue, 40));
    EXPECT_TRUE(Near(At(315, 315), White, 40));
}

TEST_F(RenderPixelTest, WholeImageAndPatternsBeyondTheLast)
{
    Frame(0, 0, 0, [&] {
        DrawImageQuad(*Tiles, TileAt(100, 100, -1)); // whole image squeezed into one tile
        DrawImageQuad(*Tiles, TileAt(140, 100, 5));  // clamps to pattern 1
        DrawImageQuad(*Tiles, TileAt(180, 100, 0));
    });
    EXPECT_TRUE(Near(At(102, 104), Yellow)); // left half: tile 0
    EXPECT_TRUE(Near(At(110, 102), Red));    // third quarter: tile 1's left column
    EXPECT_TRUE(Near(At(114, 102), Green));  // last quarter
    EXPECT_TRUE(Near(At(142, 102), Red));
    EXPECT_TRUE(Near(At(154, 113), White));
    EXPECT_TRUE(Near(At(188, 108), Yellow));
}

TEST_F(RenderPixelTest, ScaleZeroIsDrawnAsOne)
{
    TQuadParams P = TileAt(400, 100, 1);
    P.ScaleX = 0.0f;
    P.ScaleY = 0.0f;
    P.RotCenterX = 0.5f;
    P.RotCenterY = 0.5f;
    Frame(0, 0, 0, [&] { DrawImageQuad(*Tiles, P); });
    EXPECT_TRUE(Near(At(400, 100), Red));
    EXPECT_TRUE(Near(At(415, 115), White));
    EXPECT_TRUE(Near(At(399, 108), 0));
    EXPECT_TRUE(Near(At(416, 108), 0));
}

TEST_F(RenderPixelTest, BlendModes)
{
    // Source: orange at half alpha over a blue-grey background.
    TImageListItem* Half = AddItem("half", test::MakeSolidPixels(16, 16, 0x80FF8000u), 0, 0);
    Images->LoadTextures();
    const double Sr = 255, Sg = 128, Sb = 0, Sa = 128 / 255.0 * 254 / 255.0; // vertex alpha 254
    const double Dr = 64, Dg = 128, Db = 192;
    auto Expect = [](double R, double G, double B) {
        auto C = [](double V) { return static_cast<std::uint32_t>(std::lround(std::clamp(V, 0.0, 255.0))); };
        return 0xFF000000u | (C(R) << 16) | (C(G) << 8) | C(B);
    };
    // Vertex colours are 254 after the global colour, so the source is 254/255 of the texel.
    const double K = 254 / 255.0;
    struct TCase
    {
        int Mode;
        std::uint32_t Want;
    } Cases[] = {
        {0, Expect(Sr * K * Sa + Dr * (1 - Sa), Sg * K * Sa + Dg * (1 - Sa), Sb * K * Sa + Db * (1 - Sa))},
        {1, Expect(Sr * K + Dr, Sg * K + Dg, Sb * K + Db)},
        {2, Expect(Sr * K * Sa + Dr, Sg * K * Sa + Dg, Sb * K * Sa + Db)},
        {5, Expect(Dr * Sr * K / 255, Dg * Sg * K / 255, Db * Sb * K / 255)},
    };
    for (const TCase& Case : Cases)
    {
        TQuadParams P = TileAt(500, 500, 0);
        P.BlendMode = Case.Mode;
        Frame(64, 128, 192, [&] { DrawImageQuad(*Half, P); });
        EXPECT_TRUE(Near(At(508, 508), Case.Want)) << "blend mode " << Case.Mode;
        EXPECT_TRUE(Near(At(490, 508), Expect(Dr, Dg, Db))) << "outside, mode " << Case.Mode;
    }
}

TEST_F(RenderPixelTest, GlobalColourOfFullWhiteDarkensTo254)
{
    TImageListItem* Plain = AddItem("white", test::MakeSolidPixels(16, 16, White), 0, 0);
    Images->LoadTextures();
    TQuadParams P = TileAt(10, 10, 0);
    P.BlendMode = 1; // one, one: the vertex colour lands as it is on black
    Frame(0, 0, 0, [&] { DrawImageQuad(*Plain, P); });
    EXPECT_EQ(At(18, 18) & 0xFFFFFF, 0xFEFEFEu);
}

TEST_F(RenderPixelTest, AdditiveDrawImageKeepsDestinationOneForLaterQuads)
{
    TImageListItem* Half = AddItem("half", test::MakeSolidPixels(16, 16, 0x80FF8000u), 0, 0);
    Images->LoadTextures();
    Frame(64, 128, 192, [&] {
        DrawImage(*Half, 20, 20, 0, 0, 0, 1, 1, 255, 255, 255, 255, true, 0, 0);
        // Mode 0 is current, so this quad keeps the additive destination factor.
        DrawImageQuad(*Half, TileAt(60, 20, 0));
    });
    EXPECT_TRUE(Near(At(28, 28), At(68, 28), 1));
    EXPECT_GT((At(28, 28) >> 8) & 0xFF, 128u + 40); // green grew: added, not mixed
}

TEST_F(RenderPixelTest, TexturesAreMadeAgainAfterADeviceReset)
{
    const TTextureId Before = Tiles->Texture();
    Video.Device().ForgetTextures(); // what a lost device leaves behind
    Screen->Reset();
    EXPECT_NE(Tiles->Texture(), 0u);
    EXPECT_NE(Tiles->Texture(), Before);
    Frame(0, 0, 0, [&] { DrawImageQuad(*Tiles, TileAt(100, 50, 1)); });
    EXPECT_TRUE(Near(At(100, 50), Red));
    EXPECT_TRUE(Near(At(115, 65), White));
}

TEST_F(RenderPixelTest, OffscreenPresentSubmitsTheFrame)
{
    // The offscreen window's swap submits nothing; without the flush the driver keeps every
    // frame's work, and a long run's memory grows without end.
    EXPECT_TRUE(Video.Device().FlushesAfterPresent());
    Frame(0, 0, 0, [&] { DrawImageQuad(*Tiles, TileAt(100, 50, 1)); });
    Frame(0, 0, 0, [&] { DrawImageQuad(*Tiles, TileAt(300, 50, 1)); });
    EXPECT_TRUE(Near(At(300, 50), Red));
    EXPECT_TRUE(Near(At(100, 50), 0)); // the frame before was cleared away
}

TEST_F(RenderPixelTest, SpriteDrawsItsPatternMirroredAtItsPosition)
{
    TSpriteEngine Engine(&Messages);
    auto* Sprite = new TSprite(Engine);
    Sprite->SetImage(Tiles);
    Sprite->SetPatternIndex(1);
    Sprite->SetX(600.4f);
    Sprite->SetY(400.6f); // rounds to (600, 401)
    Sprite->MirrorY = true;
    Frame(0, 0, 0, [&] { Engine.Draw(); });
    EXPECT_TRUE(Near(At(600, 401), Blue));
    EXPECT_TRUE(Near(At(615, 416), Green));
    EXPECT_TRUE(Near(At(600, 400), 0));
    EXPECT_TRUE(Messages.Messages.empty());
}

// ---- padded textures made from their content alone ------------------------------------------

// Passes every call on to the real device but makes each padded texture whole, zeros and all,
// through the plain CreateTexture: the pictures every texture gave before the device uploaded
// only the content.
class TWholeTextureDevice : public IRenderDevice
{
public:
    explicit TWholeTextureDevice(IRenderDevice& Real) : FReal(Real) {}
    bool IsReady() override { return FReal.IsReady(); }
    TTextureId CreateTexture(int W, int H, const std::uint32_t* Argb) override
    {
        return FReal.CreateTexture(W, H, Argb);
    }
    TTextureId CreatePaddedTexture(int W, int H, const TTexelRect& Content) override
    {
        return IRenderDevice::CreatePaddedTexture(W, H, Content);
    }
    void ReleaseTexture(TTextureId Texture) override { FReal.ReleaseTexture(Texture); }
    void SetLinearFilter(bool On) override { FReal.SetLinearFilter(On); }
    void SetBlend(TBlendFactor Source, TBlendFactor Dest) override { FReal.SetBlend(Source, Dest); }
    void DrawQuad(TTextureId Texture, const TVertex (&Quad)[4]) override { FReal.DrawQuad(Texture, Quad); }
    void Clear(std::uint8_t R, std::uint8_t G, std::uint8_t B, std::uint8_t A) override
    {
        FReal.Clear(R, G, B, A);
    }
    void Present() override { FReal.Present(); }
    bool ReadPixels(std::vector<std::uint32_t>& Argb, int& W, int& H) override
    {
        return FReal.ReadPixels(Argb, W, H);
    }
    void SetFullScreen(bool) override {}
    void ShowSystemCursor(bool) override {}

private:
    IRenderDevice& FReal;
};

// The same pictures drawn from textures made from their content (the device's own way) and from
// whole padded textures must give the same pixels, bit for bit.
class PaddedTextureTest : public ::testing::Test
{
protected:
    struct TCase
    {
        int Width, Height, TileWidth, TileHeight;
        bool ColourKey;
    };

    void SetUp() override
    {
        std::string Error;
        ASSERT_TRUE(Video.Open(true, Error)) << Error;
        Whole = std::make_unique<TWholeTextureDevice>(Video.Device());
        ContentScreen = std::make_unique<TScreen>(Video.Device(), Messages);
        WholeScreen = std::make_unique<TScreen>(*Whole, Messages);
        ContentImages = std::make_unique<TImageList>(ContentScreen.get());
        WholeImages = std::make_unique<TImageList>(WholeScreen.get());
        // Content smaller than the texture by many texels, by one (no zero column fits), by none
        // (a power of two), and tiles that leave a rest of the picture unused.
        const TCase Cases[] = {{37, 21, 12, 7, false}, {31, 15, 0, 0, false},  {100, 60, 25, 20, true},
                               {16, 16, 8, 8, false},  {130, 3, 26, 3, false}, {5, 70, 5, 14, true}};
        std::uint32_t Seed = 1;
        for (const TCase& Case : Cases)
        {
            // Every texel differs from its neighbours, with varied alpha, so that any texel read
            // from the wrong place or mixed with other weights shows.
            TPixels Pixels = test::MakeTestPixels(Case.Width, Case.Height, Seed++, true);
            if (Case.ColourKey)
                for (std::size_t I = 0; I < Pixels.Argb.size(); I += 3)
                    Pixels.Argb[I] = 0xFFFF00FFu;
            for (TImageList* List : {ContentImages.get(), WholeImages.get()})
            {
                TImageListItem* Item = List->ImageList.Add();
                Item->Name = "case" + std::to_string(Seed);
                TPicture Picture;
                ASSERT_TRUE(Picture.Assign(test::MakePngBytes(Pixels)));
                Item->SetPicture(std::move(Picture));
                Item->SetTileWidth(Case.TileWidth);
                Item->SetTileHeight(Case.TileHeight);
                Item->Transparent = Case.ColourKey;
                Item->TransparentColor = 0x00FF00FFu;
            }
        }
        ASSERT_TRUE(ContentScreen->Initialize());
        ASSERT_TRUE(WholeScreen->Initialize());
    }
    void TearDown() override
    {
        ContentImages.reset();
        WholeImages.reset();
        ContentScreen.reset();
        WholeScreen.reset();
    }

    // Draws with Draw(list, screen) on a grey-blue background and reads the picture back.
    template <typename F> std::vector<std::uint32_t> Frame(TImageList& List, TScreen& Screen, F Draw)
    {
        std::vector<std::uint32_t> Picture;
        Screen.Clear(40, 60, 90, 255);
        EXPECT_TRUE(Screen.BeginScene());
        Draw(List, Screen);
        int W = 0, H = 0;
        EXPECT_TRUE(Video.Device().ReadPixels(Picture, W, H));
        EXPECT_EQ(W * H, 800 * 600);
        Screen.EndScene();
        return Picture;
    }

    // Both ways, with nearest and with linear filtering; the pictures must be equal.
    template <typename F> void ExpectSamePictures(const char* What, F Draw)
    {
        for (const bool Linear : {false, true})
        {
            ContentScreen->SetLinearFilter(Linear);
            const std::vector<std::uint32_t> Content = Frame(*ContentImages, *ContentScreen, Draw);
            const std::vector<std::uint32_t> Padded = Frame(*WholeImages, *WholeScreen, Draw);
            ASSERT_EQ(Content.size(), Padded.size());
            int Differ = 0;
            std::ostringstream First;
            for (std::size_t I = 0; I < Content.size(); ++I)
                if (Content[I] != Padded[I] && ++Differ <= 5)
                    First << " (" << I % 800 << "," << I / 800 << ") " << std::hex << Content[I] << " vs "
                          << Padded[I] << std::dec;
            EXPECT_EQ(Differ, 0) << What << (Linear ? ", linear" : ", nearest") << ":" << First.str();
            // Something was drawn at all.
            EXPECT_NE(std::count(Content.begin(), Content.end(), Content[0]), std::ptrdiff_t(Content.size()))
                << What;
        }
    }

    test::TMessageRecorder Messages;
    TSdlVideo Video;
    std::unique_ptr<TWholeTextureDevice> Whole;
    std::unique_ptr<TScreen> ContentScreen, WholeScreen;
    std::unique_ptr<TImageList> ContentImages, WholeImages;
};

TEST_F(PaddedTextureTest, TilesScaledRotatedAndMirroredLandOnTheSameTexels)
{
    const float Scales[] = {1.0f, 0.5f, 0.75f, 1.5f, 2.0f, 3.3f};
    const float Angles[] = {0.0f, 90.0f, 180.0f, 33.3f, 271.0f};
    ExpectSamePictures("tiles", [&](TImageList& List, TScreen&) {
        int Slot = 0;
        for (int I = 0; I < List.ImageList.Count(); ++I)
        {
            const TImageListItem& Item = *List.ImageList.Items(I);
            const int Last = Item.Columns() * Item.Rows() - 1;
            for (const int Pattern : {-1, 0, Last, Last + 3})
                for (const float Scale : Scales)
                    for (const float Angle : Angles)
                    {
                        TQuadParams P;
                        const float X = 20.0f + (Slot % 24) * 32.0f + (Slot % 3) * 0.3f;
                        const float Y = 20.0f + (Slot / 24 % 18) * 32.0f + (Slot % 5) * 0.25f;
                        const float W = static_cast<float>(Pattern == -1 ? Item.Width() : Item.TileWidth());
                        const float H = static_cast<float>(Pattern == -1 ? Item.Height() : Item.TileHeight());
                        P.X1 = X, P.Y1 = Y, P.X2 = X + W, P.Y2 = Y, P.X3 = X + W, P.Y3 = Y + H, P.X4 = X,
                        P.Y4 = Y + H;
                        P.PatternIndex = Pattern;
                        P.ScaleX = Scale;
                        P.ScaleY = Slot % 2 == 0 ? Scale : Scale * 0.8f;
                        P.Angle = Angle;
                        P.RotCenterX = 0.5f;
                        P.RotCenterY = Slot % 4 == 0 ? 0.0f : 0.5f;
                        P.MirrorX = Slot % 2 == 1;
                        P.MirrorY = Slot % 3 == 1;
                        P.Colors[Slot % 4] = 0xC080FF40u;
                        DrawImageQuad(Item, P);
                        ++Slot;
                    }
        }
    });
}

TEST_F(PaddedTextureTest, TheEdgesAndTheZerosPastThemReadAsBefore)
{
    // Quads straight to the device, magnified, from inside the picture to just past the column and
    // row of zeros after its repeated last column and row: what filtering reads there.
    ExpectSamePictures("edges", [&](TImageList& List, TScreen& Screen) {
        int Slot = 0;
        for (int I = 0; I < List.ImageList.Count(); ++I)
        {
            const TImageListItem& Item = *List.ImageList.Items(I);
            const float TexW = static_cast<float>(Item.TextureWidth());
            const float TexH = static_cast<float>(Item.TextureHeight());
            const float EndU = std::min(Item.Width() + 2.0f, TexW) / TexW;
            const float EndV = std::min(Item.Height() + 2.0f, TexH) / TexH;
            const float FromU[] = {0.0f, std::max(Item.Width() - 3.0f, 0.0f) / TexW, EndU * 0.5f};
            const float FromV[] = {0.0f, std::max(Item.Height() - 3.0f, 0.0f) / TexH, EndV * 0.5f};
            for (const float U0 : FromU)
                for (const float V0 : FromV)
                {
                    const float X = 10.0f + (Slot % 8) * 98.0f + (Slot % 3) * 0.4f;
                    const float Y = 10.0f + (Slot / 8 % 6) * 98.0f;
                    const float Size = 40.0f + (Slot % 7) * 9.0f;
                    TVertex Quad[4];
                    Quad[0] = TVertex{X, Y, 0xFFFFFFFFu, U0, V0};
                    Quad[1] = TVertex{X + Size, Y + 3.0f, 0xFFFFFFFFu, EndU, V0};
                    Quad[2] = TVertex{X + Size - 2.0f, Y + Size, 0xFFFFFFFFu, EndU, EndV};
                    Quad[3] = TVertex{X, Y + Size * 0.9f, 0xFFFFFFFFu, U0, EndV};
                    Screen.DrawQuad(Item.Texture(), Quad);
                    ++Slot;
                }
        }
    });
}

} // namespace
} // namespace vm
