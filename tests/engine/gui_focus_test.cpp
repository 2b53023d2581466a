// Keyboard focus: Tab order, arrow moves, the default widget, keys a page keeps, keys the GUI
// takes, the typing edit, focus by the mouse, and the ring drawn around the focused widget.
#include "gui_fixture.h"

#include "engine/gui_bar.h"
#include "engine/gui_button.h"
#include "engine/gui_edit.h"
#include "engine/virtual_keys.h"

namespace vm::test {
namespace {

// A menu laid out like the options page: two toggles in a column, a bar between two arrow
// buttons, and two buttons side by side at the bottom.
class GuiFocusTest : public TMenuFixture
{
protected:
    GuiFocusTest()
    {
        List = Gui.CreateList("GUI2");
        Top = Add("top", 500, 270);
        Middle = Add("middle", 500, 300);
        Down = Add("down", 460, 330);
        Bar = List->Create<TGuiBar>();
        Bar->Left = 490, Bar->Top = 331, Bar->Width = 100, Bar->Height = 20, Bar->Max = 10;
        Bar->Position = 5;
        Up = Add("up", 600, 330);
        Apply = Add("apply", 270, 420);
        Cancel = Add("cancel", 420, 420);
    }
    TGuiButton* Add(const std::string& Name, int Left, int Top)
    {
        TGuiButton* Button = List->CreateButton(Image("b_on"), Left, Top,
                                                [this, Name](TGuiComponent*, int) { Clicked += Name + " "; });
        Button->Name = Name;
        return Button;
    }
    std::string FocusName() const { return Gui.Focused() != nullptr ? Gui.Focused()->Name : "-"; }

    TGuiList* List = nullptr;
    TGuiButton *Top = nullptr, *Middle = nullptr, *Down = nullptr, *Up = nullptr, *Apply = nullptr,
               *Cancel = nullptr;
    TGuiBar* Bar = nullptr;
    std::string Clicked;
};

TEST_F(GuiFocusTest, TabGoesByRowsAndWrapsAndSkipsWhatCannotBeFocused)
{
    std::vector<std::string> Names;
    for (const TGuiComponent* Widget : Gui.TabOrder())
        Names.push_back(Widget->Name);
    // The bar sits a pixel lower than the arrows, yet in their row, between them.
    EXPECT_EQ(Names, (std::vector<std::string>{"top", "middle", "down", "", "up", "apply", "cancel"}));

    Middle->Visible = false;
    Down->Enabled = false;
    Gui.SetFocus(Top);
    EXPECT_TRUE(Gui.KeyDown(vkTab));
    EXPECT_EQ(Gui.Focused(), Bar);
    Gui.SetFocus(Cancel);
    Gui.KeyDown(vkTab);
    EXPECT_EQ(FocusName(), "top");
}

TEST_F(GuiFocusTest, ArrowsGoToTheNearestWidgetThatWayAndStayAtTheEdge)
{
    Gui.SetFocus(Apply);
    EXPECT_TRUE(Gui.KeyDown(vkLeft)); // nothing further left: stays, the key is still taken
    EXPECT_EQ(FocusName(), "apply");
    Gui.KeyDown(vkRight);
    EXPECT_EQ(FocusName(), "cancel"); // in line, before the bar up to the right
    Gui.KeyDown(vkRight);
    EXPECT_EQ(FocusName(), "down"); // out of line up to the right, the nearest that way
    Gui.KeyDown(vkTab);
    EXPECT_EQ(Gui.Focused(), Bar);
    Gui.KeyDown(vkTab);
    EXPECT_EQ(FocusName(), "up");
    Gui.KeyDown(vkUp);
    EXPECT_EQ(FocusName(), "middle"); // none in line above: the nearest out of line
    Gui.KeyDown(vkUp);
    EXPECT_EQ(FocusName(), "top");
    Gui.KeyDown(vkUp);
    EXPECT_EQ(FocusName(), "top");
    Gui.KeyDown(vkDown);
    Gui.KeyDown(vkLeft); // from the middle toggle: the arrow button left of it and lower
    EXPECT_EQ(FocusName(), "down");
    Gui.KeyDown(vkDown);
    EXPECT_EQ(FocusName(), "cancel"); // in line below, though apply is as near
}

TEST_F(GuiFocusTest, TheFirstKeyFocusesTheDefaultAndKeptKeysStayWithThePage)
{
    List->SetDefaultFocus(Cancel);
    List->PageKeys = {vkLeft, vkRight};
    EXPECT_FALSE(Gui.KeyDown(vkLeft)); // the page's own key: no focus from it
    EXPECT_EQ(Gui.Focused(), nullptr);
    EXPECT_FALSE(Gui.KeyDown(vkReturn)); // with nothing focused Enter is the page's
    EXPECT_TRUE(Gui.KeyDown(vkDown));
    EXPECT_EQ(FocusName(), "cancel"); // focused, not moved
    EXPECT_FALSE(Gui.KeyDown(vkLeft));
    EXPECT_EQ(FocusName(), "cancel");
    Gui.KeyDown(vkUp);
    EXPECT_EQ(FocusName(), "down"); // in line above (the bar lies further right)

    // A default that cannot be focused gives way to the first widget in Tab order.
    Gui.ClearFocus();
    Cancel->Visible = false;
    Gui.KeyDown(vkTab);
    EXPECT_EQ(FocusName(), "top");

    // A page without focusable widgets leaves every key alone.
    Gui.FreeList(List);
    Gui.CreateList("empty");
    EXPECT_FALSE(Gui.KeyDown(vkDown));
    EXPECT_FALSE(Gui.KeyDown(vkTab));
}

TEST_F(GuiFocusTest, EnterAndSpaceClickTheFocusedButtonAndItsReleaseIsTheGuis)
{
    Gui.SetFocus(Apply);
    EXPECT_TRUE(Gui.KeyDown(vkReturn));
    EXPECT_TRUE(Gui.KeyDown(vkSpace));
    EXPECT_EQ(Clicked, "apply apply ");
    EXPECT_TRUE(Gui.KeyUp(vkReturn));
    EXPECT_FALSE(Gui.KeyUp(vkReturn)); // forgotten after its release
    EXPECT_FALSE(Gui.KeyDown('A'));
    EXPECT_FALSE(Gui.KeyUp('A'));
    EXPECT_FALSE(Gui.KeyUp(-1));
    EXPECT_FALSE(Gui.KeyUp(100000));
}

TEST_F(GuiFocusTest, AFocusedBarStepsWithinItsRange)
{
    Gui.SetFocus(Bar);
    EXPECT_TRUE(Gui.KeyDown(vkRight));
    EXPECT_EQ(Bar->Position, 6);
    for (int I = 0; I < 20; ++I)
        Gui.KeyDown(vkLeft);
    EXPECT_EQ(Bar->Position, 0);
    EXPECT_EQ(Gui.Focused(), Bar); // at the end the focus stays on the bar
    Gui.KeyDown(vkUp);
    EXPECT_EQ(FocusName(), "middle");
}

TEST_F(GuiFocusTest, TheTypingEditKeepsTextWhileTheMouseFocusesAButton)
{
    TGuiEdit* Edit = List->Create<TGuiEdit>();
    Edit->Left = 270, Edit->Top = 380, Edit->Width = 200, Edit->Height = 20;
    Edit->Name = "edit";
    Gui.SetFocus(Edit);
    Gui.TextInput("ab");
    Gui.KeyDown(vkLeft); // the caret moves inside the text: the edit keeps the key
    EXPECT_EQ(Gui.Focused(), Edit);
    Gui.KeyDown(vkEnd);

    MoveTo(Apply->Left + 5, Apply->Top + 5);
    EXPECT_EQ(FocusName(), "apply");
    Gui.TextInput("c");
    EXPECT_FALSE(Gui.KeyDown(vkSpace)); // a blank typed, no click
    Gui.TextInput(" ");
    EXPECT_TRUE(Gui.KeyDown(vkBack));
    EXPECT_EQ(Edit->Text, "abc");
    EXPECT_EQ(Clicked, "");
    EXPECT_EQ(Gui.TypingTarget(), Edit);

    // The mouse gave the focus and takes it away again; the edit is not focused by a hover.
    MoveTo(Edit->Left + 5, Edit->Top + 5);
    EXPECT_EQ(Gui.Focused(), nullptr);
    MoveTo(5, 5);
    EXPECT_EQ(Gui.Focused(), nullptr);
    Gui.TextInput("d");
    EXPECT_EQ(Edit->Text, "abcd");

    // A focus the keys gave stays while the mouse moves where no widget is; one it moves onto
    // takes the focus.
    Gui.SetFocus(Cancel);
    MoveTo(10, 10);
    EXPECT_EQ(FocusName(), "cancel");
    MoveTo(Top->Left + 5, Top->Top + 5);
    EXPECT_EQ(FocusName(), "top");

    Gui.ClearFocus();
    Gui.TextInput("e");
    EXPECT_EQ(Edit->Text, "abcd");
}

TEST_F(GuiFocusTest, TheRingIsDrawnAroundTheFocusedWidgetOnly)
{
    Gui.ShowFocus = true;
    Gui.Draw();
    const std::size_t Plain = Device.Log.size();
    Device.Log.clear();
    Gui.SetFocus(Apply);
    Gui.Draw();
    ASSERT_EQ(Device.Log.size(), Plain + 8);
    // The eight parts end the frame and enclose the button with room to glow.
    float MinX = 1e9f, MaxX = -1e9f, MinY = 1e9f, MaxY = -1e9f;
    for (std::size_t I = Plain; I < Device.Log.size(); ++I)
        for (const TVertex& V : Device.Log[I].Quad)
            MinX = std::min(MinX, V.X), MaxX = std::max(MaxX, V.X), MinY = std::min(MinY, V.Y),
            MaxY = std::max(MaxY, V.Y);
    EXPECT_LT(MinX, Apply->Left);
    EXPECT_GT(MaxX, Apply->Left + Apply->Width);
    EXPECT_LT(MinY, Apply->Top);
    EXPECT_GT(MaxY, Apply->Top + Apply->Height);

    Device.Log.clear();
    Gui.ShowFocus = false;
    Gui.Draw();
    EXPECT_EQ(Device.Log.size(), Plain);
}

} // namespace
} // namespace vm::test
