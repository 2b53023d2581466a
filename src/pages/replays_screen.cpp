// The replays page: the list of kept runs read from their folder, the chosen row, and watching.
#include "pages/replays_screen.h"

#include "engine/gui_button.h"
#include "engine/gui_list.h"
#include "engine/image_draw.h"
#include "engine/image_list.h"
#include "engine/sprite.h"
#include "engine/system_font.h"
#include "pages/menu_frame.h"
#include "race/replay_view.h"
#include "shell/game.h"
#include "shell/menu_screen.h"

#include <algorithm>

namespace vm {

namespace {

// The page picture "scr_replays" lies at (110, 140): rows of 24 pixels from y 222 with the
// player at x 172, the date at x 300, the score centred on x 530 and the races on x 606; the
// message lines from y 424 and the buttons at y 478.
constexpr int PageX = 110, PageY = 140;
constexpr int FirstRowY = 222, RowStep = 24, RowsShown = 8, TextInset = 5;
constexpr int BandX = 126;
constexpr int PlayerX = 172, DateX = 300, ScoreCentreX = 530, RacesCentreX = 606;
constexpr int MessageY = 424, MessageStep = 15, MessageWidth = 540;

// What the page keeps while the game runs: the list as last read, the chosen run (by path, so
// that coming back from watching finds it again) and the message under the list.
struct TReplaysPageState
{
    std::vector<TKeptRun> Runs;
    int Selected = 0;
    int Top = 0;
    std::string SelectedPath;
    std::string Message;
};

TReplaysPageState& Page(TGame& Game) { return Game.Pages.Keep<TReplaysPageState>(); }

void Select(TGame& Game, int Row)
{
    TReplaysPageState& P = Page(Game);
    const int Count = static_cast<int>(P.Runs.size());
    P.Selected = Count > 0 ? std::clamp(Row, 0, Count - 1) : 0;
    P.Top = std::clamp(P.Top, std::max(0, P.Selected - RowsShown + 1), P.Selected);
    P.SelectedPath = Count > 0 ? P.Runs[static_cast<std::size_t>(P.Selected)].Path : std::string();
}

void PlaySelected(TGame& Game)
{
    TReplaysPageState& P = Page(Game);
    if (P.Runs.empty())
        return;
    Game.PlaySoundIfOn("check");
    std::string Error;
    // Watching leaves the page; it is entered again when the player comes back.
    if (!StartWatchingFile(Game, P.Runs[static_cast<std::size_t>(P.Selected)].Path, Error))
        P.Message = "This replay cannot be played: " + Error + ".";
}

void BackToHighScores(TGame& Game, const char* Sound)
{
    Game.ChangeState(ssReplays, ssHighScores, Sound, TCueWhen::Always);
}

std::string ScoreText(const TKeptRun& Run) { return Run.Finished ? std::to_string(Run.Score) : "unfinished"; }
std::string RacesText(const TKeptRun& Run) { return Run.Finished ? std::to_string(Run.Races) : "-"; }

void DrawList(TGame& Game)
{
    TReplaysPageState& P = Page(Game);
    if (const TImageListItem* Bar = Game.MenuImageList.Find("replayline"); Bar != nullptr && !P.Runs.empty())
    {
        // The bar pulses gently on the chosen row.
        const int Phase = Game.State.StateTicks % 60;
        const auto Alpha = static_cast<std::uint8_t>(150 + 3 * (Phase < 30 ? Phase : 60 - Phase));
        DrawImage(*Bar, BandX, FirstRowY + (P.Selected - P.Top) * RowStep, 0, 0, 0, 1, 1, 255, 255, 255,
                  Alpha, false, 0, 0);
    }
    TSystemFont& Font = Game.Font2;
    const int Last = std::min(static_cast<int>(P.Runs.size()), P.Top + RowsShown);
    for (int I = P.Top; I < Last; ++I)
    {
        const TKeptRun& Run = P.Runs[static_cast<std::size_t>(I)];
        const int Y = FirstRowY + (I - P.Top) * RowStep + TextInset;
        Font.TextOut(PlayerX, Y, Run.Player.empty() ? "-" : Run.Player);
        Font.TextOut(DateX, Y, FormatRunTime(Run.Time));
        const std::string Score = ScoreText(Run), Races = RacesText(Run);
        Font.TextOut(ScoreCentreX - Font.TextWidth(Score) / 2, Y, Score);
        Font.TextOut(RacesCentreX - Font.TextWidth(Races) / 2, Y, Races);
    }
    std::string Message = P.Message;
    if (Message.empty() && P.Runs.empty())
        Message = "No runs are kept yet: every run you play is recorded and listed here.";
    else if (Message.empty() && static_cast<int>(P.Runs.size()) > RowsShown)
        Message = "Run " + std::to_string(P.Selected + 1) + " of " + std::to_string(P.Runs.size());
    int Y = MessageY;
    for (const std::string& Line : WrapWords(Game.Font3, Message, MessageWidth))
    {
        Game.Font3.TextOut(400 - Game.Font3.TextWidth(Line) / 2, Y, Line);
        Y += MessageStep;
    }
}

} // namespace

void EnterReplays(TGame& Game)
{
    TGameState& State = Game.State;
    TReplaysPageState& P = Page(Game);
    State.ScreenState = ssReplays;
    State.ClearLatches();
    State.StateTicks = 0;
    P.Runs = Game.KeptRuns.List();
    P.Message.clear();
    int Row = 0;
    for (std::size_t I = 0; I < P.Runs.size(); ++I)
        if (P.Runs[I].Path == P.SelectedPath)
            Row = static_cast<int>(I);
    P.Top = 0;
    Select(Game, Row);

    Game.Pages.Parts.FMenuScreen = new TMenuScreen(Game.SpriteEngine, Game.MenuImageList, true, 255,
                                                   "scrReplays", "scr_replays", 20, PageY, PageX);
    Game.Font2.SetLook("Micra", 10, 1, 236, 240, 246);
    Game.Font3.SetLook("Micra", 10, 1, 255, 196, 70);
    Game.NewGuiList();
    TGuiButton* Back = AddMenuButton(Game, "b_back2", 290, 478,
                                     [&Game](TGuiComponent*, int) { BackToHighScores(Game, "check"); });
    TGuiButton* Play =
        AddMenuButton(Game, "b_play", 410, 478, [&Game](TGuiComponent*, int) { PlaySelected(Game); });
    // Up and Down choose the run; Left, Right and Tab move the focus between the buttons.
    Game.Pages.Parts.FGuiList->PageKeys = {vkUp, vkDown};
    Game.Pages.Parts.FGuiList->SetDefaultFocus(P.Runs.empty() ? Back : Play);
    Game.ShowCursor(true);
}

void ReplaysFrame(TGame& Game)
{
    TGameState& State = Game.State;
    TReplaysPageState& P = Page(Game);
    // One key a frame, in this order; a frame that leaves the page draws nothing.
    if (State.TakeReleased(vkEscape))
    {
        BackToHighScores(Game, "check2");
        return;
    }
    if (State.TakeReleased(vkReturn))
    {
        PlaySelected(Game);
        if (Game.Watching())
            return;
    }
    else if (State.TakeReleased(vkUp))
    {
        if (P.Selected > 0)
            Game.PlaySoundIfOn("check");
        Select(Game, P.Selected - 1);
    }
    else if (State.TakeReleased(vkDown))
    {
        if (P.Selected + 1 < static_cast<int>(P.Runs.size()))
            Game.PlaySoundIfOn("check");
        Select(Game, P.Selected + 1);
    }
    ++State.StateTicks;
    if (!BeginMenuFrame(Game, 0))
        return;
    DrawList(Game);
    EndMenuFrame(Game);
}

void LeaveReplays(TGame& Game)
{
    Game.FreeGuiList();
    if (Game.Pages.Parts.FMenuScreen != nullptr)
        Game.Pages.Parts.FMenuScreen->Dead();
    Game.Pages.Parts.FMenuScreen = nullptr;
    Game.SpriteEngine.FreeDead();
}

} // namespace vm
