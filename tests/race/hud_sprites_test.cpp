// The race HUD's sprites and the cars' indicator sprites over a real race with the game's pictures:
// pictures and places, the damage bar, the speedometer needle, the reverse lamp, the start arrows,
// the progress markers and the tyre smoke.
#include "assetgen/asset_test_support.h"
#include "engine/image_list.h"
#include "engine/screen.h"
#include "race/health_bar.h"
#include "race/hud_panel.h"
#include "race/radar_arrow.h"
#include "race/speed_arrow.h"
#include "race/start_arrows.h"
#include "support/test_race.h"
#include "support/test_support.h"
#include "world/car_shadow.h"
#include "world/radar_car.h"
#include "world/road_part.h"
#include "world/tyre_smoke.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

namespace vm {
namespace {

class HudTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Screen.Initialize());
        ASSERT_TRUE(GameImages.LoadFromFile(::test::AssetPath("Data/data2.vil"), &Messages));
        ASSERT_TRUE(MenuImages.LoadFromFile(::test::AssetPath("Data/data1.vil"), &Messages));
        Race =
            std::make_unique<::test::TTestRace>(GameImages, MenuImages, ::test::TTestRaceOptions{.Seed = 5});
    }

    // Every live sprite of class T.
    template <class T> std::vector<T*> All() const
    {
        std::vector<T*> Result;
        for (int I = 0; I < Race->Engine.Count(); ++I)
            if (auto* Sprite = dynamic_cast<T*>(Race->Engine.Sprites(I)); Sprite && !Sprite->IsDead())
                Result.push_back(Sprite);
        return Result;
    }

    TRaceWorld& World() { return Race->World; }
    TPlayer& Player() { return *Race->Player; }

    test::TMessageRecorder Messages;
    test::TRecordingRenderDevice Device;
    TScreen Screen{Device, Messages};
    TImageList GameImages{&Screen};
    TImageList MenuImages{&Screen};
    std::unique_ptr<::test::TTestRace> Race;
};

// Checks that a sprite took the picture of Key from List, with its tile size.
void ExpectPicture(const TSprite& Sprite, const TImageList& List, const char* Key)
{
    const TImageListItem* Item = List.Find(Key);
    ASSERT_NE(Item, nullptr) << "no picture " << Key;
    EXPECT_EQ(Sprite.Image(), Item) << Key;
    EXPECT_EQ(Sprite.Width(), Item->TileWidth()) << Key;
    EXPECT_EQ(Sprite.Height(), Item->TileHeight()) << Key;
}

TEST_F(HudTest, EverySpriteTakesItsPictureLayerAndPlace)
{
    auto* Dashboard = new TPanel(World(), 541, 0, 0);
    auto* Radar = new TPanel(World(), 0, 180, 1);
    auto* Bar = new TBar(World(), 750, 240);
    auto* Needle = new TSpeedArrow(World(), 716, 472, 10, -2);
    auto* Lamp = new TRadarArrow(World(), 704, 526);
    auto* Arrows = new TBegArrows(World(), 397, 423);
    auto* Rival = new TRadarCar(World(), 26, 500, rmOpponent);
    auto* Puff = new TDim(World(), 300, 200, false);
    auto* MenuPuff = new TDim(World(), 300, 200, true);

    ExpectPicture(*Dashboard, GameImages, "razzler");
    ExpectPicture(*Radar, GameImages, "radar");
    ExpectPicture(*Bar, GameImages, "healthbar");
    ExpectPicture(*Needle, GameImages, "speedarrow");
    ExpectPicture(*Lamp, GameImages, "backlight");
    ExpectPicture(*Arrows, GameImages, "begarrows");
    ExpectPicture(*Rival, GameImages, "radarcar2");
    ASSERT_NE(Player().FRadarMark, nullptr);
    ExpectPicture(*Player().FRadarMark, GameImages, "radarcar1");
    ExpectPicture(*Puff, GameImages, "dim");
    ExpectPicture(*MenuPuff, MenuImages, "dim");

    EXPECT_EQ(Radar->Kind(), 1);
    // Layers: the gauges and markers over the panels, the player's marker over the rivals', the
    // start arrows over all; smoke between the cars' shadows and the cars.
    EXPECT_LT(Dashboard->Z(), Rival->Z());
    EXPECT_LT(Rival->Z(), Player().FRadarMark->Z());
    EXPECT_LT(Player().FRadarMark->Z(), Bar->Z());
    EXPECT_LT(std::max({Bar->Z(), Needle->Z(), Lamp->Z()}), Arrows->Z());
    EXPECT_LT(Player().FShadow->Z(), Puff->Z());
    EXPECT_LT(Puff->Z(), Player().Z());

    // Top-left placements.
    EXPECT_FLOAT_EQ(Dashboard->X(), 541);
    EXPECT_FLOAT_EQ(Radar->Y(), 180);
    EXPECT_FLOAT_EQ(Bar->X(), 750);
    EXPECT_FLOAT_EQ(Bar->Y(), 240);
    // Centred ones.
    EXPECT_FLOAT_EQ(Lamp->CenterX(), 704);
    EXPECT_FLOAT_EQ(Lamp->CenterY(), 526);
    EXPECT_FLOAT_EQ(Arrows->CenterX(), 397);
    EXPECT_FLOAT_EQ(Arrows->CenterY(), 423);
    EXPECT_FLOAT_EQ(Player().FRadarMark->CenterX(), 27);
    EXPECT_FLOAT_EQ(Player().FRadarMark->CenterY(), 500);
    EXPECT_FLOAT_EQ(Puff->CenterX(), 300);
    // The needle's pivot lies on the dial's centre.
    EXPECT_FLOAT_EQ(Needle->X() + 0.5f * Needle->Width(), 716);
    EXPECT_NEAR(Needle->Y() + 0.9 * Needle->Height(), 472, 1e-4);

    EXPECT_TRUE(Puff->Visible);
    EXPECT_FALSE(MenuPuff->Visible) << "puffs of the menu pictures stay hidden";
    EXPECT_FALSE(Lamp->Visible) << "the lamp starts dark";
}

TEST_F(HudTest, TheDamageBarShowsMoreRowsAsHealthFallsAndIsRestored)
{
    TImageListItem* Item = GameImages.Find("healthbar");
    ASSERT_NE(Item, nullptr);
    const int Full = Item->TileHeight();
    ASSERT_GT(Full, 20);
    auto* Bar = new TBar(World(), 750, 240);
    EXPECT_EQ(Bar->FullHeight(), Full);

    // Full health: one row; none left: every row.
    Player().Health = 100;
    Bar->Move(1);
    EXPECT_EQ(Item->TileHeight(), 1);
    Player().Health = 0;
    Bar->Move(1);
    EXPECT_EQ(Item->TileHeight(), Full);
    Player().Health = 50;
    Bar->Move(1);
    EXPECT_EQ(Item->TileHeight(), static_cast<int>(std::lround(0.5 * (Full - 1) + 1)));

    // The bar is drawn from the top of the picture, only the rows shown.
    ASSERT_TRUE(Item->CreateTexture());
    ASSERT_TRUE(Screen.BeginScene());
    Bar->Draw();
    Screen.EndScene();
    // (The top edge carries the screen's half-pixel shift.)
    const TVertex* Quad = Device.LastQuad;
    EXPECT_NEAR(Quad[3].Y - Quad[0].Y, Item->TileHeight() + 0.5, 1e-3);
    EXPECT_NEAR(Quad[0].Y, 240, 0.5);
    EXPECT_FLOAT_EQ(Quad[0].V, 0);
    EXPECT_NEAR(Quad[3].V * Item->TextureHeight(), Item->TileHeight(), 1e-3);

    // The teardown gives the picture its height back.
    Bar->RestoreImageHeight();
    EXPECT_EQ(Item->TileHeight(), Full);

    // Without a player the bar is left alone.
    Player().Health = 100;
    World().FPlayer = nullptr;
    Bar->Move(1);
    EXPECT_EQ(Item->TileHeight(), Full);
    World().FPlayer = Race->Player;
}

TEST_F(HudTest, AHundredAndOneRowBarAtHalfHealthShowsFiftyOneRows)
{
    TImageListItem* Item = GameImages.Find("healthbar");
    ASSERT_NE(Item, nullptr);
    TPicture Picture;
    ASSERT_TRUE(Picture.AssignPixels(test::MakeSolidPixels(20, 101, 0xFFCC2020u)));
    Item->SetPicture(Picture);

    // A bar an earlier race left short (its teardown missed) still starts whole.
    Item->SetTileHeight(7);
    auto* Bar = new TBar(World(), 750, 240);
    EXPECT_EQ(Bar->FullHeight(), 101);
    EXPECT_EQ(Bar->Height(), 101);
    EXPECT_EQ(Item->TileHeight(), 101);

    Player().Health = 50;
    Bar->Move(1);
    EXPECT_EQ(Item->TileHeight(), 51);
    Player().Health = 1;
    Bar->Move(1);
    EXPECT_EQ(Item->TileHeight(), 100);
    // Out-of-range health never leaves the picture.
    Player().Health = -20;
    Bar->Move(1);
    EXPECT_EQ(Item->TileHeight(), 101);
    Player().Health = 140;
    Bar->Move(1);
    EXPECT_EQ(Item->TileHeight(), 1);
}

TEST_F(HudTest, TheNeedleTurnsWithSpeedAndStopsAtOnePointThreeSixFullScales)
{
    auto* Needle = new TSpeedArrow(World(), 716, 472, 10, -2);
    EXPECT_FLOAT_EQ(Needle->Angle, -315);
    auto AngleAt = [&](double Speed) {
        Player().FSpeed = Speed;
        Needle->Move(1);
        return static_cast<double>(Needle->Angle);
    };
    EXPECT_NEAR(AngleAt(0), -495, 1e-4);
    EXPECT_NEAR(AngleAt(5), -495 + 98.5, 1e-4);
    EXPECT_NEAR(AngleAt(10), -495 + 197, 1e-4);
    EXPECT_NEAR(AngleAt(13.6), -227.08, 1e-4);
    EXPECT_NEAR(AngleAt(13.5), -495 + 1.35 * 197, 1e-4);
    EXPECT_NEAR(AngleAt(40), -227.08, 1e-4);
    // Reverse against the reverse limit: the needle turns the same way.
    EXPECT_NEAR(AngleAt(-1), -495 + 98.5, 1e-4);
    EXPECT_NEAR(AngleAt(-2), -495 + 197, 1e-4);
    EXPECT_NEAR(AngleAt(-9), -227.08, 1e-4);

    // A car without stats (full scales 0) leaves the needle at rest instead of turning it to NaN.
    auto* Broken = new TSpeedArrow(World(), 716, 472, 0, 0);
    Player().FSpeed = 3;
    Broken->Move(1);
    EXPECT_NEAR(Broken->Angle, -495, 1e-4);
    Player().FSpeed = -3;
    Broken->Move(1);
    EXPECT_NEAR(Broken->Angle, -495, 1e-4);
}

TEST_F(HudTest, TheReverseLampLightsWhileTheCarBacksUp)
{
    auto* Lamp = new TRadarArrow(World(), 704, 526);
    // Standing: dark.
    Race->Frame(false);
    EXPECT_FALSE(Lamp->Visible);
    // Holding the brake from standstill backs the car up: lit.
    Race->State.KeyHeld[vkDown] = 1;
    for (int Frame = 0; Frame < 30; ++Frame)
        Race->Frame(false);
    ASSERT_LT(Player().FSpeed, 0);
    EXPECT_TRUE(Lamp->Visible);
    // Still lit however slowly it backs; dark at standstill and going forward.
    Player().FSpeed = -0.001;
    Lamp->Move(1);
    EXPECT_TRUE(Lamp->Visible);
    Player().FSpeed = 0;
    Lamp->Move(1);
    EXPECT_FALSE(Lamp->Visible);
    Player().FSpeed = 4;
    Lamp->Move(1);
    EXPECT_FALSE(Lamp->Visible);
}

TEST_F(HudTest, TheStartArrowsTurnADegreeAFrame)
{
    auto* Arrows = new TBegArrows(World(), 397, 423);
    for (int Frame = 0; Frame < 90; ++Frame)
        Race->Frame(false);
    EXPECT_FLOAT_EQ(Arrows->Angle, 90);
    EXPECT_FLOAT_EQ(Arrows->CenterX(), 397) << "it turns in place";
}

TEST_F(HudTest, ThePlayersMarkerClimbsTheStripAndStopsNearTheTop)
{
    TSprite* Mark = Player().FRadarMark;
    ASSERT_NE(Mark, nullptr);
    const int Reference = World().FCheckpointCount - 10;
    ASSERT_GE(Reference, 1);
    const double Distance = World().FCheckpointDistance[static_cast<std::size_t>(Reference)];

    for (int Frame = 0; Frame < 400; ++Frame)
        Race->Frame();
    // The marker's top sits as far up the strip from 415 as the car is along the course.
    ASSERT_GT(Player().FProgress, 0);
    EXPECT_NEAR(Mark->Y(), 415 - Player().FProgress / Distance * 170, 1e-3);
    EXPECT_LT(Mark->Y(), 415);
    EXPECT_FLOAT_EQ(Mark->CenterX(), 27) << "it climbs straight up";

    // At 250 or above it is left where it is; just below, it is moved again.
    Mark->SetY(250);
    Race->Frame();
    EXPECT_FLOAT_EQ(Mark->Y(), 250);
    Mark->SetY(250.5f);
    Race->Frame();
    EXPECT_NEAR(Mark->Y(), 415 - Player().FProgress / Distance * 170, 1e-3);

    // The marker ends with its car.
    Player().Dead();
    EXPECT_TRUE(Mark->IsDead());
}

TEST_F(HudTest, EachOpponentGetsAMarkerNearTheStripsFoot)
{
    ::test::TTestRace Field(GameImages, MenuImages, {.Seed = 9, .Opponents = 6, .PlayerSlot = 7});
    for (TEnemyCar* Car : Field.Cars)
    {
        auto* Mark = dynamic_cast<TRadarCar*>(Car->FRadarMark);
        ASSERT_NE(Mark, nullptr);
        EXPECT_EQ(Mark->Image(), GameImages.Find("radarcar2"));
        EXPECT_GE(Mark->CenterX(), 25);
        EXPECT_LE(Mark->CenterX(), 28);
        EXPECT_FLOAT_EQ(Mark->CenterY(), 500);
    }
    // The markers climb as the field drives off (from below 415: the grid lies behind checkpoint 1).
    Field.Frame();
    std::vector<float> Start;
    for (TEnemyCar* Car : Field.Cars)
        Start.push_back(Car->FRadarMark->Y());
    for (int Frame = 0; Frame < 500; ++Frame)
        Field.Frame();
    const double Distance =
        Field.World.FCheckpointDistance[static_cast<std::size_t>(Field.World.FCheckpointCount - 10)];
    for (size_t I = 0; I < Field.Cars.size(); ++I)
    {
        const TEnemyCar& Car = *Field.Cars[I];
        EXPECT_LT(Car.FRadarMark->Y(), Start[I] - 10) << "slot " << Car.FSlot;
        EXPECT_NEAR(Car.FRadarMark->Y(), 415 - Car.FProgress / Distance * 170, 1e-3) << "slot " << Car.FSlot;
    }
}

TEST_F(HudTest, APuffFadesInFiveStepsAndThenDies)
{
    auto* Puff = new TDim(World(), 300, 200, false);
    std::vector<int> Patterns, Alphas;
    int Moves = 0;
    while (!Puff->IsDead() && Moves < 100)
    {
        Puff->Move(1);
        ++Moves;
        Patterns.push_back(Puff->PatternIndex());
        Alphas.push_back(Puff->Alpha());
    }
    EXPECT_EQ(Moves, 15);
    // A new step every third frame, 15 fainter each time.
    EXPECT_EQ(Patterns, (std::vector<int>{0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 4}));
    EXPECT_EQ(Alphas[2], 185);
    EXPECT_EQ(Alphas[11], 140);
}

TEST_F(HudTest, APuffKeepsItsPlaceOnTheRoadWhileTheWorldScrolls)
{
    // The player drives off up the road; a puff and a road piece move together on the screen.
    for (int Frame = 0; Frame < 60; ++Frame)
        Race->Frame();
    ASSERT_GT(Player().FSpeed, 2);
    auto* Puff = new TDim(World(), 380, 300, false);
    TRoadPart* Piece = World().FLastRoadPart;
    ASSERT_NE(Piece, nullptr);
    const double OffsetX = Puff->X() - Piece->X(), OffsetY = Puff->Y() - Piece->Y();
    const float StartY = Puff->Y();
    for (int Frame = 0; Frame < 12; ++Frame)
    {
        Race->Frame();
        ASSERT_FALSE(Puff->IsDead());
        EXPECT_NEAR(Puff->X() - Piece->X(), OffsetX, 1e-3);
        EXPECT_NEAR(Puff->Y() - Piece->Y(), OffsetY, 1e-3);
    }
    EXPECT_GT(Puff->Y(), StartY + 20) << "the road scrolled down the screen";
}

TEST_F(HudTest, ASlidingPlayerLeavesPuffPairsAtItsRearWheels)
{
    TPlayer& P = Player();
    const double Cx = P.X() + P.Width() / 2.0, Cy = P.Y() + P.Height() / 2.0;
    std::vector<TDim*> Before = All<TDim>();
    ASSERT_TRUE(Before.empty());
    int Pairs = 0;
    for (int Frame = 0; Frame < 10; ++Frame)
    {
        // Driving up the screen, sliding 20 degrees off its heading, fast.
        P.Driving = false;
        P.FHeading = -90;
        P.FCourse = -70;
        P.FSpeed = 6;
        P.Angle = -180;
        const size_t Count = All<TDim>().size();
        P.Move(1);
        const std::vector<TDim*> Now = All<TDim>();
        if (Now.size() == Count + 2)
            ++Pairs;
        else
            EXPECT_EQ(Now.size(), Count);
    }
    EXPECT_EQ(Pairs, 2) << "a pair every fifth frame";

    // Each pair sits behind the car (down the screen, for a car going up), one puff either side
    // of its axis, FSmokeRadius from the tile centre.
    std::vector<TDim*> Puffs = All<TDim>();
    ASSERT_EQ(Puffs.size(), 4u);
    // The wheels lie T degrees off the car's cross axis, with FSmokeAngleA = 360 - T.
    const double T = (360 - P.FSmokeAngleA) * std::numbers::pi / 180;
    const double ExpectedDy = P.FSmokeRadius * std::sin(T);
    for (TDim* Puff : Puffs)
    {
        const double Dx = Puff->CenterX() - Cx, Dy = Puff->CenterY() - Cy;
        EXPECT_NEAR(std::hypot(Dx, Dy), P.FSmokeRadius, 0.01);
        EXPECT_GT(Dy, 0) << "behind the car";
        EXPECT_NEAR(Dy, ExpectedDy, 0.01);
        EXPECT_GT(std::fabs(Dx), P.Width() / 4.0) << "at a wheel, not on the axis";
        EXPECT_TRUE(Puff->Visible);
        EXPECT_EQ(Puff->Image(), GameImages.Find("dim"));
    }
    EXPECT_NEAR(Puffs[0]->CenterX() + Puffs[1]->CenterX(), 2 * Cx, 0.01) << "mirrored about the axis";

    // Driving straight makes no smoke.
    for (TDim* Puff : Puffs)
        Puff->Dead();
    Race->Engine.FreeDead();
    P.FCourse = P.FHeading;
    P.Move(1);
    EXPECT_TRUE(All<TDim>().empty());
}

TEST_F(HudTest, ASkiddingOpponentSmokesAndAMenuCarsSmokeStaysHidden)
{
    for (const bool Menu : {false, true})
    {
        auto* Car = new TEnemyCar(World(), 300, 300, 0, "enemy", 0, -90, Menu ? 1 : 0, 1);
        Car->FSkidding = true;
        Car->FSpeed = 5;
        Car->Move(1);
        const std::vector<TDim*> Puffs = All<TDim>();
        ASSERT_EQ(Puffs.size(), 2u) << (Menu ? "menu" : "game");
        for (TDim* Puff : Puffs)
        {
            EXPECT_EQ(Puff->Image(), (Menu ? MenuImages : GameImages).Find("dim"));
            EXPECT_EQ(Puff->Visible, !Menu);
            Puff->Dead();
        }
        Car->Dead();
        Race->Engine.FreeDead();
        World().FEnemyCount = 0;
    }
}

} // namespace
} // namespace vm
