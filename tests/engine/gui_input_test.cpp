// GUI input: clicks, hit edges, visibility, focus keys, mouse scaling and thinning, and lists
// freed under the mouse.
#include "gui_fixture.h"

#include "engine/gui_button.h"
#include "engine/gui_edit.h"
#include "engine/virtual_keys.h"

namespace vm::test {
namespace {

class GuiInputTest : public TMenuFixture
{
protected:
    GuiInputTest()
    {
        List = Gui.CreateList("GUI2");
        Options = List->CreateButton(Image("b_opt"), 552, 284, Count(OptionsClicks));
        Help = List->CreateButton(Image("b_help"), 552, 348, Count(HelpClicks));
    }
    TGuiClickEvent Count(int& Clicks)
    {
        return [&Clicks](TGuiComponent*, int Button) { Clicks += Button == mbLeft; };
    }
    TGuiList* List = nullptr;
    TGuiButton* Options = nullptr;
    TGuiButton* Help = nullptr;
    int OptionsClicks = 0, HelpClicks = 0;
};

TEST_F(GuiInputTest, AClickIsPressAndReleaseOnTheSameButton)
{
    ClickAt(560, 290);
    EXPECT_EQ(OptionsClicks, 1);
    EXPECT_EQ(HelpClicks, 0);

    // Pressed on one, released on the other: neither.
    MoveTo(560, 290);
    Gui.MouseButton(mbLeft, true);
    MoveTo(560, 355);
    Gui.MouseButton(mbLeft, false);
    EXPECT_EQ(OptionsClicks, 1);
    EXPECT_EQ(HelpClicks, 0);
    EXPECT_EQ(Gui.PressedId(), -1);

    // Pressed on nothing, released on a button: nothing.
    MoveTo(10, 10);
    Gui.MouseButton(mbLeft, true);
    MoveTo(560, 355);
    Gui.MouseButton(mbLeft, false);
    EXPECT_EQ(HelpClicks, 0);

    // The right button never clicks.
    Gui.MouseButton(mbRight, true);
    Gui.MouseButton(mbRight, false);
    EXPECT_EQ(HelpClicks, 0);
}

TEST_F(GuiInputTest, RightAndBottomEdgesAreInside)
{
    const int Right = Options->Left + Options->Width, Bottom = Options->Top + Options->Height;
    ClickAt(Right, Bottom);
    EXPECT_EQ(OptionsClicks, 1);
    ClickAt(Options->Left, Options->Top);
    EXPECT_EQ(OptionsClicks, 2);
    ClickAt(Right + 1, Bottom);
    ClickAt(Right, Bottom + 1);
    ClickAt(Options->Left - 1, Options->Top);
    EXPECT_EQ(OptionsClicks, 2);
}

TEST_F(GuiInputTest, InvisibleOrDisabledWidgetsAreNotClickable)
{
    Options->Visible = false;
    ClickAt(560, 290);
    Help->Enabled = false;
    ClickAt(560, 355);
    EXPECT_EQ(OptionsClicks + HelpClicks, 0);

    Options->Visible = true;
    Help->Enabled = true;
    List->Enabled = false;
    ClickAt(560, 290);
    EXPECT_EQ(OptionsClicks, 0);
    List->Enabled = true;
    List->Visible = false;
    ClickAt(560, 290);
    EXPECT_EQ(OptionsClicks, 0);
    List->Visible = true;
    ClickAt(560, 290);
    EXPECT_EQ(OptionsClicks, 1);
}

TEST_F(GuiInputTest, FocusedButtonClicksOnEnterOrSpace)
{
    Gui.KeyDown(vkReturn); // nothing has the focus
    EXPECT_EQ(OptionsClicks, 0);
    Gui.SetFocus(Options);
    Gui.KeyDown(vkReturn);
    Gui.KeyDown(vkSpace);
    Gui.KeyDown('A');
    EXPECT_EQ(OptionsClicks, 2);
    Gui.TextInput(" "); // typed text is not a key-down
    EXPECT_EQ(OptionsClicks, 2);
    Gui.ClearFocus();
    Gui.KeyDown(vkReturn);
    EXPECT_EQ(OptionsClicks, 2);
}

TEST_F(GuiInputTest, ClientPixelsAreScaledToTheScreen)
{
    Gui.Prepare(1600, 1200);
    MoveTo(800, 600);
    EXPECT_EQ(Gui.MouseX(), 400);
    EXPECT_EQ(Gui.MouseY(), 300);
    MoveTo(1105, 573); // 552.5 and 286.5 round to the nearest
    EXPECT_EQ(Gui.MouseX(), 553);
    EXPECT_EQ(Gui.MouseY(), 287);
    Gui.MouseButton(mbLeft, true);
    Gui.MouseButton(mbLeft, false);
    EXPECT_EQ(OptionsClicks, 1);

    Gui.Prepare(0, 0);
    EXPECT_EQ(Gui.MouseScaleX(), 1.0f);
    EXPECT_EQ(Gui.MouseScaleY(), 1.0f);
}

TEST_F(GuiInputTest, MovesWithinTenMillisecondsAreThinnedButNotLost)
{
    int Entered = 0;
    Options->OnMouseEnter = [&](TGuiComponent*) { ++Entered; };
    MoveTo(10, 10);
    Clock.Advance(9);
    Gui.MouseMove(560, 290); // 9 ms after the last handled move
    EXPECT_EQ(Gui.MouseX(), 10);
    EXPECT_EQ(Gui.HoverId(), -1);
    EXPECT_EQ(Entered, 0);
    Clock.Advance(1);
    Gui.MouseMove(561, 291); // 10 ms: handled
    EXPECT_EQ(Gui.MouseX(), 561);
    EXPECT_EQ(Gui.HoverId(), Options->Id());
    EXPECT_EQ(Entered, 1);

    // The last move before the mouse stops is held back, then used by the next press.
    Clock.Advance(2);
    Gui.MouseMove(560, 355);
    EXPECT_EQ(Gui.HoverId(), Options->Id());
    Gui.MouseButton(mbLeft, true);
    Gui.MouseButton(mbLeft, false);
    EXPECT_EQ(HelpClicks, 1);
    EXPECT_EQ(OptionsClicks, 0);
}

TEST_F(GuiInputTest, EnterAndLeaveFireOncePerCrossing)
{
    int Entered = 0, Left = 0;
    Options->OnMouseEnter = [&](TGuiComponent*) { ++Entered; };
    Options->OnMouseLeave = [&](TGuiComponent*) { ++Left; };
    MoveTo(560, 290);
    MoveTo(565, 292);
    EXPECT_EQ(Entered, 1);
    EXPECT_EQ(List->HoverId(), Options->Id());
    MoveTo(560, 355);
    EXPECT_EQ(Left, 1);
    EXPECT_EQ(List->HoverId(), Help->Id());
    // A widget that slides away from a still mouse is left at the next frame.
    Help->Left = 0;
    Gui.Draw();
    EXPECT_EQ(List->HoverId(), -1);
}

TEST_F(GuiInputTest, IdsStartAtOneAndAreNeverReused)
{
    EXPECT_EQ(Options->Id(), 1);
    EXPECT_EQ(Help->Id(), 2);
    EXPECT_EQ(Gui.Find(2), Help);
    Gui.FreeList(List);
    EXPECT_EQ(Gui.Find(1), nullptr);
    EXPECT_EQ(Gui.ListCount(), 0);
    TGuiList* Next = Gui.CreateList();
    TGuiButton* Button = Next->Create<TGuiButton>();
    EXPECT_EQ(Button->Id(), 3);
    EXPECT_EQ(Button->Caption, "3");
    EXPECT_EQ(Button->Width, 20);
    EXPECT_EQ(Button->Height, 15);
    Next->Free(Button);
    EXPECT_EQ(Gui.Find(3), nullptr);
    EXPECT_EQ(Next->Count(), 0);
}

TEST_F(GuiInputTest, FreeingAListUnderTheMouseIsSafe)
{
    MoveTo(560, 290);
    Gui.MouseButton(mbLeft, true);
    Gui.SetFocus(Options);
    Gui.FreeList(List);
    EXPECT_EQ(Gui.Find(Gui.HoverId()), nullptr);
    MoveTo(561, 291);
    Gui.MouseButton(mbLeft, false);
    Gui.KeyDown(vkReturn);
    Gui.Draw();
    EXPECT_EQ(OptionsClicks, 0);
    EXPECT_EQ(Gui.HoverId(), -1);
}

TEST_F(GuiInputTest, AClickHandlerMayFreeItsOwnList)
{
    // What every page button does: leave the page (freeing its widgets) and build the next.
    TGuiList* Next = nullptr;
    Options->OnClick = [&](TGuiComponent*, int) {
        Gui.FreeList(List);
        Next = Gui.CreateList("GUI2");
        Next->CreateButton(Image("b_back"), 552, 284, Count(HelpClicks));
    };
    ClickAt(560, 290);
    ASSERT_NE(Next, nullptr);
    EXPECT_EQ(Gui.ListCount(), 1);
    EXPECT_EQ(HelpClicks, 0); // the new button under the mouse was not clicked by the same release
    ClickAt(560, 290);
    EXPECT_EQ(HelpClicks, 1);
}

TEST_F(GuiInputTest, DoubleClickCallsItsOwnHandlerWhenThereIsOne)
{
    MoveTo(560, 290);
    Gui.MouseButton(mbLeft, true, true);
    Gui.MouseButton(mbLeft, false);
    EXPECT_EQ(OptionsClicks, 1); // no double-click handler: a click
    int Doubles = 0;
    Options->OnDoubleClick = [&](TGuiComponent*, int) { ++Doubles; };
    Gui.MouseButton(mbLeft, true, true);
    Gui.MouseButton(mbLeft, false);
    EXPECT_EQ(Doubles, 1);
    EXPECT_EQ(OptionsClicks, 1);
}

TEST_F(GuiInputTest, LaterWidgetsAndListsLieOnTop)
{
    TGuiList* Top = Gui.CreateList();
    int TopClicks = 0;
    Top->CreateButton(Image("b_opt"), 552, 284, Count(TopClicks));
    ClickAt(560, 290);
    EXPECT_EQ(TopClicks, 1);
    List->BringListToFront();
    ClickAt(560, 290);
    EXPECT_EQ(OptionsClicks, 1);
    Help->Top = Options->Top;
    ClickAt(560, 290);
    EXPECT_EQ(HelpClicks, 1);
    Options->BringToFront();
    ClickAt(560, 290);
    EXPECT_EQ(OptionsClicks, 2);
}

} // namespace
} // namespace vm::test
