// The menu pages' decoration sprites with the game's menu pictures: the blinking lights, the
// profile list's selection bar and the mouse pointer.
#include "assetgen/asset_test_support.h"
#include "engine/image_list.h"
#include "engine/random.h"
#include "engine/sprite_engine.h"
#include "pages/choose_line.h"
#include "shell/cursor.h"
#include "shell/menu_light.h"
#include "state/game_state.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace vm {
namespace {

class MenuSpritesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(MenuImages.LoadFromFile(::test::AssetPath("Data/data1.vil"), &Messages));
    }

    void ExpectPicture(const TSprite& Sprite, const char* Key)
    {
        const TImageListItem* Item = MenuImages.Find(Key);
        ASSERT_NE(Item, nullptr) << "no picture " << Key;
        EXPECT_EQ(Sprite.Image(), Item) << Key;
        EXPECT_EQ(Sprite.Width(), Item->TileWidth()) << Key;
        EXPECT_EQ(Sprite.Height(), Item->TileHeight()) << Key;
    }

    test::TMessageRecorder Messages;
    TImageList MenuImages{nullptr};
    TRandom Rng{31};
    TGameState State;
    TSpriteEngine Engine{&Messages};
};

TEST_F(MenuSpritesTest, TheLightsWaitFadeInFadeOutAndStartOver)
{
    auto* Far = new TLight(Engine, MenuImages, Rng, 376, 353, 0);
    auto* Near = new TLight(Engine, MenuImages, Rng, 403, 370, 1);
    ExpectPicture(*Far, "light1");
    ExpectPicture(*Near, "light2");
    EXPECT_EQ(Far->Name(), "light");
    EXPECT_EQ(Far->Z(), 149);
    EXPECT_FLOAT_EQ(Near->X(), 403);
    EXPECT_FLOAT_EQ(Near->Y(), 370);

    for (TLight* Light : {Far, Near})
    {
        const int Wait = Light->Wait();
        ASSERT_GE(Wait, 200);
        ASSERT_LE(Wait, 399);
        std::vector<int> Alphas;
        for (int Frame = 0; Frame < 2 * (Wait + 510) + 5; ++Frame)
        {
            Light->Move(1);
            Alphas.push_back(Light->Alpha());
        }
        // Dark for its wait, then one step a frame up to full and down to dark again.
        EXPECT_EQ(*std::max_element(Alphas.begin(), Alphas.begin() + Wait), 0);
        EXPECT_EQ(Alphas[Wait], 1);
        EXPECT_EQ(Alphas[Wait + 254], 255);
        EXPECT_EQ(Alphas[Wait + 255], 254);
        EXPECT_EQ(Alphas[Wait + 509], 0);
        EXPECT_EQ(*std::max_element(Alphas.begin(), Alphas.end()), 255);
        // The cycle repeats with the same wait.
        for (int Frame = 0; Frame < Wait + 510; ++Frame)
            ASSERT_EQ(Alphas[Frame + Wait + 510], Alphas[Frame]) << "frame " << Frame;
    }
}

TEST_F(MenuSpritesTest, TheSelectionBarFollowsTheRowAndPulses)
{
    int Row = 3;
    auto* Bar = new TChooseLine(Engine, MenuImages, Rng, 248, 246, &Row);
    ExpectPicture(*Bar, "chooseline");
    EXPECT_EQ(Bar->Z(), 610);
    EXPECT_GE(Bar->Alpha(), 100);
    EXPECT_LE(Bar->Alpha(), 199);

    Bar->Move(1);
    EXPECT_FLOAT_EQ(Bar->Y(), 246 + 16 * 3);
    EXPECT_FLOAT_EQ(Bar->X(), 248);
    Row = 0;
    Bar->Move(1);
    EXPECT_FLOAT_EQ(Bar->Y(), 246);
    Row = -1; // no profile selected
    Bar->Move(1);
    EXPECT_FLOAT_EQ(Bar->Y(), 246);

    // From 100 it climbs 5 a frame to 250, holds one frame while turning, and falls back to 100.
    Bar->SetAlpha(100);
    std::vector<int> Alphas;
    for (int Frame = 0; Frame < 70; ++Frame)
    {
        Bar->Move(1);
        Alphas.push_back(Bar->Alpha());
    }
    EXPECT_EQ(Alphas[0], 105);
    EXPECT_EQ(Alphas[29], 250);
    EXPECT_EQ(Alphas[30], 250) << "the turning frame leaves the alpha";
    EXPECT_EQ(Alphas[31], 245);
    EXPECT_EQ(Alphas[59], 105);
    EXPECT_EQ(Alphas[60], 100);
    EXPECT_EQ(Alphas[61], 100) << "the turning frame leaves the alpha";
    EXPECT_EQ(Alphas[62], 105);

    // Whatever alpha it starts from, the pulse stays visible and never saturates.
    for (int Start = 100; Start < 200; Start += 7)
    {
        Bar->SetAlpha(Start);
        for (int Frame = 0; Frame < 100; ++Frame)
        {
            Bar->Move(1);
            ASSERT_GE(Bar->Alpha(), 95);
            ASSERT_LE(Bar->Alpha(), 254);
        }
    }

    // Without a row to follow it stays on the first.
    auto* Lone = new TChooseLine(Engine, MenuImages, Rng, 248, 246, nullptr);
    Lone->Move(1);
    EXPECT_FLOAT_EQ(Lone->Y(), 246);
}

TEST_F(MenuSpritesTest, ThePointerAnimatesAndFollowsTheMouse)
{
    State.MouseX = 120;
    State.MouseY = 80;
    auto* Cursor = new TCursor(Engine, MenuImages, State);
    ExpectPicture(*Cursor, "mousecursor");
    EXPECT_EQ(Cursor->Name(), "cursor");
    EXPECT_EQ(Cursor->Z(), 90000);
    EXPECT_TRUE(Cursor->Collide);
    EXPECT_TRUE(Cursor->PixelCheck);
    EXPECT_FLOAT_EQ(Cursor->X(), 120);
    EXPECT_FLOAT_EQ(Cursor->Y(), 80);

    // A new pattern every tenth frame, through all eight and round again.
    std::vector<int> Changes;
    int Last = Cursor->PatternIndex();
    EXPECT_EQ(Last, 0);
    for (int Frame = 1; Frame <= 90; ++Frame)
    {
        Cursor->Move(1);
        if (Cursor->PatternIndex() != Last)
        {
            EXPECT_EQ(Cursor->PatternIndex(), (Last + 1) % 8) << "frame " << Frame;
            Changes.push_back(Frame);
            Last = Cursor->PatternIndex();
        }
    }
    EXPECT_EQ(Changes, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90}));
    EXPECT_EQ(Cursor->PatternIndex(), 1);

    // It stands where the mouse is, 10 pixels lower in full screen.
    State.MouseX = 640;
    State.MouseY = 410;
    Engine.Move(1);
    EXPECT_FLOAT_EQ(Cursor->X(), 640);
    EXPECT_FLOAT_EQ(Cursor->Y(), 410);
    Cursor->FullScreen = true;
    Engine.Move(1);
    EXPECT_FLOAT_EQ(Cursor->X(), 640);
    EXPECT_FLOAT_EQ(Cursor->Y(), 420);
}

} // namespace
} // namespace vm
