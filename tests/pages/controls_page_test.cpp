// The controls page driven through a whole game: picking keys and pad controls, refusals, reset,
// rumble, the file it writes, and the help page showing what is bound.
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
    // From the options page through its Controls button.
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
    // A pad button pressed and let go, with a frame between, as a player does it.
    void PadTap(int Control)
    {
        Game.PadButton(0, Control, true);
        RunFrames(1);
        Game.PadButton(0, Control, false);
        RunFrames(1);
    }
};

TEST_F(ControlsPageTest, WBindsToAccelerateDrivesTheRaceAndStaysAfterARestart)
{
    OpenControls();
    // Every cell wears its picture, wide enough for the longest binding text.
    for (int Action = 0; Action < ActionCount; ++Action)
        for (const std::string Kind : {"keys_", "pad_"})
        {
            const TGuiButton* Each = Cell(Kind + ActionName(Action));
            ASSERT_NE(Each, nullptr) << Kind << ActionName(Action);
            EXPECT_GE(Each->Width, 150) << Kind << ActionName(Action);
        }
    Click(Cell("keys_accelerate"));
    RunFrames(1);
    EXPECT_TRUE(Shown("Press a key for Accelerate (Esc cancels)"));
    Tap('W');
    RunFrames(1);
    EXPECT_EQ(Game.State.Controls.Of(acAccelerate).Keys, std::vector<int>{'W'});
    EXPECT_EQ(Cell("keys_accelerate")->Caption, "W");
    Game.State.KeyHeld['W'] = 1;
    EXPECT_TRUE(Game.State.Held(acAccelerate));
    Game.State.KeyHeld['W'] = 0;

    // Back leads to the options page and writes the file.
    Click(Button("b_back2"));
    RunFrames(1);
    EXPECT_EQ(StateId(), ssOptions);
    std::vector<std::string> Problems;
    TControlBindings Stored;
    LoadControls("Controls.cfg", Stored, Problems);
    EXPECT_EQ(Stored, Game.State.Controls);

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
    EXPECT_GT(Game.World.FPlayer->FSpeed, 1.0);
    Game.FormKeyUp('W');

    // A new game object on the same folder reads W back.
    TGame Again(TGamePlatform{Device, Clock, Sound, Messages, VM_ASSET_DIR, &Text}, GamePages());
    Again.FormCreate(5);
    EXPECT_EQ(Again.State.Controls.Of(acAccelerate).Keys, std::vector<int>{'W'});
}

TEST_F(ControlsPageTest, AKeyAnotherActionHasIsRefusedAndNamedAndEscCancels)
{
    OpenControls();
    // Enter on the focused cell starts the pick; its own release is not taken as the pick.
    Game.Gui.SetFocus(Cell("keys_brake"));
    Tap(vkReturn);
    RunFrames(2);
    EXPECT_TRUE(Shown("Press a key for Brake / reverse (Esc cancels)"));
    Tap(vkLeft);
    RunFrames(1);
    EXPECT_TRUE(Shown("Left is already Steer left"));
    EXPECT_EQ(Game.State.Controls, TControlBindings());

    // Esc cancels a pick without leaving the page; the next Esc leaves.
    Click(Cell("keys_horn"));
    RunFrames(1);
    Tap(vkEscape);
    RunFrames(1);
    EXPECT_EQ(StateId(), ssControls);
    EXPECT_EQ(Game.State.Controls, TControlBindings());
    RunFrames(1);
    Tap(vkEscape);
    RunFrames(1);
    EXPECT_EQ(StateId(), ssOptions);

    // Leave's keys stay Esc.
    Game.LeaveState(ssOptions);
    Game.EnterState(ssControls);
    Click(Cell("keys_leave"));
    Tap('L');
    RunFrames(2);
    EXPECT_TRUE(Shown("Esc always leaves the race"));
    EXPECT_EQ(Game.State.Controls.Of(acLeave).Keys, std::vector<int>{vkEscape});
}

TEST_F(ControlsPageTest, PadPicksBindThePadsControlAndAPicksANotTheCellAgain)
{
    OpenControls();
    Game.PadAdded(0);
    // The pad's A activates the focused cell (it arrives as Enter) ...
    Game.Gui.SetFocus(Cell("pad_horn"));
    PadTap(pbA);
    EXPECT_TRUE(Shown("Press a pad button, trigger or stick for Horn (Esc cancels)"));
    // ... and the pad's B while waiting is a pick too (not Esc), refused: brake has it.
    PadTap(pbB);
    EXPECT_TRUE(Shown("B is already Brake / reverse"));
    EXPECT_EQ(Game.State.Controls.Of(acHorn).Pad, std::vector<int>{pbY});
    EXPECT_EQ(StateId(), ssControls);

    // Accelerate's A given up first, then A picked for horn: bound once, no new pick starts.
    Click(Cell("pad_accelerate"));
    RunFrames(1);
    Game.PadAxis(0, paRightTrigger, 32767);
    RunFrames(1);
    Game.PadAxis(0, paRightTrigger, 0);
    RunFrames(1);
    EXPECT_EQ(Game.State.Controls.Of(acAccelerate).Pad, std::vector<int>{pcRightTrigger});
    Game.Gui.SetFocus(Cell("pad_horn"));
    PadTap(pbA);
    PadTap(pbA);
    EXPECT_EQ(Game.State.Controls.Of(acHorn).Pad, std::vector<int>{pbA});
    EXPECT_EQ(Cell("pad_horn")->Caption, "A");
    EXPECT_TRUE(Shown("Horn: A"));
    EXPECT_TRUE(Game.Pages.Parts.FGuiList->Enabled);
    // That second A was no pick: a key now still binds nothing until a cell is picked again.
    Tap('J');
    RunFrames(1);
    EXPECT_EQ(Game.State.Controls.ActionOfKey('J'), -1);

    // Waiting for a key, the pad's A is no key (not Enter) and its B cancels as Esc does.
    const TControlBindings Before = Game.State.Controls;
    Click(Cell("keys_pause"));
    RunFrames(1);
    PadTap(pbA);
    EXPECT_TRUE(Shown("Press a key for Pause (Esc cancels)"));
    EXPECT_FALSE(Game.Pages.Parts.FGuiList->Enabled);
    PadTap(pbB);
    EXPECT_TRUE(Game.Pages.Parts.FGuiList->Enabled);
    EXPECT_EQ(StateId(), ssControls);
    Tap('K');
    RunFrames(1);
    EXPECT_EQ(Game.State.Controls, Before);
}

TEST_F(ControlsPageTest, TheKeysAloneReachTheCellsPickAKeyAndComeBackToTheOptions)
{
    StartAt(ssOptions);
    RunFrames(1);
    const auto Press = [this](int Key) {
        Tap(Key);
        RunFrames(1);
    };
    const auto FocusName = [this] {
        const TGuiComponent* Widget = Game.Gui.Focused();
        return Widget != nullptr ? Widget->Name : std::string("-");
    };
    for (int I = 0; I < 12 && FocusName() != "b_controls"; ++I)
        Press(vkTab);
    ASSERT_EQ(FocusName(), "b_controls");
    Press(vkReturn);
    ASSERT_EQ(StateId(), ssControls);
    Press(vkDown); // the first arrow focuses accelerate's keys
    EXPECT_EQ(FocusName(), "keys_accelerate");
    Press(vkDown);
    Press(vkRight);
    EXPECT_EQ(FocusName(), "pad_brake");
    Press(vkLeft);
    Press(vkReturn);
    EXPECT_TRUE(Shown("Press a key for Brake / reverse (Esc cancels)"));
    // While the page waits, an arrow is a key to bind like any other, not a move.
    Press(vkRight);
    EXPECT_TRUE(Shown("Right is already Steer right"));
    EXPECT_EQ(FocusName(), "keys_brake");
    Press(vkReturn);
    Press('S');
    EXPECT_EQ(Game.State.Controls.Of(acBrake).Keys, std::vector<int>{'S'});
    Press(vkEscape);
    ASSERT_EQ(StateId(), ssOptions);
    Press(vkDown);
    EXPECT_EQ(FocusName(), "b_controls");
}

TEST_F(ControlsPageTest, ResetBringsBackTheDefaultsAndRumbleIsStoredInTheControlsFile)
{
    OpenControls();
    Click(Cell("keys_horn"));
    Tap('J');
    RunFrames(1);
    Click(Button("b_on"));
    RunFrames(1);
    EXPECT_FALSE(Game.State.Controls.Rumble);
    EXPECT_NE(Button("b_off"), nullptr);
    EXPECT_EQ(Game.State.Controls.Of(acHorn).Keys, std::vector<int>{'J'});

    Click(Button("b_reset"));
    RunFrames(1);
    EXPECT_EQ(Game.State.Controls, TControlBindings());
    EXPECT_EQ(Cell("keys_horn")->Caption, "H / Num8");
    EXPECT_NE(Button("b_on"), nullptr);

    Click(Button("b_on"));
    Tap(vkEscape);
    RunFrames(1);
    ASSERT_EQ(StateId(), ssOptions);
    std::ifstream In("Controls.cfg");
    const std::string File((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    EXPECT_NE(File.find("rumble off"), std::string::npos);
    EXPECT_NE(File.find("horn keys H Num8"), std::string::npos);
}

TEST_F(ControlsPageTest, OptionsCancelAfterAVisitToTheControlsPutsBackTheOptionsOfEntry)
{
    StartAt(ssOptions);
    const bool Music = Game.State.MusicOn;
    RunFrames(2);
    TGuiComponent* MusicToggle = nullptr; // the toggle at (517, 300)
    for (int I = 0; I < Game.Pages.Parts.FGuiList->Count(); ++I)
        if (Game.Pages.Parts.FGuiList->Widget(I)->Left == 517 &&
            Game.Pages.Parts.FGuiList->Widget(I)->Top == 300)
            MusicToggle = Game.Pages.Parts.FGuiList->Widget(I);
    Click(MusicToggle);
    EXPECT_NE(Game.State.MusicOn, Music);
    Click(Button("b_controls"));
    RunFrames(1);
    Click(Button("b_back2"));
    RunFrames(1);
    ASSERT_EQ(StateId(), ssOptions);
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
    EXPECT_TRUE(Shown("Space / Ctrl"));
    EXPECT_FALSE(Shown("RT / A"));
    Game.PadAdded(0);
    Game.PadAxis(0, paLeftY, 32767);
    Game.PadAxis(0, paLeftY, 0);
    RunFrames(1);
    EXPECT_TRUE(Shown("RT / A"));
    EXPECT_TRUE(Shown("X / LB / RB"));
}

TEST_F(ControlsPageTest, ADamagedControlsFileIsToldOnceAndTheDefaultsHold)
{
    std::ofstream("Controls.cfg") << "accelerate keys W\nbrake keys Nope\nhorn keys W\nrumble off\n";
    StartUp();
    EXPECT_EQ(Game.State.Controls.Of(acAccelerate).Keys, std::vector<int>{'W'});
    EXPECT_EQ(Game.State.Controls.Of(acBrake).Keys, std::vector<int>{vkDown});
    EXPECT_EQ(Game.State.Controls.Of(acHorn).Keys, (std::vector<int>{'H', vkNumpad8}));
    EXPECT_FALSE(Game.State.Controls.Rumble);
    ASSERT_EQ(Game.Notices.Posted().size(), 1u);
    EXPECT_NE(Game.Notices.Posted()[0].find("Nope"), std::string::npos) << Game.Notices.Posted()[0];
    EXPECT_NE(Game.Notices.Posted()[0].find("(and 1 more)"), std::string::npos) << Game.Notices.Posted()[0];
}

TEST_F(ControlsPageTest, SavingTheFilesWritesTheControlsOnlyOnceTheyChanged)
{
    StartUp();
    EXPECT_TRUE(Game.SaveFiles());
    EXPECT_FALSE(std::filesystem::exists("Controls.cfg"));
    int Conflict = -1;
    ASSERT_EQ(Game.State.Controls.BindKey(acHorn, 'J', Conflict), TBindResult::Bound);
    EXPECT_TRUE(Game.SaveFiles());
    std::vector<std::string> Problems;
    TControlBindings Stored;
    LoadControls("Controls.cfg", Stored, Problems);
    EXPECT_EQ(Stored.Of(acHorn).Keys, std::vector<int>{'J'});
}

} // namespace
} // namespace vm::test
