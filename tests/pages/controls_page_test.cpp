// The controls page driven through a whole game: picking keys and pad controls, refusals, reset,
// rumble, the file it keeps, and the help page showing what is bound.
#include "engine/gui.h"
#include "engine/gui_button.h"
#include "engine/pad_input.h"
#include "persist/controls_file.h"
#include "screen_game_fixture.h"
#include "world/player.h"

#include <algorithm>
#include <fstream>

namespace vm::test {
namespace {

class ControlsPageTest : public ScreenGameTest
{
protected:
    void OpenControls()
    {
        StartAt(ssOptions);
        RunFrames(2);
        Click(Button("b_controls"));
        RunFrames(1);
        ASSERT_EQ(StateId(), ssControls);
    }
    TGuiButton* Cell(const std::string& Name) { return static_cast<TGuiButton*>(Button(Name)); }
    bool Shown(const std::string& Wanted)
    {
        return std::find(Text.Texts.begin(), Text.Texts.end(), Wanted) != Text.Texts.end();
    }
    void Press(int Key)
    {
        Tap(Key);
        RunFrames(1);
    }
    void PadPress(int Control)
    {
        Game.PadButton(0, Control, true);
        RunFrames(1);
        Game.PadButton(0, Control, false);
        RunFrames(1);
    }
    std::string FocusName() const
    {
        const TGuiComponent* Widget = Game.Gui.Focused();
        return Widget != nullptr ? Widget->Name : "-";
    }
    TControlBindings Stored() const
    {
        TControlBindings Controls;
        std::vector<std::string> Problems;
        LoadControls("Controls.cfg", Controls, Problems);
        return Controls;
    }
};

TEST_F(ControlsPageTest, WBoundToAccelerateDrivesTheRaceAndStaysAfterARestart)
{
    OpenControls();
    for (int Action = 0; Action < ActionCount; ++Action)
        for (const std::string Kind : {"keys_", "pad_"})
        {
            const TGuiButton* Each = Cell(Kind + ActionName(Action));
            ASSERT_NE(Each, nullptr) << Kind << ActionName(Action);
            EXPECT_GE(Each->Width, 150) << Kind << ActionName(Action); // wears its picture
        }
    Click(Cell("keys_accelerate"));
    RunFrames(1);
    EXPECT_TRUE(Shown("Press a key for Accelerate (Esc cancels)"));
    Press('W');
    EXPECT_EQ(Cell("keys_accelerate")->Caption, "W");
    Click(Button("b_back2"));
    RunFrames(1);
    EXPECT_EQ(StateId(), ssOptions);
    EXPECT_EQ(Stored(), Game.State.Controls);

    // In a race Up no longer drives; W does.
    Game.LeaveState(ssOptions);
    Game.EnterState(ssChooseCar);
    RunFrames(50);
    Click(Button("bc_race"));
    ASSERT_EQ(StateId(), ssRace);
    RunFrames(260);
    ASSERT_TRUE(Game.World.FPlayer->Driving);
    Game.FormKeyDown(vkUp);
    RunFrames(30);
    Game.FormKeyUp(vkUp);
    EXPECT_NEAR(Game.World.FPlayer->FSpeed, 0.0, 0.01);
    Game.FormKeyDown('W');
    RunFrames(30);
    EXPECT_TRUE(Game.State.Held(acAccelerate));
    EXPECT_GT(Game.World.FPlayer->FSpeed, 1.0);

    TGame Again(TGamePlatform{Device, Clock, Sound, Messages, VM_ASSET_DIR, &Text}, GamePages());
    Again.FormCreate(5);
    EXPECT_EQ(Again.State.Controls.Of(acAccelerate).Keys, std::vector<int>{'W'});
}

TEST_F(ControlsPageTest, TheKeysAloneReachACellWhereTakenKeysAreRefusedAndEscCancels)
{
    StartAt(ssOptions);
    RunFrames(1);
    for (int I = 0; I < 12 && FocusName() != "b_controls"; ++I)
        Press(vkTab);
    ASSERT_EQ(FocusName(), "b_controls");
    Press(vkReturn);
    ASSERT_EQ(StateId(), ssControls);
    Press(vkDown); // the first arrow focuses accelerate's keys
    Press(vkDown);
    Press(vkRight);
    EXPECT_EQ(FocusName(), "pad_brake");
    Press(vkLeft);
    Press(vkReturn); // its release is no pick
    EXPECT_TRUE(Shown("Press a key for Brake / reverse (Esc cancels)"));
    Press(vkRight); // an arrow is a key like any other while the page waits
    EXPECT_TRUE(Shown("Right is already Steer right"));
    EXPECT_EQ(Game.State.Controls, TControlBindings());
    EXPECT_EQ(FocusName(), "keys_brake");

    Press(vkReturn);
    Press(vkEscape); // cancels the pick, not the page
    EXPECT_EQ(StateId(), ssControls);
    Press(vkReturn);
    Press('S');
    EXPECT_EQ(Game.State.Controls.Of(acBrake).Keys, std::vector<int>{'S'});
    Click(Cell("keys_leave"));
    Press('L');
    EXPECT_TRUE(Shown("Esc always leaves the race"));
    EXPECT_EQ(Game.State.Controls.Of(acLeave).Keys, std::vector<int>{vkEscape});

    Press(vkEscape);
    ASSERT_EQ(StateId(), ssOptions);
    Press(vkDown);
    EXPECT_EQ(FocusName(), "b_controls");
}

TEST_F(ControlsPageTest, PadPicksBindThePadsControlAndTheAThatIsPickedStartsNoNewPick)
{
    OpenControls();
    Game.PadAdded(0);
    Game.Gui.SetFocus(Cell("pad_horn"));
    PadPress(pbA); // arrives as Enter
    EXPECT_TRUE(Shown("Press a pad button, trigger or stick for Horn (Esc cancels)"));
    PadPress(pbB); // a pick (not Esc), refused
    EXPECT_TRUE(Shown("B is already Brake / reverse"));
    EXPECT_EQ(StateId(), ssControls);

    Click(Cell("pad_accelerate"));
    RunFrames(1);
    Game.PadAxis(0, paRightTrigger, 32767);
    Game.PadAxis(0, paRightTrigger, 0);
    RunFrames(1);
    EXPECT_EQ(Game.State.Controls.Of(acAccelerate).Pad, std::vector<int>{pcRightTrigger});
    Game.Gui.SetFocus(Cell("pad_horn"));
    PadPress(pbA);
    PadPress(pbA);
    EXPECT_EQ(Game.State.Controls.Of(acHorn).Pad, std::vector<int>{pbA});
    EXPECT_TRUE(Shown("Horn: A"));
    EXPECT_TRUE(Game.Pages.Parts.FGuiList->Enabled);

    // Waiting for a key, the pad's A is no Enter to bind, and its B cancels as Esc does.
    const TControlBindings Before = Game.State.Controls;
    Click(Cell("keys_pause"));
    RunFrames(1);
    PadPress(pbA);
    EXPECT_FALSE(Game.Pages.Parts.FGuiList->Enabled);
    PadPress(pbB);
    EXPECT_TRUE(Game.Pages.Parts.FGuiList->Enabled);
    Press('K');
    EXPECT_EQ(Game.State.Controls, Before);
}

TEST_F(ControlsPageTest, ResetAndRumbleAreKeptInTheControlsFile)
{
    OpenControls();
    Click(Cell("keys_horn"));
    Press('J');
    Click(Button("b_on"));
    RunFrames(1);
    EXPECT_FALSE(Game.State.Controls.Rumble);
    EXPECT_NE(Button("b_off"), nullptr);
    Click(Button("b_reset"));
    RunFrames(1);
    EXPECT_EQ(Game.State.Controls, TControlBindings());
    EXPECT_EQ(Cell("keys_horn")->Caption, "H / Num8");
    Click(Button("b_on"));
    Press(vkEscape);
    ASSERT_EQ(StateId(), ssOptions);
    EXPECT_FALSE(Stored().Rumble);
    EXPECT_EQ(Stored().Of(acHorn), TControlBindings().Of(acHorn));
}

TEST_F(ControlsPageTest, OptionsCancelAfterAVisitToTheControlsPutsBackTheOptionsOfEntry)
{
    StartAt(ssOptions);
    const bool Music = Game.State.MusicOn;
    RunFrames(2);
    for (int I = 0; I < Game.Pages.Parts.FGuiList->Count(); ++I)
        if (Game.Pages.Parts.FGuiList->Widget(I)->Left == 517 &&
            Game.Pages.Parts.FGuiList->Widget(I)->Top == 300)
            Click(Game.Pages.Parts.FGuiList->Widget(I)); // the music toggle
    EXPECT_NE(Game.State.MusicOn, Music);
    Click(Button("b_controls"));
    RunFrames(1);
    Click(Button("b_back2"));
    RunFrames(1);
    Click(Button("b_cancel"));
    EXPECT_EQ(Game.State.MusicOn, Music);
}

TEST_F(ControlsPageTest, HelpShowsTheBoundKeysOrThePadsControlsAfterPadInput)
{
    StartUp();
    Game.State.Controls.SetKeys(acAccelerate, {'W'});
    Game.LeaveState(ssLogo);
    Game.EnterState(ssHelp);
    RunFrames(2);
    EXPECT_TRUE(Shown("W"));
    EXPECT_FALSE(Shown("RT / A"));
    Game.PadAdded(0);
    Game.PadAxis(0, paLeftY, 32767);
    Game.PadAxis(0, paLeftY, 0);
    RunFrames(1);
    EXPECT_TRUE(Shown("RT / A"));
}

TEST_F(ControlsPageTest, TheFileIsToldOnceWhenDamagedAndWrittenAtExitOnlyOnceChanged)
{
    std::ofstream("Controls.cfg") << "accelerate keys W\nbrake keys Nope\nhorn keys W\n";
    StartUp();
    EXPECT_EQ(Game.State.Controls.Of(acAccelerate).Keys, std::vector<int>{'W'});
    EXPECT_EQ(Game.State.Controls.Of(acHorn).Keys, (std::vector<int>{'H', vkNumpad8}));
    ASSERT_EQ(Game.Notices.Posted().size(), 1u);
    EXPECT_NE(Game.Notices.Posted()[0].find("Nope"), std::string::npos) << Game.Notices.Posted()[0];
    EXPECT_NE(Game.Notices.Posted()[0].find("(and 1 more)"), std::string::npos);

    std::filesystem::remove("Controls.cfg");
    EXPECT_TRUE(Game.SaveFiles());
    EXPECT_FALSE(std::filesystem::exists("Controls.cfg"));
    Game.State.Controls.Rumble = false;
    EXPECT_TRUE(Game.SaveFiles());
    EXPECT_FALSE(Stored().Rumble);
}

} // namespace
} // namespace vm::test
