// The controls page: a row per action with a keys cell and a pad cell. Picking a cell waits for
// the next key (or pad control) and binds it; a key another action has is refused and named.
#include "pages/controls_screen.h"

#include "engine/gui_button.h"
#include "engine/gui_list.h"
#include "engine/image_list.h"
#include "engine/sprite.h"
#include "pages/menu_frame.h"
#include "pages/options_screen.h"
#include "shell/game.h"
#include "shell/menu_screen.h"

#include <array>

namespace vm {

namespace {

// The page picture "scr_controls" lies at (110, 140); rows of 24 pixels from y 222 with the
// action's name at x 134, its keys cell at x 270 and its pad cell at x 430; then the rumble
// row, the message line and the buttons.
constexpr int PageX = 110, PageY = 140;
constexpr int FirstRowY = 222, RowStep = 24;
constexpr int LabelX = 134, LabelInset = 5;
constexpr int KeysX = 270, PadX = 430, CellInset = 2;
constexpr int RumbleY = FirstRowY + ActionCount * RowStep + 10;
constexpr int MessageY = RumbleY + 34;
constexpr int ButtonsY = 478;

enum TCellKind
{
    ckKeys,
    ckPad,
};

// What the page keeps while it is up.
struct TControlsPageState
{
    std::array<std::array<TGuiButton*, 2>, ActionCount> FCells{};
    TGuiButton* FRumble = nullptr;
    // The action waiting for a key or pad control (-1: none), and which of the two.
    int FWaitAction = -1;
    TCellKind FWaitKind = ckKeys;
    // Keys that were down when a pick began or ended: their release belongs to that moment,
    // not to the page, and is dropped.
    std::array<bool, 256> FSwallow{};
    // The line under the table: the prompt, a refusal, or what was bound.
    std::string FMessage;

    void Forget()
    {
        FCells = {};
        FRumble = nullptr;
        FWaitAction = -1;
    }
};

TControlsPageState& Page(TGame& Game) { return Game.Pages.Keep<TControlsPageState>(); }

void ShowCells(TGame& Game)
{
    TControlsPageState& P = Page(Game);
    for (int Action = 0; Action < ActionCount; ++Action)
    {
        const TActionBinding& Binding = Game.State.Controls.Of(Action);
        if (TGuiButton* Keys = P.FCells[static_cast<std::size_t>(Action)][ckKeys])
            Keys->Caption = KeysText(Binding);
        if (TGuiButton* Pad = P.FCells[static_cast<std::size_t>(Action)][ckPad])
            Pad->Caption = PadText(Binding);
    }
    ShowToggle(Game, P.FRumble, Game.State.Controls.Rumble);
}

// Every key down now has its release dropped, and releases already latched go.
void SwallowHeldKeys(TGame& Game)
{
    TControlsPageState& P = Page(Game);
    for (std::size_t Key = 0; Key < P.FSwallow.size(); ++Key)
        P.FSwallow[Key] = P.FSwallow[Key] || Game.State.KeyHeld[Key] != 0;
    Game.State.KeyReleased.fill(0);
}

void StartPick(TGame& Game, int Action, TCellKind Kind)
{
    TControlsPageState& P = Page(Game);
    if (P.FWaitAction >= 0)
        return;
    Game.Sound3D.PlaySound("check");
    if (Kind == ckKeys && Action == acLeave)
    {
        P.FMessage = "Esc always leaves the race";
        return;
    }
    P.FWaitAction = Action;
    P.FWaitKind = Kind;
    P.FMessage =
        std::string(Kind == ckKeys ? "Press a key for " : "Press a pad button, trigger or stick for ") +
        ActionLabel(Action) + " (Esc cancels)";
    if (TGuiButton* Cell = P.FCells[static_cast<std::size_t>(Action)][Kind])
        Cell->Caption = "...";
    // Nothing on the page answers while it waits: Enter, Space or the pad's A go to the pick.
    Game.Pages.Parts.FGuiList->Enabled = false;
    Game.State.PadPressed = -1;
    SwallowHeldKeys(Game);
}

void EndPick(TGame& Game, const std::string& Message)
{
    TControlsPageState& P = Page(Game);
    const int Action = P.FWaitAction;
    const TCellKind Kind = P.FWaitKind;
    P.FWaitAction = -1;
    P.FMessage = Message;
    SwallowHeldKeys(Game);
    Game.State.PadPressed = -1;
    Game.Pages.Parts.FGuiList->Enabled = true;
    Game.Gui.SetFocus(P.FCells[static_cast<std::size_t>(Action)][Kind]);
    ShowCells(Game);
}

void Bind(TGame& Game, int Value)
{
    TControlsPageState& P = Page(Game);
    const int Action = P.FWaitAction;
    const bool IsKey = P.FWaitKind == ckKeys;
    const std::string Name = IsKey ? KeyLabel(Value) : PadControlLabel(Value);
    int Conflict = -1;
    const TBindResult Result = IsKey ? Game.State.Controls.BindKey(Action, Value, Conflict)
                                     : Game.State.Controls.BindPad(Action, Value, Conflict);
    switch (Result)
    {
    case TBindResult::Bound:
        Game.Sound3D.PlaySound("check");
        EndPick(Game, std::string(ActionLabel(Action)) + ": " + Name);
        break;
    case TBindResult::Taken:
        Game.Sound3D.PlaySound("check2");
        EndPick(Game, Name + " is already " + ActionLabel(Conflict));
        break;
    case TBindResult::Fixed:
        Game.Sound3D.PlaySound("check2");
        EndPick(Game, "That key cannot be bound");
        break;
    }
}

// One frame of waiting: the first key let go (or pad control pressed) is the pick; Esc cancels.
// The pad's buttons also arrive as keys, so a pad control seen while waiting for a key is
// dropped with the key it made, except that the pad's B (Esc) cancels as Esc does.
void WaitForPick(TGame& Game)
{
    TGameState& State = Game.State;
    TControlsPageState& P = Page(Game);
    if (State.PadPressed >= 0)
    {
        const int Control = State.PadPressed;
        State.PadPressed = -1;
        if (P.FWaitKind == ckPad)
            Bind(Game, Control);
        else if (State.KeyHeld[vkEscape] != 0 || State.KeyReleased[vkEscape] != 0)
            EndPick(Game, "");
        else
            SwallowHeldKeys(Game);
        return;
    }
    if (State.TakeReleased(vkEscape))
    {
        Game.Sound3D.PlaySound("check2");
        EndPick(Game, "");
        return;
    }
    if (P.FWaitKind == ckPad)
    {
        State.KeyReleased.fill(0);
        return;
    }
    for (int Key = 0; Key < 256; ++Key)
        if (State.KeyReleased[static_cast<std::size_t>(Key)] != 0)
        {
            Bind(Game, Key);
            return;
        }
}

void ResetControls(TGame& Game)
{
    Game.Sound3D.PlaySound("check");
    Game.State.Controls.Reset();
    Page(Game).FMessage = "The default controls are back";
    ShowCells(Game);
}

TGuiButton* AddCell(TGame& Game, int Action, TCellKind Kind)
{
    const int X = Kind == ckKeys ? KeysX : PadX;
    const int Y = FirstRowY + Action * RowStep + CellInset;
    TGuiButton* Cell =
        AddMenuButton(Game, Kind == ckKeys ? "b_keycell" : "b_padcell", X, Y,
                      [&Game, Action, Kind](TGuiComponent*, int) { StartPick(Game, Action, Kind); });
    Cell->Name = std::string(Kind == ckKeys ? "keys_" : "pad_") + ActionName(Action);
    Cell->CaptionColor = 0xFFF2F4F8u;
    return Cell;
}

void DrawTexts(TGame& Game)
{
    const TControlsPageState& P = Page(Game);
    for (int Action = 0; Action < ActionCount; ++Action)
        Game.Font2.TextOut(LabelX, FirstRowY + Action * RowStep + LabelInset, ActionLabel(Action));
    Game.Font2.TextOut(LabelX, RumbleY + LabelInset + 1, "Pad rumble");
    if (!P.FMessage.empty())
        Game.Font3.TextOut(400 - Game.Font3.TextWidth(P.FMessage) / 2, MessageY, P.FMessage);
}

} // namespace

void EnterControls(TGame& Game)
{
    TGameState& State = Game.State;
    TControlsPageState& P = Page(Game);
    State.ScreenState = ssControls;
    State.ClearLatches();
    State.StateTicks = 0;
    State.PadPressed = -1;
    P.FSwallow.fill(false);
    P.FMessage.clear();
    Game.Pages.Parts.FMenuScreen = new TMenuScreen(Game.SpriteEngine, Game.MenuImageList, true, 255,
                                                   "scrControls", "scr_controls", 20, PageY, PageX);
    Game.Font2.SetLook("Micra", 10, 1, 236, 240, 246);
    Game.Font3.SetLook("Micra", 10, 1, 255, 196, 70);
    // The cells' captions are drawn with the GUI's font, the one the name edits use.
    BuildEditFont(Game);

    Game.NewGuiList();
    P.Forget();
    for (int Action = 0; Action < ActionCount; ++Action)
    {
        P.FCells[static_cast<std::size_t>(Action)][ckKeys] = AddCell(Game, Action, ckKeys);
        P.FCells[static_cast<std::size_t>(Action)][ckPad] = AddCell(Game, Action, ckPad);
    }
    P.FRumble = AddMenuButton(Game, "b_on", KeysX, RumbleY, [&Game](TGuiComponent*, int) {
        Game.State.Controls.Rumble = !Game.State.Controls.Rumble;
        Game.Sound3D.PlaySound("check");
        ShowToggle(Game, Page(Game).FRumble, Game.State.Controls.Rumble);
    });
    AddMenuButton(Game, "b_reset", 290, ButtonsY, [&Game](TGuiComponent*, int) { ResetControls(Game); });
    AddMenuButton(Game, "b_back2", 410, ButtonsY, [&Game](TGuiComponent*, int) {
        Game.ChangeState(ssControls, ssOptions, "check", TCueWhen::Always);
    });
    ShowCells(Game);
    Game.Pages.Parts.FGuiList->SetDefaultFocus(P.FCells[0][ckKeys]);
    Game.ShowCursor(true);
}

void ControlsFrame(TGame& Game)
{
    TGameState& State = Game.State;
    TControlsPageState& P = Page(Game);
    for (std::size_t Key = 0; Key < P.FSwallow.size(); ++Key)
        if (P.FSwallow[Key] && State.KeyHeld[Key] == 0)
        {
            P.FSwallow[Key] = false;
            State.KeyReleased[Key] = 0;
        }

    if (P.FWaitAction >= 0)
        WaitForPick(Game);
    else if (State.TakeReleased(vkEscape))
    {
        Game.ChangeState(ssControls, ssOptions, "check2", TCueWhen::Always);
        return;
    }

    if (BeginMenuFrame(Game, 0))
    {
        DrawTexts(Game);
        EndMenuFrame(Game);
    }
    ++State.StateTicks;
}

void LeaveControls(TGame& Game)
{
    Game.SaveControlsFile();
    Game.FreeGuiList();
    Page(Game).Forget();
    if (Game.Pages.Parts.FMenuScreen != nullptr)
        Game.Pages.Parts.FMenuScreen->Dead();
    Game.Pages.Parts.FMenuScreen = nullptr;
    Game.SpriteEngine.FreeDead();
}

} // namespace vm
