// The logo page: the logo fades in, stands, fades out, then the first page follows.
#include "pages/logo_screen.h"

#include "engine/image_list.h"
#include "engine/sprite.h"
#include "shell/game.h"
#include "shell/menu_screen.h"

namespace vm {

namespace {

constexpr int LogoLastTick = 384;

bool AnyProfileExists(const TGame& Game) { return Game.Profiles.FProfileCount > 0; }

} // namespace

void EnterLogo(TGame& Game)
{
    Game.State.ScreenState = ssLogo;
    Game.Sound3D.PlaySound("begin");
    float X = 400.0f, Y = 300.0f;
    if (TImageListItem* Item = Game.MenuImageList.Find("logo"))
    {
        X = 400.0f - Item->TileWidth() / 2.0f;
        Y = 300.0f - Item->TileHeight() / 2.0f;
    }
    Game.Pages.Parts.FMenuScreen =
        new TMenuScreen(Game.SpriteEngine, Game.MenuImageList, true, 0, "logo", "logo", 20, Y, X);
    Game.SpriteEngine.Move(0.0f);
    Game.State.StateTicks = 0;
}

void LogoFrame(TGame& Game)
{
    const int T = Game.State.StateTicks;
    TSprite* Logo = Game.Pages.Parts.FMenuScreen;
    if (Logo != nullptr)
    {
        if (T > 30 && T < 115)
            Logo->SetAlpha(Logo->Alpha() + 3);
        if (T > 290 && T < 340)
            Logo->SetAlpha(Logo->Alpha() - 5);
    }
    Game.DrawEmptyFrame();
    Game.State.StateTicks = T + 1;
    if (T == LogoLastTick)
    {
        Game.Screen.SetRed(255);
        Game.Screen.SetGreen(255);
        Game.Screen.SetBlue(255);
        Game.Screen.SetAlpha(255);
        Game.ChangeState(ssLogo, AnyProfileExists(Game) ? ssMainMenu : ssAddPlayer);
    }
}

void LeaveLogo(TGame& Game)
{
    for (int Index = 0; Index < Game.SpriteEngine.Count(); ++Index)
    {
        TSprite* Sprite = Game.SpriteEngine.Sprites(Index);
        if (Sprite != nullptr && Sprite->Name() == "square")
            Sprite->Dead();
    }
    if (Game.Pages.Parts.FMenuScreen != nullptr)
        Game.Pages.Parts.FMenuScreen->Dead();
    Game.Pages.Parts.FMenuScreen = nullptr;
    Game.SpriteEngine.FreeDead();
    Game.CreateMenuLights();
}

} // namespace vm
