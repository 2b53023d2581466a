// The car page, from which a run starts.
#include "pages/car_screen.h"

#include "engine/gui_button.h"
#include "engine/gui_list.h"
#include "engine/image_list.h"
#include "pages/choice_keys.h"
#include "pages/choice_pages_state.h"
#include "pages/menu_frame.h"
#include "race/run_start.h"
#include "shell/game.h"
#include "shell/menu_screen.h"

#include <algorithm>

namespace vm {

namespace {

constexpr int SlideFrames = 46;
constexpr float BarX = 386;
constexpr float BarY[4] = {343, 368, 393, 418};

// The shown car: the selected one, brought into the catalogue's range.
std::int32_t ShownCar(const TCatalogues& Catalogues) { return Catalogues.ClampedCarIndex(); }
const TCarInfo& ShownCarInfo(const TCatalogues& Catalogues) { return Catalogues.SelectedCar(); }

// The car's picture and its four quality bars, which scale about their left edge.
void ShowCar(TGame& Game)
{
    TChoicePagesState& Page = ChoicePages(Game);
    const TCarInfo& Car = ShownCarInfo(Game.Catalogues);
    if (TSprite* Picture = Page.FCarImage)
    {
        Picture->SetImage(Game.MenuImageList.Find(Car.ImageKey));
        Picture->SetRed(255);
        Picture->SetGreen(255);
        Picture->SetBlue(255);
    }
    // The race button shows only for a car that is open, as on the track page.
    if (Page.FRaceButton != nullptr)
        Page.FRaceButton->Visible = Car.Available != 0;
    const double Scales[4] = {Car.TopSpeed / 15.0, Car.Acceleration * 10.0 + 0.1, Car.TurnRate + 0.2,
                              Car.Grip};
    for (std::size_t I = 0; I < Page.FBars.size(); ++I)
        if (TSprite* Bar = Page.FBars[I])
        {
            Bar->Visible = true;
            Bar->ScaleX = static_cast<float>(Scales[I]);
        }
}

// Next (Step 1) or previous (Step -1) car, wrapping at both ends.
void StepCar(TGame& Game, int Step)
{
    Game.Sound3D.PlaySound("check");
    TCatalogues& Catalogues = Game.Catalogues;
    const std::int32_t Count = std::clamp(Catalogues.FCarMax, 0, kCarCount - 1) + 1;
    Catalogues.FCarIndex = (ShownCar(Catalogues) + Step + Count) % Count;
    ShowCar(Game);
}

void BackToMenu(TGame& Game) { Game.ChangeState(ssChooseCar, ssMainMenu, "check", TCueWhen::Always); }

// The run starts with the shown car; StartRun leaves this page itself.
void StartWithShownCar(TGame& Game)
{
    // A car the player has not opened yet is not raced, whichever way the start is asked for.
    if (ShownCarInfo(Game.Catalogues).Available == 0)
        return;
    Game.Catalogues.FCarIndex = ShownCar(Game.Catalogues);
    StartRun(Game);
}

// One frame of the buttons' slide-in: each moves 20 pixels a frame from off screen to its place.
void SlideButtons(TChoicePagesState& Page)
{
    if (Page.FSlideTicks >= SlideFrames)
        return;
    ++Page.FSlideTicks;
    if (TGuiButton* B = Page.FNextButton)
        B->Left = B->Left - 20 <= 210 ? 210 : B->Left - 20; // 220, then 200 is put back to 210
    if (TGuiButton* B = Page.FPrevButton)
        B->Left = std::min(B->Left + 20, 520);
    if (TGuiButton* B = Page.FBackButton)
        B->Left = B->Left + 20 > 281 ? 282 : B->Left + 20;
    if (TGuiButton* B = Page.FRaceButton)
        B->Left = B->Left - 20 < 426 ? 425 : B->Left - 20;
}

// The latched keys, one a frame in the order Esc, Enter, Right, Left. True when one was handled
// (the page may be gone then).
bool HandleCarKeys(TGame& Game)
{
    return HandleChoiceKeys(
        Game, ssChooseCar,
        [&Game] {
            if (ShownCarInfo(Game.Catalogues).Available != 0)
                StartWithShownCar(Game);
        },
        [&Game](int Step) { StepCar(Game, Step); });
}

} // namespace

void EnterChooseCar(TGame& Game)
{
    TChoicePagesState& Page = ChoicePages(Game);
    Game.State.ScreenState = ssChooseCar;
    Game.Font1.SetLook("Micra", 13, 1, 30, 30, 30);
    Game.NewGuiList();
    Page.FNextButton =
        AddMenuButton(Game, "bc_next", 900, 240, [&Game](TGuiComponent*, int) { StepCar(Game, 1); });
    Page.FPrevButton =
        AddMenuButton(Game, "bc_prev", -200, 240, [&Game](TGuiComponent*, int) { StepCar(Game, -1); });
    Page.FBackButton =
        AddMenuButton(Game, "b_back", -200, 443, [&Game](TGuiComponent*, int) { BackToMenu(Game); });
    Page.FRaceButton =
        AddMenuButton(Game, "bc_race", 900, 443, [&Game](TGuiComponent*, int) { StartWithShownCar(Game); });
    // Left and Right step the car; Up, Down and Tab move the focus.
    Game.Pages.Parts.FGuiList->PageKeys = {vkLeft, vkRight};
    Game.Pages.Parts.FGuiList->SetDefaultFocus(Page.FRaceButton);
    Game.Pages.Parts.FMenuScreen = new TMenuScreen(Game.SpriteEngine, Game.MenuImageList, true, 255,
                                                   "choosetrack", "scr_choosecar", 500, 150, 180);
    Page.FCarImage = new TMenuScreen(Game.SpriteEngine, Game.MenuImageList, true, 255, "carimage", "c_car1",
                                     521, 230, 370);
    for (std::size_t I = 0; I < Page.FBars.size(); ++I)
        Page.FBars[I] = new TMenuScreen(Game.SpriteEngine, Game.MenuImageList, true, 255,
                                        "bar" + std::to_string(I + 1), "bar", 522, BarY[I], BarX);
    ShowCar(Game);
    Game.ShowCursor(true);
    Game.State.ClearLatches();
    Game.State.StateTicks = 0;
    Page.FSlideTicks = 0;
}

void ChooseCarFrame(TGame& Game)
{
    if (HandleCarKeys(Game))
        return;
    SlideButtons(ChoicePages(Game));
    ++Game.State.StateTicks;
    BeginMenuFrame(Game, 1);
    EndMenuFrame(Game);
}

void LeaveChooseCar(TGame& Game)
{
    TChoicePagesState& Page = ChoicePages(Game);
    Game.FreeGuiList();
    Page.FNextButton = Page.FPrevButton = Page.FBackButton = Page.FRaceButton = nullptr;
    if (Game.Pages.Parts.FMenuScreen != nullptr)
        Game.Pages.Parts.FMenuScreen->Dead();
    Game.Pages.Parts.FMenuScreen = nullptr;
    if (Page.FCarImage != nullptr)
        Page.FCarImage->Dead();
    Page.FCarImage = nullptr;
    for (TSprite*& Bar : Page.FBars)
    {
        if (Bar != nullptr)
            Bar->Dead();
        Bar = nullptr;
    }
    Game.SpriteEngine.FreeDead();
}

} // namespace vm
