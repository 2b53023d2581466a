// The high-score table and the question whether to clear it.
#include "pages/high_score_screens.h"

#include "engine/gui_button.h"
#include "engine/gui_list.h"
#include "pages/menu_frame.h"
#include "persist/online_scores.h"
#include "shell/game.h"
#include "shell/menu_screen.h"

namespace vm {

namespace {

// Table columns (centres) and rows: row p at y 256 + 14 p.
constexpr int PlaceCentreX = 275;
constexpr int NameCentreX = 390;
constexpr int ScoreCentreX = 532;
constexpr int TableTopY = 256;
constexpr int TableRowHeight = 14;

void TextOutCentredAt(TSystemFont& Font, int CentreX, int Y, const std::string& Text)
{
    Font.TextOut(CentreX - Font.TextWidth(Text) / 2, Y, Text);
}

void EnterPage(TGame& Game, int Which)
{
    Game.State.ClearLatches();
    Game.State.ScreenState = static_cast<std::uint8_t>(Which);
    Game.State.StateTicks = 0;
    Game.NewGuiList();
    Game.ShowCursor(true);
}

void LeavePage(TGame& Game)
{
    Game.FreeGuiList();
    if (Game.Pages.Parts.FMenuScreen != nullptr)
        Game.Pages.Parts.FMenuScreen->Dead();
    Game.Pages.Parts.FMenuScreen = nullptr;
    Game.SpriteEngine.FreeDead();
}

void DrawTable(TGame& Game)
{
    TSystemFont& Font = Game.Font1;
    Font.SetFont("Micra", 8, 1);
    Font.SetColor(0xFFFAFAFAu);
    for (int P = 1; P <= kHighScoreRows; ++P)
    {
        const THighScoreRow& Row = Game.HighScores.Row(P);
        const int Y = TableTopY + TableRowHeight * P;
        TextOutCentredAt(Font, PlaceCentreX, Y, Row.Place);
        TextOutCentredAt(Font, NameCentreX, Y, Row.Name);
        TextOutCentredAt(Font, ScoreCentreX, Y, Row.ScoreText);
    }
}

// Both answers of the question lead back to the table.
void BackToTable(TGame& Game)
{
    Game.ChangeState(ssClearHighScores, ssHighScores, "check", TCueWhen::Always);
}

} // namespace

void EnterHighScores(TGame& Game)
{
    EnterPage(Game, ssHighScores);
    AddMenuButton(Game, "b_clrhiscr", 452, 442, [&Game](TGuiComponent*, int) {
        Game.Sound3D.PlaySound("check");
        Game.ChangeState(ssHighScores, ssClearHighScores);
    });
    AddMenuButton(Game, "b_viewwhiscr", 386, 424, [&Game](TGuiComponent*, int) {
        // Without a browser to hand the page to, the button does nothing.
        if (Game.Shell == nullptr)
            return;
        Game.PlaySoundIfOn("check");
        ViewOnlineScores(*Game.Shell, Game.ScoreUrl);
    });
    AddMenuButton(Game, "b_replays", 234, 456, [&Game](TGuiComponent*, int) {
        Game.ChangeState(ssHighScores, ssReplays, "check", TCueWhen::Always);
    });
    TGuiButton* Back = AddMenuButton(Game, "b_back", 234, 424, [&Game](TGuiComponent*, int) {
        Game.ChangeState(ssHighScores, ssMainMenu, "check", TCueWhen::Always);
    });
    Game.Pages.Parts.FGuiList->SetDefaultFocus(Back);
    Game.Pages.Parts.FMenuScreen = new TMenuScreen(Game.SpriteEngine, Game.MenuImageList, true, 255,
                                                   "scrHiscr", "scr_hiscr", 20, 160, 180);
}

void HighScoresFrame(TGame& Game)
{
    TGameState& State = Game.State;
    if (State.TakeReleased(vkEscape))
    {
        Game.ChangeState(ssHighScores, ssMainMenu, "check2", TCueWhen::Always);
        return;
    }
    if (!BeginMenuFrame(Game, 0))
        return;
    DrawTable(Game);
    EndMenuFrame(Game);
}

void LeaveHighScores(TGame& Game) { LeavePage(Game); }

void EnterClearHighScores(TGame& Game)
{
    EnterPage(Game, ssClearHighScores);
    AddMenuButton(Game, "b_yes", 422, 414, [&Game](TGuiComponent*, int) {
        // The table changes in memory; the next save of the settings file stores it.
        Game.HighScores.ResetHighScores();
        BackToTable(Game);
    });
    TGuiButton* No =
        AddMenuButton(Game, "b_no", 278, 414, [&Game](TGuiComponent*, int) { BackToTable(Game); });
    // The safe answer comes first: cleared scores cannot come back.
    Game.Pages.Parts.FGuiList->SetDefaultFocus(No);
    Game.Pages.Parts.FMenuScreen = new TMenuScreen(Game.SpriteEngine, Game.MenuImageList, true, 255,
                                                   "clearhiscr", "scr_clearhiscr", 22, 193, 180);
}

void ClearHighScoresFrame(TGame& Game)
{
    TGameState& State = Game.State;
    if (State.TakeReleased(vkEscape))
    {
        Game.ChangeState(ssClearHighScores, ssHighScores, "check2", TCueWhen::Always);
        return;
    }
    if (BeginMenuFrame(Game, 0))
        EndMenuFrame(Game);
}

void LeaveClearHighScores(TGame& Game) { LeavePage(Game); }

} // namespace vm
