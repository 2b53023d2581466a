// The track page.
#include "pages/track_screen.h"
#include "pages/choice_pages_state.h"

#include "engine/gui_button.h"
#include "engine/gui_list.h"
#include "engine/image_list.h"
#include "pages/choice_keys.h"
#include "pages/menu_frame.h"
#include "shell/game.h"
#include "shell/menu_light.h"
#include "shell/menu_screen.h"

#include <algorithm>

namespace vm {

namespace {

constexpr int TitleCentreX = 419, ValueCentreX = 480, LabelX = 335;
constexpr int SlideFrames = 26;

void SetTrackFonts(TGame& Game)
{
    Game.Font1.SetLook("Micra", 13, 1, 255, 255, 255);
    Game.Font2.SetLook("Micra", 10, 1, 15, 15, 15);
    Game.Font3.SetLook("Micra", 15, 1, 14, 58, 69);
}

void TextOutCentred(TSystemFont& Font, int CentreX, int Y, const std::string& Text)
{
    Font.TextOut(CentreX - Font.TextWidth(Text) / 2, Y, Text);
}

// The shown track: the selected one, brought into the catalogue's range.
std::int32_t ShownTrack(const TCatalogues& Catalogues) { return Catalogues.ClampedTrackIndex(); }
const TTrackInfo& ShownTrackInfo(const TCatalogues& Catalogues) { return Catalogues.SelectedTrack(); }

// The preview (or the locked picture) and the race button follow the shown track's availability.
void ShowTrack(TGame& Game)
{
    TChoicePagesState& Page = ChoicePages(Game);
    const TTrackInfo& Track = ShownTrackInfo(Game.Catalogues);
    const bool Open = Track.Available != 0;
    if (Page.FTrackImage != nullptr)
        Page.FTrackImage->SetImage(Game.MenuImageList.Find(Open ? Track.ImageKey : "tr_notav"));
    if (Page.FRaceButton != nullptr)
        Page.FRaceButton->Visible = Open;
}

// Next (Step 1) or previous (Step -1) track, wrapping at both ends.
void StepTrack(TGame& Game, int Step)
{
    Game.Sound3D.PlaySound("check");
    TCatalogues& Catalogues = Game.Catalogues;
    const std::int32_t Count = std::clamp(Catalogues.FTrackMax, 0, kTrackSlots - 1) + 1;
    Catalogues.FTrackIndex = (ShownTrack(Catalogues) + Step + Count) % Count;
    ShowTrack(Game);
}

void BackToMenu(TGame& Game) { Game.ChangeState(ssChooseTrack, ssMainMenu, "check", TCueWhen::Always); }

void ToCarPage(TGame& Game) { Game.ChangeState(ssChooseTrack, ssChooseCar, "check", TCueWhen::Always); }

// One frame of the buttons' slide-in: each moves 20 pixels a frame from off screen to its place.
void SlideButtons(TChoicePagesState& Page)
{
    if (Page.FSlideTicks >= SlideFrames)
        return;
    ++Page.FSlideTicks;
    if (TGuiButton* B = Page.FNextButton)
        B->Left = std::max(B->Left - 20, 360); // 26 steps from 900 end at 380, short of the stop
    if (TGuiButton* B = Page.FPrevButton)
        B->Left = B->Left + 20 > 233 ? 234 : B->Left + 20;
    if (TGuiButton* B = Page.FBackButton)
        B->Left = B->Left + 20 > 8 ? 9 : B->Left + 20;
    if (TGuiButton* B = Page.FRaceButton)
        B->Left = B->Left - 20 < 643 ? 642 : B->Left - 20;
}

void DrawTrackFacts(TGame& Game)
{
    const std::int32_t Index = ShownTrack(Game.Catalogues);
    const TTrackInfo& Track = ShownTrackInfo(Game.Catalogues);
    const bool Open = Track.Available != 0;
    const std::string None = "-";
    TextOutCentred(Game.Font3, TitleCentreX, 68, Open ? Track.Name : "Track " + std::to_string(Index + 1));
    Game.Font1.TextOut(LabelX, 385, "Best time: ");
    TextOutCentred(Game.Font1, ValueCentreX, 385, Open ? FormatBestTime(Track) : "--:--:--");
    Game.Font1.TextOut(LabelX, 425, "Length:");
    TextOutCentred(Game.Font1, ValueCentreX, 425, Open ? Track.LengthText : None);
    Game.Font1.TextOut(LabelX, 463, "Laps:");
    TextOutCentred(Game.Font1, ValueCentreX, 463, Open ? std::to_string(Track.Laps) : None);
    Game.Font1.TextOut(LabelX, 501, "Opponents:");
    TextOutCentred(Game.Font1, ValueCentreX, 501, Open ? std::to_string(Track.Opponents) : None);
}

// The latched keys, one a frame in the order Esc, Enter, Right, Left. True when one was handled
// (the page may be gone then).
bool HandleTrackKeys(TGame& Game)
{
    return HandleChoiceKeys(
        Game, ssChooseTrack,
        [&Game] {
            if (ShownTrackInfo(Game.Catalogues).Available != 0)
                ToCarPage(Game);
        },
        [&Game](int Step) { StepTrack(Game, Step); });
}

} // namespace

std::string FormatBestTime(const TTrackInfo& Track)
{
    if (Track.BestMinutes >= kNoBestMinutes)
        return "--:--:--";
    auto TwoDigits = [](std::int32_t Value) { return (Value < 10 ? "0" : "") + std::to_string(Value); };
    return std::to_string(Track.BestMinutes) + ":" + TwoDigits(Track.BestSeconds) + ":" +
           TwoDigits(Track.BestHundredths);
}

void EnterChooseTrack(TGame& Game)
{
    TChoicePagesState& Page = ChoicePages(Game);
    Game.State.ScreenState = ssChooseTrack;
    SetTrackFonts(Game);
    Game.NewGuiList();
    Page.FNextButton =
        AddMenuButton(Game, "bc_next", 900, 131, [&Game](TGuiComponent*, int) { StepTrack(Game, 1); });
    Page.FPrevButton =
        AddMenuButton(Game, "bc_prev", -100, 323, [&Game](TGuiComponent*, int) { StepTrack(Game, -1); });
    Page.FBackButton =
        AddMenuButton(Game, "b_back", -200, 524, [&Game](TGuiComponent*, int) { BackToMenu(Game); });
    Page.FRaceButton =
        AddMenuButton(Game, "bc_race", 900, 524, [&Game](TGuiComponent*, int) { ToCarPage(Game); });
    // Left and Right step the track; Up, Down and Tab move the focus.
    Game.Pages.Parts.FGuiList->PageKeys = {vkLeft, vkRight};
    Game.Pages.Parts.FGuiList->SetDefaultFocus(Page.FRaceButton);
    Game.Pages.Parts.FMenuScreen = new TMenuScreen(Game.SpriteEngine, Game.MenuImageList, true, 255,
                                                   "choosetrack", "scr_choose", 500, 0, 0);
    Page.FTrackImage = new TMenuScreen(Game.SpriteEngine, Game.MenuImageList, true, 255, "trackimage",
                                       "tr_notav", 521, 156, 312);
    ShowTrack(Game);
    Game.ShowCursor(true);
    Game.State.ClearLatches();
    Game.State.StateTicks = 0;
    Page.FSlideTicks = 0;
}

void ChooseTrackFrame(TGame& Game)
{
    if (HandleTrackKeys(Game))
        return;
    SlideButtons(ChoicePages(Game));
    ++Game.State.StateTicks;
    if (BeginMenuFrame(Game, 1))
    {
        DrawTrackFacts(Game);
        for (TLight* Light : Game.Pages.Parts.FMenuLights)
            if (Light != nullptr)
                Light->Draw();
    }
    EndMenuFrame(Game);
}

void LeaveChooseTrack(TGame& Game)
{
    TChoicePagesState& Page = ChoicePages(Game);
    Game.FreeGuiList();
    Page.FNextButton = Page.FPrevButton = Page.FBackButton = Page.FRaceButton = nullptr;
    if (Game.Pages.Parts.FMenuScreen != nullptr)
        Game.Pages.Parts.FMenuScreen->Dead();
    Game.Pages.Parts.FMenuScreen = nullptr;
    if (Page.FTrackImage != nullptr)
        Page.FTrackImage->Dead();
    Page.FTrackImage = nullptr;
    Game.SpriteEngine.FreeDead();
}

} // namespace vm
