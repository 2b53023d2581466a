// The main menu, help, options and exit-question pages of a whole game drawn by the real offscreen
// renderer with the real fonts. With VM_SHOT_DIR set, the pictures are saved there
// (menu_main.png, menu_help.png, menu_options.png, menu_exit.png) to be looked at.
#include "engine/gui_edit.h"
#include "page_shot_fixture.h"
#include "pages/menu_pages_state.h"
#include "pages/options_screen.h"

namespace vm {
namespace {

class MenuPagesShot : public test::PageShotTest
{
protected:
    void SetUp() override
    {
        PageShotTest::SetUp();
        Game->CreateMenuLights();
        Game->State.PlayerName = "Marta";
    }
};

TEST_F(MenuPagesShot, EachPageDrawsItsPictureButtonsAndTexts)
{
    Game->EnterState(ssMainMenu);
    RunFrames(2);
    const std::vector<std::uint32_t> Menu = Shot("menu_main.png");
    // The greeting in dark red on the background, centred on x 400 at y 530.
    Game->State.PlayerName = "";
    RunFrames(1);
    EXPECT_GT(Changed(Menu, Device->Last, 300, 528, 500, 550), 50);

    Game->LeaveState(ssMainMenu);
    Game->EnterState(ssHelp);
    RunFrames(30);
    const std::vector<std::uint32_t> Help = Shot("menu_help.png");
    EXPECT_GT(Changed(Menu, Help, 200, 180, 600, 400), 20000); // the help picture over the background
    EXPECT_GT(Changed(Menu, Help, 360, 420, 440, 440), 200);   // the back button on its row

    Game->LeaveState(ssHelp);
    BuildEditFont(*Game, &Text);
    Game->EnterState(ssOptions);
    RunFrames(3);
    MenuPages(*Game).FEditActive = true;
    Game->Gui.SetFocus(MenuPages(*Game).FEdit);
    Game->TextInput("Speedy");
    RunFrames(70);
    const std::vector<std::uint32_t> Options = Shot("menu_options.png");
    EXPECT_GT(Changed(Menu, Options, 200, 180, 600, 400), 20000);

    Game->LeaveState(ssOptions);
    Game->EnterState(ssExitQuestion);
    RunFrames(25);
    const std::vector<std::uint32_t> Exit = Shot("menu_exit.png");
    EXPECT_GT(Changed(Menu, Exit, 200, 200, 600, 380), 20000);
}

} // namespace
} // namespace vm
