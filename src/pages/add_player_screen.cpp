// The first start's page that asks for the first player's name.
#include "pages/add_player_screen.h"

#include "common/player_name.h"
#include "engine/gui_button.h"
#include "engine/gui_edit.h"
#include "engine/gui_letter_grid.h"
#include "engine/gui_list.h"
#include "engine/image_list.h"
#include "pages/menu_frame.h"
#include "pages/name_grid.h"
#include "pages/options_screen.h"
#include "pages/profile_pages_state.h"
#include "persist/stored_names.h"
#include "shell/game.h"
#include "shell/menu_light.h"
#include "shell/menu_screen.h"

namespace vm {

namespace {

// The page slides in from the left: picture, edit and button start 800 pixels left of their
// resting places and move 40 pixels a frame between ticks 51 and 79 until the picture rests.
constexpr int SlideStep = 40;
constexpr int SlideFirstTick = 51;
constexpr int SlideEndTick = 80;
constexpr float PictureRestX = 180;
// The letter grid rests under the page's panel, in the middle.
constexpr int GridMiddleX = 400;
constexpr int GridTop = 462;

// The add action: the name becomes the first profile and the main menu follows.
void AddFirstPlayer(TGame& Game)
{
    TGuiEdit* Edit = ProfilePages(Game).FEdit;
    if (Edit == nullptr)
        return;
    // This page follows the logo only when no profile exists; should it ever be shown with
    // profiles, the name is added to them rather than overwriting the first.
    const bool Added = Game.Profiles.FProfileCount <= 0
                           ? Game.Profiles.AddFirstProfile(Edit->Text, Game.State.PlayerName)
                           : Game.Profiles.AddProfile(Edit->Text, Game.State.PlayerName);
    if (!Added)
        return;
    Game.Sound3D.PlaySound("check");
    Game.ChangeState(ssAddPlayer, ssMainMenu);
}

// Enter and the grid's "done": with nothing typed they do nothing.
void ConfirmFirstPlayer(TGame& Game)
{
    TGuiEdit* Edit = ProfilePages(Game).FEdit;
    if (Edit != nullptr && !Edit->Text.empty())
        AddFirstPlayer(Game);
}

} // namespace

TGuiEdit* CreateNameEdit(TGame& Game, int Left, int Top)
{
    if (Game.Pages.Parts.FGuiList == nullptr)
        Game.NewGuiList();
    // The edit copies the font's colour when it is made: build and tint it first.
    BuildEditFont(Game);
    TGuiEdit* Edit = Game.Pages.Parts.FGuiList->Create<TGuiEdit>();
    Edit->Name = "e_name";
    const TImageListItem* Image = Game.MenuImageList.Find("e_name");
    if (Image != nullptr)
    {
        Edit->Width = Image->TileWidth();
        Edit->Height = Image->TileHeight();
    }
    Edit->SetStateImage(0, Image);
    Edit->SetStatePattern(0, 0);
    Edit->Left = Left;
    Edit->Top = Top;
    Edit->MaxLength = static_cast<int>(MaxNameCharacters);
    Edit->Accepts = IsStoredNameCharacter;
    Edit->TextInset = 3;
    Edit->Text.clear();
    Edit->CaretPos = 0;
    Game.Gui.SetFocus(Edit);
    // The caret shows at once and then blinks.
    Game.State.CaretTicks = 1;
    return Edit;
}

void NameEditFrame(TGame& Game, TGuiEdit* Edit)
{
    TGameState& State = Game.State;
    // Backspace was applied by the edit when the key went down; deleting again here would eat
    // two characters per press.
    State.KeyReleased[vkBack] = 0;
    if (Edit == nullptr)
        return;
    // The only field of the page: it takes the focus back whenever nothing has it (typed text
    // reaches it even while the focus rests on the page's button).
    if (Game.Gui.Focused() == nullptr)
        Game.Gui.SetFocus(Edit);
    Edit->CaretPos = Edit->Length();
    // Hidden every 31 frames, shown again at 63 (and the count starts over).
    if (State.CaretTicks % 31 == 0)
        Edit->CaretText.clear();
    else if (State.CaretTicks % 63 == 0)
    {
        Edit->CaretText = "_";
        State.CaretTicks = 0;
    }
    ++State.CaretTicks;
}

void EnterAddPlayer(TGame& Game)
{
    TGameState& State = Game.State;
    State.ClearLatches();
    State.ScreenState = ssAddPlayer;
    Game.NewGuiList();
    ProfilePages(Game).FEdit = CreateNameEdit(Game, 291 - 800, 324);
    ProfilePages(Game).FAddButton =
        AddMenuButton(Game, "b_add", 480 - 800, 404, [&Game](TGuiComponent*, int) { AddFirstPlayer(Game); });
    Game.Pages.Parts.FGuiList->SetDefaultFocus(ProfilePages(Game).FAddButton);
    ProfilePages(Game).FGrid = CreateNameGrid(Game, ProfilePages(Game).FEdit, GridMiddleX - 800, GridTop,
                                              [&Game] { ConfirmFirstPlayer(Game); });
    if (TGuiLetterGrid* Grid = ProfilePages(Game).FGrid)
        Grid->Left -= Grid->Width / 2;
    Game.Pages.Parts.FMenuScreen = new TMenuScreen(Game.SpriteEngine, Game.MenuImageList, true, 255,
                                                   "scr_add", "scr_add", 20, 184, PictureRestX - 800);
    for (TLight* Light : Game.Pages.Parts.FMenuLights)
        if (Light != nullptr)
            Light->Visible = true;
    Game.ShowCursor(true);
    State.StateTicks = 0;
}

void AddPlayerFrame(TGame& Game)
{
    TGameState& State = Game.State;
    TProfilePagesState& Page = ProfilePages(Game);
    NameEditFrame(Game, Page.FEdit);
    NameGridFrame(Game, Page.FGrid, true);

    if (State.StateTicks >= SlideFirstTick && State.StateTicks < SlideEndTick &&
        Game.Pages.Parts.FMenuScreen != nullptr && Game.Pages.Parts.FMenuScreen->X() < PictureRestX)
    {
        Game.Pages.Parts.FMenuScreen->SetX(Game.Pages.Parts.FMenuScreen->X() + SlideStep);
        if (Page.FAddButton != nullptr)
            Page.FAddButton->Left += SlideStep;
        if (Page.FEdit != nullptr)
            Page.FEdit->Left += SlideStep;
        if (Page.FGrid != nullptr)
            Page.FGrid->Left += SlideStep;
    }
    if (State.StateTicks < SlideEndTick)
        ++State.StateTicks;

    if (BeginMenuFrame(Game, 1))
        EndMenuFrame(Game);

    // Enter confirms after the frame is drawn; with nothing typed it is only taken.
    if (State.TakeReleased(vkReturn))
        ConfirmFirstPlayer(Game);
}

void LeaveAddPlayer(TGame& Game)
{
    TProfilePagesState& Page = ProfilePages(Game);
    // The greeting shows the name as typed (blanks around it kept); the stored profile holds it
    // trimmed. Only a name that was added is taken: leaving otherwise keeps the player's name.
    if (Page.FEdit != nullptr)
    {
        const TProfiles& Profiles = Game.Profiles;
        const std::string Trimmed = TProfiles::TrimBlanks(Page.FEdit->Text);
        const int Current = Profiles.FCurrentProfile;
        if (!Trimmed.empty() && Profiles.FProfileCount > 0 && Current >= 0 && Current < kMaxProfiles &&
            Profiles.FProfiles[static_cast<std::size_t>(Current)].Name == Trimmed)
            Game.State.PlayerName = Page.FEdit->Text;
        Page.FEdit->Text.clear();
    }
    Game.SaveSettingsFile();
    Game.Gui.ClearFocus();
    Game.FreeGuiList();
    Page.FEdit = nullptr;
    Page.FAddButton = nullptr;
    Page.FGrid = nullptr;
    if (Game.Pages.Parts.FMenuScreen != nullptr)
        Game.Pages.Parts.FMenuScreen->Dead();
    Game.Pages.Parts.FMenuScreen = nullptr;
    Game.SpriteEngine.FreeDead();
}

} // namespace vm
