// The options page (full screen, music, volume, online name).
#include "pages/options_screen.h"
#include "pages/menu_pages_state.h"

#include "common/player_name.h"
#include "engine/gui_button.h"
#include "engine/gui_edit.h"
#include "engine/gui_letter_grid.h"
#include "engine/gui_list.h"
#include "engine/gui_scroll_bar.h"
#include "engine/image_draw.h"
#include "engine/image_list.h"
#include "engine/sprite.h"
#include "pages/menu_frame.h"
#include "pages/name_grid.h"
#include "persist/stored_names.h"
#include "shell/game.h"
#include "shell/menu_screen.h"

#include <algorithm>
#include <cmath>

namespace vm {

namespace {

constexpr const char* EditFace = "MicrogrammaDBolExt";
constexpr std::uint8_t EditTint = 250;
// The way to the controls page.
constexpr int ControlsButtonX = 530, ControlsButtonY = 236;

// Slots of the page's buttons in TMenuPagesState::FButtons.
enum TOptionsButton
{
    obApply,
    obCancel,
    obFullScreen,
    obMusic,
    obVolumeDown,
    obVolumeUp,
    obControls,
};

// The volume step the page shows: the bar's position once the bar exists.
void TakeBarPosition(TGame& Game)
{
    if (MenuPages(Game).FBar != nullptr)
        Game.State.VolumeLevel = std::clamp(MenuPages(Game).FBar->Position, 0, MaxVolumeLevel);
}

void StepVolume(TGame& Game, int Step)
{
    Game.Sound3D.PlaySound("check");
    TakeBarPosition(Game);
    const int Level = Game.State.VolumeLevel + Step;
    if (Level < 0 || Level > MaxVolumeLevel)
        return;
    Game.State.VolumeLevel = Level;
    if (MenuPages(Game).FBar != nullptr)
        MenuPages(Game).FBar->Position = Level;
}

void Apply(TGame& Game)
{
    TMenuPagesState& Page = MenuPages(Game);
    Game.Sound3D.PlaySound("check");
    TakeBarPosition(Game);
    LeaveOptions(Game);
    if (Game.FullScreenAllowed() && Game.State.FullScreenApplied != Game.State.FullScreenOn)
        Game.Screen.ToggleFullScreen();
    Game.Sound3D.PlaySound("check");
    Game.EnterState(ssMainMenu);
    Game.State.FullScreenApplied = Game.State.FullScreenOn;
    Page.FKeptVolumeLevel = Game.State.VolumeLevel;
    Page.FKeptMusicOn = Game.State.MusicOn;
    Page.FKeptFullScreenOn = Game.State.FullScreenOn;
    Page.FKeptOnlineName = Game.State.OnlineName;
}

// Puts back the values of the page's entry. The edit gets back what it showed on entry too,
// because leaving the page stores a changed edit's text as the name and writes the settings file:
// what is written is then what stays in force, not the values just cancelled.
void PutBackKeptValues(TGame& Game)
{
    TMenuPagesState& Page = MenuPages(Game);
    Game.State.FullScreenOn = Game.State.FullScreenApplied;
    Game.State.VolumeLevel = Page.FKeptVolumeLevel;
    Game.State.MusicOn = Page.FKeptMusicOn;
    Game.State.OnlineName = Page.FKeptOnlineName;
    if (Page.FEdit != nullptr)
        Page.FEdit->Text = Page.FShownOnlineName;
    if (Page.FBar != nullptr)
        Page.FBar->Position = Page.FKeptVolumeLevel;
    Game.ApplyVolumeLevel();
}

// The music comes back as it was on entry: started or stopped only when the page changed it.
void RestoreKeptMusic(TGame& Game)
{
    if (Game.State.MusicOn == MenuPages(Game).FKeptMusicOn)
        return;
    if (MenuPages(Game).FKeptMusicOn)
        Game.Sound3D.PlayMod("menumusic");
    else
        Game.Sound3D.StopMod("menumusic");
}

void Cancel(TGame& Game)
{
    RestoreKeptMusic(Game);
    PutBackKeptValues(Game);
    LeaveOptions(Game);
    Game.Sound3D.PlaySound("check");
    Game.EnterState(ssMainMenu);
}

// Caret of the focused edit: at the end of the text, hidden and shown in turn.
void BlinkCaret(TGame& Game)
{
    TGuiEdit* Edit = MenuPages(Game).FEdit;
    std::int32_t& Ticks = Game.State.CaretTicks;
    if (Edit != nullptr)
    {
        Edit->CaretPos = Edit->Length();
        if (Ticks % 31 == 0)
            Edit->CaretText.clear();
        else if (Ticks % 63 == 0)
        {
            Edit->CaretText = "_";
            Ticks = 0;
        }
    }
    ++Ticks;
}

} // namespace

void BuildEditFont(TGame& Game) { BuildEditFont(Game, Game.TextRasterizer); }

void BuildEditFont(TGame& Game, ITextRasterizer* Rasterizer)
{
    TBitmapFont& Font = Game.BitmapFont;
    if (Font.FontName != EditFace && Rasterizer != nullptr &&
        Font.BuildFromSystemFont(*Rasterizer, EditFace, 12, true, {}))
        Font.FontName = EditFace;
    Font.SetRed(EditTint);
    Font.SetGreen(EditTint);
    Font.SetBlue(EditTint);
}

void EnterOptions(TGame& Game)
{
    TGameState& State = Game.State;
    TMenuPagesState& Page = MenuPages(Game);
    State.ScreenState = ssOptions;
    State.ClearLatches();
    State.StateTicks = 0;
    State.CaretTicks = 0;
    Game.Pages.Parts.FMenuScreen = new TMenuScreen(Game.SpriteEngine, Game.MenuImageList, true, 255,
                                                   "scrOptions", "scr_opt", 20, 160, 180);

    Game.NewGuiList();
    Page.ForgetWidgets();
    Page.FButtons[obApply] =
        AddMenuButton(Game, "b_apply", 275, 417, [&Game](TGuiComponent*, int) { Apply(Game); });
    Page.FButtons[obCancel] =
        AddMenuButton(Game, "b_cancel", 420, 417, [&Game](TGuiComponent*, int) { Cancel(Game); });
    Page.FButtons[obFullScreen] = AddMenuButton(Game, "b_on", 517, 271, [&Game](TGuiComponent*, int) {
        Game.State.FullScreenOn = !Game.State.FullScreenOn;
        Game.Sound3D.PlaySound("check");
        ShowToggle(Game, MenuPages(Game).FButtons[obFullScreen], Game.State.FullScreenOn);
    });
    Page.FButtons[obMusic] = AddMenuButton(Game, "b_on", 517, 300, [&Game](TGuiComponent*, int) {
        Game.State.MusicOn = !Game.State.MusicOn;
        if (Game.State.MusicOn)
            Game.Sound3D.PlayMod("menumusic");
        else
            Game.Sound3D.StopMod("menumusic");
        Game.Sound3D.PlaySound("check");
        ShowToggle(Game, MenuPages(Game).FButtons[obMusic], Game.State.MusicOn);
    });
    ShowToggle(Game, Page.FButtons[obFullScreen], State.FullScreenOn);
    ShowToggle(Game, Page.FButtons[obMusic], State.MusicOn);
    Page.FButtons[obVolumeDown] =
        AddMenuButton(Game, "b_menuleft", 467, 327, [&Game](TGuiComponent*, int) { StepVolume(Game, -1); });
    Page.FButtons[obVolumeUp] =
        AddMenuButton(Game, "b_menuright", 606, 327, [&Game](TGuiComponent*, int) { StepVolume(Game, +1); });
    // The controls page comes back here with the values of this page's entry still to put back.
    Page.FButtons[obControls] =
        AddMenuButton(Game, "b_controls", ControlsButtonX, ControlsButtonY, [&Game](TGuiComponent*, int) {
            TakeBarPosition(Game);
            MenuPages(Game).FOptionsKept = true;
            Game.ChangeState(ssOptions, ssControls, "check", TCueWhen::Always);
        });

    // The edit copies the font's colour when it is made: the font is built and tinted first.
    BuildEditFont(Game);
    TGuiEdit* Edit = Game.Pages.Parts.FGuiList->Create<TGuiEdit>();
    Edit->Name = "Edit";
    if (const TImageListItem* Image = Game.MenuImageList.Find("Edit"))
    {
        Edit->SetStateImage(0, Image);
        Edit->SetStatePattern(0, 0);
        Edit->Width = Image->TileWidth();
        Edit->Height = Image->TileHeight();
    }
    Edit->Left = 465;
    Edit->Top = 354;
    Edit->MaxLength = static_cast<int>(MaxNameCharacters);
    Edit->Accepts = IsStoredNameCharacter;
    Edit->TextInset = 3;
    // A name from an older file that breaks the rule shows by the part of it that follows the
    // rule; the stored name is replaced only when the player changes what the edit shows.
    if (!Page.FOptionsKept)
        Page.FShownOnlineName = UsableNamePart(State.OnlineName);
    Edit->Text = UsableNamePart(State.OnlineName);
    Edit->CaretPos = Edit->Length();
    Edit->OnClick = [&Game](TGuiComponent*, int) { MenuPages(Game).FEditActive = true; };
    Page.FEdit = Edit;
    // The letter grid opens under the page's panel, left of the badge; "done" ends the name and
    // goes on to apply.
    Page.FGrid = CreateNameGrid(Game, Edit, 225, 462, [&Game] {
        if (TGuiButton* ApplyButton = MenuPages(Game).FButtons[obApply])
            Game.Gui.SetFocus(ApplyButton);
    });

    TGuiScrollBar* Bar = Game.Pages.Parts.FGuiList->Create<TGuiScrollBar>();
    Bar->Name = "opt_bar";
    const TImageListItem* BarImage = Game.MenuImageList.Find("opt_bar");
    Bar->SetStateImage(0, BarImage);
    Bar->SetStatePattern(0, 1);
    Bar->SetStateImage(3, BarImage);
    Bar->SetStatePattern(3, 0);
    Bar->Left = 486;
    Bar->Top = 328;
    Bar->Width = 120;
    Bar->Height = 20;
    Bar->Min = 0;
    Bar->Max = MaxVolumeLevel;
    Bar->Position = std::clamp(State.VolumeLevel, 0, MaxVolumeLevel);
    Page.FBar = Bar;

    // Back from the controls page the focus is where the player left this page.
    Game.Pages.Parts.FGuiList->SetDefaultFocus(Page.FOptionsKept ? Page.FButtons[obControls]
                                                                 : Page.FButtons[obApply]);
    if (!Page.FOptionsKept)
    {
        Page.FKeptVolumeLevel = State.VolumeLevel;
        Page.FKeptMusicOn = State.MusicOn;
        Page.FKeptFullScreenOn = State.FullScreenOn;
        Page.FKeptOnlineName = State.OnlineName;
    }
    Page.FOptionsKept = false;
    Page.FEditActive = false;
    Game.ShowCursor(true);
}

void OptionsFrame(TGame& Game)
{
    TMenuPagesState& Page = MenuPages(Game);
    auto& Released = Game.State.KeyReleased;
    TakeBarPosition(Game);
    Game.ApplyVolumeLevel();

    NameGridFrame(Game, Page.FGrid, false);
    // The edit is active once it took the focus, by a click or by the keys.
    if (Page.FEdit != nullptr && Game.Gui.TypingTarget() == Page.FEdit)
        Page.FEditActive = true;
    if (Page.FEditActive)
        BlinkCaret(Game);
    // The edit itself deletes a character when Backspace goes down; the latch only has to go.
    Released[vkBack] = 0;

    if (Game.State.TakeReleased(vkEscape))
    {
        Game.Sound3D.PlaySound("check2");
        // Esc puts the music back like cancel: the setting it restores must match what plays.
        RestoreKeptMusic(Game);
        PutBackKeptValues(Game);
        LeaveOptions(Game);
        Game.EnterState(ssMainMenu);
        return;
    }

    // The badge lies clear of the page picture, so it may go down over the sprites.
    if (BeginMenuFrame(Game, 0))
    {
        if (const TImageListItem* Logo = Game.MenuImageList.Find("b_logo"))
            DrawPattern(*Logo, 548, 515, 0);
        EndMenuFrame(Game);
    }
    ++Game.State.StateTicks;
}

void LeaveOptions(TGame& Game)
{
    TMenuPagesState& Page = MenuPages(Game);
    if (Page.FEdit != nullptr)
    {
        if (Page.FEdit->Text != Page.FShownOnlineName)
            Game.State.OnlineName = Page.FEdit->Text;
        Page.FEdit->Text.clear();
    }
    Page.FEditActive = false;
    Game.SaveSettingsFile();
    Game.FreeGuiList();
    Page.ForgetWidgets();
    if (Game.Pages.Parts.FMenuScreen != nullptr)
        Game.Pages.Parts.FMenuScreen->Dead();
    Game.Pages.Parts.FMenuScreen = nullptr;
    Game.SpriteEngine.FreeDead();
}

} // namespace vm
