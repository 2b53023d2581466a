// The profile pages: adding, choosing and deleting player profiles.
#include "pages/profile_screens.h"
#include "pages/profile_pages_state.h"

#include "engine/gui_button.h"
#include "engine/gui_edit.h"
#include "engine/gui_letter_grid.h"
#include "engine/gui_list.h"
#include "engine/image_draw.h"
#include "engine/image_list.h"
#include "pages/add_player_screen.h"
#include "pages/choose_line.h"
#include "pages/menu_frame.h"
#include "pages/name_grid.h"
#include "shell/game.h"
#include "shell/menu_screen.h"

#include <algorithm>

namespace vm {

namespace {

// The profile list: rows centred on x 405 from y 248, 16 pixels apart; the selection bar lies
// two pixels above its row.
constexpr int ListCentreX = 405;
constexpr int ListFirstY = 248;
constexpr int ListRowHeight = 16;
constexpr float ChooseLineX = 248;
constexpr float ChooseLineFirstY = 246;

void SetPageFont(TGame& Game, int Size) { Game.Font1.SetLook("Micra", Size, 1, 250, 250, 250); }

void TextOutCentredAt(TSystemFont& Font, int CentreX, int Y, const std::string& Text)
{
    Font.TextOut(CentreX - Font.TextWidth(Text) / 2, Y, Text);
}

// Profiles in use, whatever a damaged file said.
int ProfileCount(const TGame& Game) { return std::clamp(Game.Profiles.FProfileCount, 0, kMaxProfiles); }

const std::string& ProfileName(const TGame& Game, int Index)
{
    return Game.Profiles.FProfiles[static_cast<std::size_t>(std::clamp(Index, 0, kMaxProfiles - 1))].Name;
}

// Shows and enables Button when it can act; otherwise it is hidden and its inactive look
// (pattern 2) is drawn in its place by DrawInactive.
void SetActive(TGuiButton* Button, bool Active)
{
    if (Button == nullptr)
        return;
    Button->Visible = Active;
    Button->Enabled = Active;
}

void DrawInactive(const TGuiButton* Button)
{
    if (Button == nullptr || Button->Visible)
        return;
    if (const TImageListItem* Image = Button->States[0].Image)
        DrawPattern(*Image, static_cast<float>(Button->Left), static_cast<float>(Button->Top), 2);
}

void KillMenuScreen(TGame& Game)
{
    if (Game.Pages.Parts.FMenuScreen != nullptr)
        Game.Pages.Parts.FMenuScreen->Dead();
    Game.Pages.Parts.FMenuScreen = nullptr;
}

// --- Add profile (21) ---

bool HasNonBlank(const std::string& Text) { return Text.find_first_not_of(' ') != std::string::npos; }

void AddNamedProfile(TGame& Game)
{
    TGuiEdit* Edit = ProfilePages(Game).FEdit;
    if (Edit == nullptr || !Game.Profiles.AddProfile(Edit->Text, Game.State.PlayerName))
        return;
    Game.Sound3D.PlaySound("check2");
    Game.ChangeState(ssAddProfile, ssChooseProfile);
}

// --- Choose profile (22) ---

void UpdateListButtons(TGame& Game)
{
    TProfilePagesState& Page = ProfilePages(Game);
    const int Count = ProfileCount(Game);
    SetActive(Page.FUpButton, Count > 1);
    SetActive(Page.FDownButton, Count > 1);
    SetActive(Page.FDeleteButton, Count > 0);
    SetActive(Page.FBackButton, Count > 0);
    SetActive(Page.FSelectButton, Count > 0);
    SetActive(Page.FAddButton, Count < kMaxProfiles);
    if (Page.FChooseLine != nullptr)
        Page.FChooseLine->Visible = Count > 0;
}

void CursorUp(TGame& Game)
{
    std::int32_t& Cursor = Game.Profiles.FProfileCursor;
    if (Cursor > 0)
        --Cursor;
}

void CursorDown(TGame& Game)
{
    std::int32_t& Cursor = Game.Profiles.FProfileCursor;
    if (Cursor < ProfileCount(Game) - 1)
        ++Cursor;
}

// Back to the main menu with the current profile as the player (only while one exists).
void BackToMenu(TGame& Game, const char* Sound)
{
    if (ProfileCount(Game) < 1)
        return;
    Game.Sound3D.PlaySound(Sound);
    Game.State.PlayerName = ProfileName(Game, Game.Profiles.FCurrentProfile);
    Game.ChangeState(ssChooseProfile, ssMainMenu);
}

void DrawProfileList(TGame& Game)
{
    TSystemFont& Font = Game.Font1;
    Font.SetFont("Micra", 9, 1);
    const int Count = ProfileCount(Game);
    for (int I = 0; I < Count; ++I)
    {
        if (I == Game.Profiles.FCurrentProfile)
            Font.SetColor(0xFFFF5656u);
        else
            Font.SetColor(0xFFFAFAFAu);
        TextOutCentredAt(Font, ListCentreX, ListFirstY + ListRowHeight * I, ProfileName(Game, I));
    }
}

} // namespace

void EnterAddProfile(TGame& Game)
{
    TGameState& State = Game.State;
    State.ClearLatches();
    State.ScreenState = ssAddProfile;
    SetPageFont(Game, 17);
    Game.NewGuiList();
    TProfilePagesState& Page = ProfilePages(Game);
    Page.FEdit = CreateNameEdit(Game, 291, 324);
    Page.FAddButton =
        AddMenuButton(Game, "b_add", 480, 404, [&Game](TGuiComponent*, int) { AddNamedProfile(Game); });
    SetActive(Page.FAddButton, false);
    Game.Pages.Parts.FGuiList->SetDefaultFocus(Page.FAddButton);
    // The letter grid rests under the page's panel, in the middle; "done" acts as Enter.
    Page.FGrid = CreateNameGrid(Game, Page.FEdit, 0, 462, [&Game] {
        const TGuiEdit* Edit = ProfilePages(Game).FEdit;
        if (Edit != nullptr && !Edit->Text.empty())
            AddNamedProfile(Game);
    });
    if (Page.FGrid != nullptr)
        Page.FGrid->Left = 400 - Page.FGrid->Width / 2;
    Game.Pages.Parts.FMenuScreen =
        new TMenuScreen(Game.SpriteEngine, Game.MenuImageList, true, 255, "scr_Add", "scr_add", 20, 184, 180);
    Game.ShowCursor(true);
    State.StateTicks = 0;
}

void AddProfileFrame(TGame& Game)
{
    TGameState& State = Game.State;
    TProfilePagesState& Page = ProfilePages(Game);
    NameEditFrame(Game, Page.FEdit);
    NameGridFrame(Game, Page.FGrid, true);
    const std::string Typed = Page.FEdit != nullptr ? Page.FEdit->Text : std::string();

    if (State.TakeReleased(vkReturn))
    {
        if (!Typed.empty())
            AddNamedProfile(Game);
        return;
    }
    if (State.TakeReleased(vkEscape))
    {
        Game.ChangeState(ssAddProfile, ssChooseProfile, "check2", TCueWhen::Always);
        return;
    }

    SetActive(Page.FAddButton, HasNonBlank(Typed));
    if (!BeginMenuFrame(Game, 0))
        return;
    DrawInactive(Page.FAddButton);
    EndMenuFrame(Game);
}

void LeaveAddProfile(TGame& Game)
{
    TProfilePagesState& Page = ProfilePages(Game);
    Game.SaveSettingsFile();
    if (Page.FEdit != nullptr)
        Page.FEdit->Text.clear();
    Game.Gui.ClearFocus();
    Game.FreeGuiList();
    Page.FEdit = nullptr;
    Page.FAddButton = nullptr;
    Page.FGrid = nullptr;
    KillMenuScreen(Game);
    Game.SpriteEngine.FreeDead();
}

void EnterChooseProfile(TGame& Game)
{
    TGameState& State = Game.State;
    TProfiles& Profiles = Game.Profiles;
    State.ClearLatches();
    State.ScreenState = ssChooseProfile;
    SetPageFont(Game, 12);
    // The highlighted row starts on the current profile (kept within the list).
    const int Count = ProfileCount(Game);
    Profiles.FProfileCursor = Count > 0 ? std::clamp(Profiles.FCurrentProfile, 0, Count - 1) : 0;

    Game.NewGuiList();
    TProfilePagesState& Page = ProfilePages(Game);
    Page.FUpButton = AddMenuButton(Game, "b_up", 568, 269, [&Game](TGuiComponent*, int) {
        Game.Sound3D.PlaySound("check");
        CursorUp(Game);
    });
    Page.FDownButton = AddMenuButton(Game, "b_down", 568, 358, [&Game](TGuiComponent*, int) {
        Game.Sound3D.PlaySound("check");
        CursorDown(Game);
    });
    Page.FAddButton = AddMenuButton(Game, "b_add", 316, 420, [&Game](TGuiComponent*, int) {
        if (ProfileCount(Game) >= kMaxProfiles)
            return;
        Game.ChangeState(ssChooseProfile, ssAddProfile, "check", TCueWhen::Always);
    });
    Page.FDeleteButton = AddMenuButton(Game, "b_delete", 424, 420, [&Game](TGuiComponent*, int) {
        if (ProfileCount(Game) <= 0)
            return;
        Game.ChangeState(ssChooseProfile, ssDeleteProfile, "check", TCueWhen::Always);
    });
    Page.FBackButton =
        AddMenuButton(Game, "b_back2", 208, 420, [&Game](TGuiComponent*, int) { BackToMenu(Game, "check"); });
    Page.FSelectButton = AddMenuButton(Game, "b_select", 532, 420, [&Game](TGuiComponent*, int) {
        Game.Profiles.SelectProfile(Game.State.PlayerName);
        Game.Sound3D.PlaySound("check");
    });

    // Up and Down move the highlighted row; Left, Right and Tab move the focus.
    Game.Pages.Parts.FGuiList->PageKeys = {vkUp, vkDown};
    Game.Pages.Parts.FGuiList->SetDefaultFocus(Page.FSelectButton);
    Game.Pages.Parts.FMenuScreen = new TMenuScreen(Game.SpriteEngine, Game.MenuImageList, true, 255,
                                                   "scr_change", "scr_change", 20, 160, 180);
    Page.FChooseLine =
        new TChooseLine(Game.SpriteEngine, Game.MenuImageList, Game.Rng, ChooseLineX,
                        ChooseLineFirstY + ListRowHeight * Profiles.FProfileCursor, &Profiles.FProfileCursor);
    UpdateListButtons(Game);
    Game.ShowCursor(true);
    State.StateTicks = 0;
}

void ChooseProfileFrame(TGame& Game)
{
    TGameState& State = Game.State;
    TProfiles& Profiles = Game.Profiles;
    // One key per frame, in this order; a frame that reads a key draws nothing.
    if (State.TakeReleased(vkEscape))
    {
        // With no profile there is nobody to play as: Esc does nothing.
        BackToMenu(Game, "check2");
        return;
    }
    if (State.TakeReleased(vkReturn))
    {
        Game.Sound3D.PlaySound("check2");
        Profiles.SelectProfile(State.PlayerName);
        return;
    }
    if (State.TakeReleased(vkUp))
    {
        if (Profiles.FProfileCursor > 0)
            Game.Sound3D.PlaySound("check");
        CursorUp(Game);
        return;
    }
    if (State.TakeReleased(vkDown))
    {
        if (Profiles.FProfileCursor < ProfileCount(Game) - 1)
            Game.Sound3D.PlaySound("check");
        CursorDown(Game);
        return;
    }

    UpdateListButtons(Game);
    if (!BeginMenuFrame(Game, 0))
        return;
    const TProfilePagesState& Page = ProfilePages(Game);
    for (const TGuiButton* Button : {Page.FUpButton, Page.FDownButton, Page.FAddButton, Page.FDeleteButton,
                                     Page.FBackButton, Page.FSelectButton})
        DrawInactive(Button);
    DrawProfileList(Game);
    EndMenuFrame(Game);
}

void LeaveChooseProfile(TGame& Game)
{
    TProfilePagesState& Page = ProfilePages(Game);
    Game.SaveSettingsFile();
    Game.FreeGuiList();
    Page.FUpButton = Page.FDownButton = Page.FAddButton = nullptr;
    Page.FDeleteButton = Page.FBackButton = Page.FSelectButton = nullptr;
    KillMenuScreen(Game);
    if (Page.FChooseLine != nullptr)
        Page.FChooseLine->Dead();
    Page.FChooseLine = nullptr;
    Game.SpriteEngine.FreeDead();
}

void EnterDeleteProfile(TGame& Game)
{
    TGameState& State = Game.State;
    State.ClearLatches();
    State.ScreenState = ssDeleteProfile;
    SetPageFont(Game, 15);
    Game.NewGuiList();
    AddMenuButton(Game, "b_yes", 278, 410, [&Game](TGuiComponent*, int) {
        Game.Profiles.DeleteProfile(Game.State.PlayerName);
        Game.ChangeState(ssDeleteProfile, ssChooseProfile, "check", TCueWhen::Always);
    });
    TGuiButton* No = AddMenuButton(Game, "b_no", 422, 410, [&Game](TGuiComponent*, int) {
        Game.ChangeState(ssDeleteProfile, ssChooseProfile, "check", TCueWhen::Always);
    });
    // The safe answer comes first: a deleted profile cannot come back.
    Game.Pages.Parts.FGuiList->SetDefaultFocus(No);
    Game.Pages.Parts.FMenuScreen = new TMenuScreen(Game.SpriteEngine, Game.MenuImageList, true, 255,
                                                   "scr_Delete", "scr_delete", 20, 184, 180);
    Game.ShowCursor(true);
    State.StateTicks = 0;
}

void DeleteProfileFrame(TGame& Game)
{
    TGameState& State = Game.State;
    if (State.TakeReleased(vkEscape))
    {
        Game.ChangeState(ssDeleteProfile, ssChooseProfile, "check2", TCueWhen::Always);
        return;
    }
    if (!BeginMenuFrame(Game, 0))
        return;
    // The question names the highlighted profile, which need not be the current one.
    const int Cursor = Game.Profiles.FProfileCursor;
    if (Cursor >= 0 && Cursor < ProfileCount(Game))
        TextOutCentredAt(Game.Font1, 417, 258, ProfileName(Game, Cursor));
    EndMenuFrame(Game);
}

void LeaveDeleteProfile(TGame& Game)
{
    Game.FreeGuiList();
    KillMenuScreen(Game);
    Game.SpriteEngine.FreeDead();
}

} // namespace vm
