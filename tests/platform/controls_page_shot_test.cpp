// The controls page and the first help page drawn by the real offscreen renderer with the real
// fonts. With VM_SHOT_DIR set, the pictures are saved there (controls.png, controls_wait.png,
// controls_taken.png, help_keys.png, help_pad.png) to be looked at.
#include "engine/gui.h"
#include "engine/pad_input.h"
#include "page_shot_fixture.h"

namespace vm {
namespace {

class ControlsPageShot : public test::PageShotTest
{};

TEST_F(ControlsPageShot, TheCellsShowTheBindingsAndTheLineUnderThemWhatHappens)
{
    Game->EnterState(ssControls);
    Game->Gui.SetFocus(Game->Pages.Parts.FGuiList->Widget(0)); // accelerate's keys, ringed
    RunFrames(3);
    const std::vector<std::uint32_t> Normal = Shot("controls.png");

    // Waiting for a key: the accelerate cell empties and the prompt appears under the table.
    Press(vkReturn);
    const std::vector<std::uint32_t> Waiting = Shot("controls_wait.png");
    EXPECT_GT(Changed(Normal, Waiting, 270, 224, 420, 244), 30);
    EXPECT_GT(Changed(Normal, Waiting, 150, 456, 650, 474), 200);

    // A taken key: refused, the line names who has it, and the cell is as it was, focus and all.
    Press(vkLeft);
    const std::vector<std::uint32_t> Taken = Shot("controls_taken.png");
    EXPECT_GT(Changed(Waiting, Taken, 150, 456, 650, 474), 200);
    EXPECT_EQ(Changed(Normal, Taken, 270, 224, 420, 244), 0);
}

TEST_F(ControlsPageShot, HelpWritesTheKeysAndAfterPadInputThePadsControls)
{
    Game->EnterState(ssHelp);
    RunFrames(30);
    const std::vector<std::uint32_t> Keys = Shot("help_keys.png");
    Game->PadAdded(0);
    Game->PadAxis(0, paLeftY, 32767);
    Game->PadAxis(0, paLeftY, 0);
    RunFrames(2);
    const std::vector<std::uint32_t> Pad = Shot("help_pad.png");
    // The key column changes in every row; what the actions do stays.
    for (int Row = 0; Row < ActionCount; ++Row)
        EXPECT_GT(Changed(Keys, Pad, 206, 226 + 24 * Row, 396, 245 + 24 * Row), 20) << "row " << Row;
    EXPECT_EQ(Changed(Keys, Pad, 398, 226, 600, 410), 0);
}

} // namespace
} // namespace vm
