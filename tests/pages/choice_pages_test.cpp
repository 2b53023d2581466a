// The track page and the car page: keys, buttons, the slide-in, the shown facts and bars, and the
// start of a run from the car page.
#include "engine/gui_button.h"
#include "pages/choice_pages_state.h"
#include "pages/track_screen.h"
#include "screen_game_fixture.h"
#include "world/player.h"

#include <algorithm>

namespace vm::test {
namespace {

class ChoicePagesTest : public ScreenGameTest
{
protected:
    bool Drew(const std::string& Text) const
    {
        return std::find(this->Text.Texts.begin(), this->Text.Texts.end(), Text) != this->Text.Texts.end();
    }
    // A key tapped and one frame run: the frame that reads it.
    void Press(int Key)
    {
        Tap(Key);
        RunFrames(1);
    }
    TCatalogues& Cat() { return Game.Catalogues; }
};

TEST_F(ChoicePagesTest, EnteringEitherPageForgetsKeysReleasedBefore)
{
    StartAt(ssMainMenu);
    for (int Page : {ssChooseTrack, ssChooseCar})
    {
        SCOPED_TRACE(Page);
        for (int Key : {vkEscape, vkReturn, vkRight, vkLeft})
            Game.State.KeyReleased[Key] = 1;
        Game.LeaveState(ssMainMenu);
        Game.EnterState(Page);
        RunFrames(3);
        EXPECT_EQ(StateId(), Page);
        EXPECT_EQ(Cat().FTrackIndex, 0);
        EXPECT_EQ(Cat().FCarIndex, 0);
        Game.LeaveState(Page);
        Game.EnterState(ssMainMenu);
    }
}

TEST_F(ChoicePagesTest, EscLeadsBackToTheMainMenuAndFreesThePage)
{
    StartAt(ssMainMenu);
    for (int Page : {ssChooseTrack, ssChooseCar})
    {
        SCOPED_TRACE(Page);
        Game.LeaveState(ssMainMenu);
        Game.EnterState(Page);
        RunFrames(2);
        const long Check2 = Plays("check2");
        const long Presents = Device.FPresents;
        Press(vkEscape);
        EXPECT_EQ(StateId(), ssMainMenu);
        EXPECT_EQ(Plays("check2"), Check2 + 1);
        EXPECT_EQ(Device.FPresents, Presents) << "a frame that handles a key draws nothing";
        EXPECT_EQ(Game.Pages.Parts.FMenuScreen, nullptr);
        EXPECT_EQ(ChoicePages(Game).FTrackImage, nullptr);
        EXPECT_EQ(ChoicePages(Game).FCarImage, nullptr);
        EXPECT_EQ(Button("b_back"), nullptr);
    }
}

TEST_F(ChoicePagesTest, BackButtonLeadsToTheMainMenuWithACheck)
{
    StartAt(ssChooseCar);
    RunFrames(50);
    const long Check = Plays("check");
    Click(Button("b_back"));
    EXPECT_EQ(StateId(), ssMainMenu);
    EXPECT_EQ(Plays("check"), Check + 1);
}

TEST_F(ChoicePagesTest, TracksWrapAtBothEndsByKeysAndButtons)
{
    StartAt(ssChooseTrack);
    RunFrames(30);
    Press(vkLeft);
    EXPECT_EQ(Cat().FTrackIndex, 11);
    Press(vkRight);
    EXPECT_EQ(Cat().FTrackIndex, 0);
    Cat().FTrackIndex = 11;
    const long Check = Plays("check");
    Click(Button("bc_next"));
    EXPECT_EQ(Cat().FTrackIndex, 0);
    Click(Button("bc_prev"));
    EXPECT_EQ(Cat().FTrackIndex, 11);
    EXPECT_EQ(Plays("check"), Check + 2);
    // One key a frame, Right before Left: the second waits for the next frame.
    Tap(vkRight);
    Tap(vkLeft);
    RunFrames(1);
    EXPECT_EQ(Cat().FTrackIndex, 0);
    RunFrames(1);
    EXPECT_EQ(Cat().FTrackIndex, 11);
}

TEST_F(ChoicePagesTest, CarsWrapAtBothEndsByKeysAndButtons)
{
    StartAt(ssChooseCar);
    RunFrames(50);
    Press(vkLeft);
    EXPECT_EQ(Cat().FCarIndex, 4);
    Press(vkRight);
    EXPECT_EQ(Cat().FCarIndex, 0);
    Click(Button("bc_prev"));
    EXPECT_EQ(Cat().FCarIndex, 4);
    Click(Button("bc_next"));
    EXPECT_EQ(Cat().FCarIndex, 0);
    EXPECT_EQ(StateId(), ssChooseCar);
}

TEST_F(ChoicePagesTest, ALockedTrackHidesRaceAndShowsOnlyItsNumber)
{
    StartAt(ssChooseTrack);
    Cat().FTracks[6].Name = "Secret Loop"; // so the title must come from the number, not the entry
    Cat().FTrackIndex = 5;
    RunFrames(30);
    Press(vkRight);
    ASSERT_EQ(Cat().FTrackIndex, 6);
    ASSERT_EQ(Cat().FTracks[6].Available, 0);
    ASSERT_NE(Button("bc_race"), nullptr);
    EXPECT_FALSE(Button("bc_race")->Visible);
    ASSERT_NE(ChoicePages(Game).FTrackImage->Image(), nullptr);
    EXPECT_EQ(ChoicePages(Game).FTrackImage->Image()->Name, "tr_notav");
    Press(vkReturn);
    RunFrames(1);
    EXPECT_EQ(StateId(), ssChooseTrack);
    EXPECT_TRUE(Drew("Track 7"));
    EXPECT_FALSE(Drew("Secret Loop"));
    EXPECT_TRUE(Drew("-"));
    EXPECT_TRUE(Drew("--:--:--"));
    // Back to an open track: its picture and the race button come back.
    for (int I = 0; I < 4; ++I)
        Press(vkLeft);
    ASSERT_EQ(Cat().FTrackIndex, 2);
    EXPECT_TRUE(Button("bc_race")->Visible);
    EXPECT_EQ(ChoicePages(Game).FTrackImage->Image()->Name, "tr_track4");
}

TEST_F(ChoicePagesTest, TrackFactsShowTheBestTimeOrDashes)
{
    StartAt(ssChooseTrack);
    Cat().FTracks[1].BestMinutes = 1;
    Cat().FTracks[1].BestSeconds = 5;
    Cat().FTracks[1].BestHundredths = 3;
    RunFrames(1);
    EXPECT_TRUE(Drew("Track 1"));
    EXPECT_TRUE(Drew("--:--:--"));
    EXPECT_TRUE(Drew("540.4"));
    EXPECT_TRUE(Drew("Best time: "));
    EXPECT_TRUE(Drew("Opponents:"));
    EXPECT_FALSE(Drew("1:05:03"));
    Press(vkRight);
    RunFrames(1);
    EXPECT_TRUE(Drew("1:05:03"));
    EXPECT_TRUE(Drew("662.7"));
    EXPECT_TRUE(Drew("6"));

    TTrackInfo Track;
    Track.BestMinutes = 999, Track.BestSeconds = 59, Track.BestHundredths = 99;
    EXPECT_EQ(FormatBestTime(Track), "999:59:99");
    Track.BestMinutes = 1000;
    EXPECT_EQ(FormatBestTime(Track), "--:--:--");
    Track.BestMinutes = 12, Track.BestSeconds = 10, Track.BestHundredths = 0;
    EXPECT_EQ(FormatBestTime(Track), "12:10:00");
}

TEST_F(ChoicePagesTest, ButtonsSlideInToTheirResting)
{
    StartAt(ssChooseTrack);
    RunFrames(12);
    EXPECT_EQ(Button("bc_race")->Left, 660);
    RunFrames(1);
    EXPECT_EQ(Button("bc_race")->Left, 642);
    RunFrames(60);
    EXPECT_EQ(Button("bc_next")->Left, 380);
    EXPECT_EQ(Button("bc_prev")->Left, 234);
    EXPECT_EQ(Button("b_back")->Left, 9);
    EXPECT_EQ(Button("bc_race")->Left, 642);
    EXPECT_EQ(Button("bc_next")->Top, 131);

    Game.LeaveState(ssChooseTrack);
    Game.EnterState(ssChooseCar);
    RunFrames(34);
    EXPECT_EQ(Button("bc_next")->Left, 220);
    RunFrames(1);
    EXPECT_EQ(Button("bc_next")->Left, 210);
    RunFrames(60);
    EXPECT_EQ(Button("bc_next")->Left, 210);
    EXPECT_EQ(Button("bc_prev")->Left, 520);
    EXPECT_EQ(Button("b_back")->Left, 282);
    EXPECT_EQ(Button("bc_race")->Left, 425);
    EXPECT_EQ(Button("bc_race")->Top, 443);
}

TEST_F(ChoicePagesTest, CarBarsFollowTheShownCar)
{
    StartAt(ssChooseCar);
    auto Expect = [this](int Index) {
        SCOPED_TRACE(Index);
        const TCarInfo& Car = Cat().FCars[Index];
        const auto& Bars = ChoicePages(Game).FBars;
        for (TSprite* Bar : Bars)
        {
            ASSERT_NE(Bar, nullptr);
            EXPECT_TRUE(Bar->Visible);
        }
        EXPECT_FLOAT_EQ(Bars[0]->ScaleX, static_cast<float>(Car.TopSpeed / 15));
        EXPECT_FLOAT_EQ(Bars[1]->ScaleX, static_cast<float>(Car.Acceleration * 10 + 0.1));
        EXPECT_FLOAT_EQ(Bars[2]->ScaleX, static_cast<float>(Car.TurnRate + 0.2));
        EXPECT_FLOAT_EQ(Bars[3]->ScaleX, static_cast<float>(Car.Grip));
        ASSERT_NE(ChoicePages(Game).FCarImage->Image(), nullptr);
        EXPECT_EQ(ChoicePages(Game).FCarImage->Image()->Name, Car.ImageKey);
    };
    Expect(0);
    Press(vkRight);
    Expect(1);
    Press(vkLeft);
    Press(vkLeft);
    Expect(4);
    EXPECT_EQ(ChoicePages(Game).FBars[0]->Name(), "bar1");
    EXPECT_EQ(ChoicePages(Game).FBars[3]->Y(), 418);
}

TEST_F(ChoicePagesTest, TrackRaceLeadsToTheCarPage)
{
    StartAt(ssChooseTrack);
    RunFrames(30);
    Click(Button("bc_race"));
    EXPECT_EQ(StateId(), ssChooseCar);
    EXPECT_NE(ChoicePages(Game).FCarImage, nullptr);
    EXPECT_EQ(ChoicePages(Game).FTrackImage, nullptr);
    Game.LeaveState(ssChooseCar);
    Game.EnterState(ssChooseTrack);
    Press(vkReturn);
    EXPECT_EQ(StateId(), ssChooseCar);
}

TEST_F(ChoicePagesTest, CarRaceStartsARunWithTheShownCarLoadingRacePicturesOnce)
{
    StartAt(ssChooseCar);
    RunFrames(50);
    Press(vkRight);
    Press(vkRight);
    EXPECT_FALSE(Game.Race.FGameImagesLoaded);
    Click(Button("bc_race"));
    ASSERT_EQ(StateId(), ssRace);
    EXPECT_EQ(Cat().FCarIndex, 2);
    ASSERT_NE(Game.World.FPlayer, nullptr);
    EXPECT_EQ(Game.World.FPlayer->FCarIndex, 2);
    EXPECT_TRUE(Game.Race.FGameImagesLoaded);
    EXPECT_EQ(Game.Pages.Parts.FMenuLights[0], nullptr);
    EXPECT_EQ(ChoicePages(Game).FCarImage, nullptr);
    const TImageListItem* First = Game.GameImageList.ImageList.Items(0);
    ASSERT_NE(First, nullptr);
    const TTextureId Texture = First->Texture();
    RunFrames(5);

    // Out of the race to the menu, then a second run by Enter on an open car.
    Game.LeaveState(ssRace);
    Game.CreateMenuLights();
    Game.EnterState(ssMainMenu);
    Game.LeaveState(ssMainMenu);
    Game.EnterState(ssChooseCar);
    Press(vkLeft);
    ASSERT_EQ(Cat().FCarIndex, 1);
    Press(vkReturn);
    ASSERT_EQ(StateId(), ssRace);
    EXPECT_EQ(Game.World.FPlayer->FCarIndex, 1);
    EXPECT_EQ(Game.GameImageList.ImageList.Items(0), First);
    EXPECT_EQ(First->Texture(), Texture) << "the race pictures were loaded again";
}

TEST_F(ChoicePagesTest, EnterOnALockedCarDoesNothing)
{
    StartAt(ssChooseCar);
    Cat().FCars[3].Available = 0;
    Cat().FCarIndex = 3;
    Press(vkReturn);
    RunFrames(1);
    EXPECT_EQ(StateId(), ssChooseCar);
    EXPECT_FALSE(Game.Race.FGameImagesLoaded);
}

} // namespace
} // namespace vm::test
