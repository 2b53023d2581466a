// The letter grid: cursor moves and how they hand over to the GUI's focus, typing through the
// edit's rules, the keyboard taking over, and the focus drawn on the key rather than the grid.
#include "gui_fixture.h"

#include "engine/gui_button.h"
#include "engine/gui_edit.h"
#include "engine/gui_letter_grid.h"
#include "engine/virtual_keys.h"

#include <algorithm>
#include <cmath>

namespace vm::test {
namespace {

// A name page in small: an edit, a button under it, the grid under both.
class GuiLetterGridTest : public TMenuFixture
{
protected:
    GuiLetterGridTest()
    {
        List = Gui.CreateList("GUI2");
        Edit = List->Create<TGuiEdit>();
        Edit->Left = 290, Edit->Top = 320, Edit->Width = 220, Edit->Height = 30;
        Edit->Font = &Font;
        Add = List->CreateButton(Image("b_on"), 480, 400, [this](TGuiComponent*, int) { Added = true; });
        Add->Name = "add";
        Grid = List->Create<TGuiLetterGrid>();
        Grid->Left = 244, Grid->Top = 462;
        Grid->Font = &Font;
        Grid->Attach(Edit);
        Grid->OnDone = [this](TGuiComponent*) { ++Done; };
        Gui.SetFocus(Edit);
    }
    // Presses Key as the pad would: down through the GUI.
    bool Press(int Key) { return Gui.KeyDown(Key) && Gui.KeyUp(Key); }
    // Walks the cursor to the key of Code and presses it.
    void Choose(char32_t Code)
    {
        for (int Row = 0; Row < TGuiLetterGrid::Rows; ++Row)
            for (int Column = 0; Column < TGuiLetterGrid::Columns; ++Column)
                if (TGuiLetterGrid::KeyAt(Row, Column).Code == Code)
                {
                    Grid->SetCursor(Row, Column);
                    Press(vkReturn);
                    return;
                }
        ADD_FAILURE() << "no key for " << static_cast<int>(Code);
    }
    std::string CursorLabel() const { return TGuiLetterGrid::Label(Grid->Current()); }

    TGuiList* List = nullptr;
    TGuiEdit* Edit = nullptr;
    TGuiButton* Add = nullptr;
    TGuiLetterGrid* Grid = nullptr;
    bool Added = false;
    int Done = 0;
};

TEST_F(GuiLetterGridTest, ArrowsWrapInARowAndLeaveTheGridUpwardsToTheButton)
{
    EXPECT_FALSE(Grid->IsOpen());
    Grid->Open(true);
    EXPECT_EQ(Gui.Focused(), Grid);
    EXPECT_FALSE(Edit->TabStop); // the arrows reach the grid, not the edit above it
    EXPECT_EQ(CursorLabel(), "A");

    EXPECT_TRUE(Press(vkLeft));
    EXPECT_EQ(CursorLabel(), "J");
    EXPECT_TRUE(Press(vkRight));
    EXPECT_EQ(CursorLabel(), "A");
    // "done" is two cells wide: one step onto it, one step off it, both ways.
    Grid->SetCursor(3, 7);
    EXPECT_EQ(CursorLabel(), "DEL");
    Press(vkRight);
    EXPECT_EQ(CursorLabel(), "DONE");
    Press(vkRight);
    EXPECT_EQ(CursorLabel(), "4");
    Press(vkLeft);
    EXPECT_EQ(CursorLabel(), "DONE");
    Press(vkLeft);
    EXPECT_EQ(CursorLabel(), "DEL");
    // Down from the bottom row stays; up and down keep the column.
    Press(vkDown);
    EXPECT_EQ(Gui.Focused(), Grid);
    Press(vkUp);
    EXPECT_EQ(CursorLabel(), "1");

    // Up from the top row: the GUI moves on to the button above, and back down into the grid.
    Grid->SetCursor(0, 5);
    EXPECT_TRUE(Press(vkUp));
    EXPECT_EQ(Gui.Focused(), Add);
    EXPECT_TRUE(Press(vkDown));
    EXPECT_EQ(Gui.Focused(), Grid);
    EXPECT_EQ(CursorLabel(), "F");
    // Up from the button finds no edit (it is no tab stop while the grid is up).
    Gui.SetFocus(Add);
    Press(vkUp);
    EXPECT_EQ(Gui.Focused(), Add);

    Gui.SetFocus(Grid);
    Grid->Close();
    EXPECT_FALSE(Grid->IsOpen());
    EXPECT_TRUE(Edit->TabStop);
    EXPECT_EQ(Gui.Focused(), Edit);
}

TEST_F(GuiLetterGridTest, KeysTypeByTheEditsRulesAndDoneRunsItsHandler)
{
    Grid->Open(true);
    Choose(U'A');
    Choose(U' ');
    Choose(U'7');
    EXPECT_EQ(Edit->Text, "A 7");
    // Backspace (the pad's X) and the delete key both erase before the caret.
    EXPECT_TRUE(Press(vkBack));
    EXPECT_EQ(Edit->Text, "A ");
    Grid->SetCursor(3, 7);
    EXPECT_TRUE(Grid->Press());
    EXPECT_EQ(Edit->Text, "A");
    EXPECT_TRUE(Grid->Press());
    EXPECT_FALSE(Grid->Press()); // nothing left to delete
    EXPECT_EQ(Edit->Text, "");

    // What the edit refuses is not typed: its filter, its case rule and its length limit.
    Edit->Accepts = [](char32_t Code) { return Code != U'q'; }; // asked after the case rule
    Edit->CharRule = crToLower;
    Edit->MaxLength = 3;
    Choose(U'Q');
    EXPECT_EQ(Edit->Text, "");
    Choose(U'B');
    Choose(U'O');
    Choose(U'B');
    Choose(U'S');
    EXPECT_EQ(Edit->Text, "bob");
    Edit->ReadOnly = true;
    Grid->SetCursor(0, 0);
    EXPECT_FALSE(Grid->Press());

    Grid->SetCursor(3, 9);
    EXPECT_TRUE(Press(vkReturn)); // taken: the page does not see this Enter
    EXPECT_EQ(Done, 1);
    EXPECT_FALSE(Added);
}

TEST_F(GuiLetterGridTest, AKeyboardKeyClosesTheGridAndGoesToTheEditAsWithoutIt)
{
    bool FromPad = true;
    Grid->KeysForGrid = [&FromPad] { return FromPad; };
    Grid->Open(true);
    Choose(U'A');
    Choose(U'B');
    Edit->CaretPos = Edit->Length();
    FromPad = false;
    // Backspace from the keyboard: the edit deletes, the grid is gone, the edit has the focus.
    EXPECT_TRUE(Gui.KeyDown(vkBack));
    EXPECT_EQ(Edit->Text, "A");
    EXPECT_FALSE(Grid->IsOpen());
    EXPECT_EQ(Gui.Focused(), Edit);
    // Enter is the page's again, and typed text reaches the edit.
    EXPECT_FALSE(Gui.KeyDown(vkReturn));
    Gui.TextInput("nn");
    EXPECT_EQ(Edit->Text, "Ann");
    EXPECT_EQ(Done, 0);

    // A keyboard arrow with the grid up moves the edit's caret, as it would have.
    Grid->Open(true);
    EXPECT_TRUE(Gui.KeyDown(vkLeft));
    EXPECT_EQ(Edit->CaretPos, 2);
    EXPECT_EQ(Gui.Focused(), Edit);
}

TEST_F(GuiLetterGridTest, TheFocusGlowsAroundTheChosenKeyNotAroundTheGrid)
{
    Gui.ShowFocus = true;
    Grid->Open(true);
    Grid->SetCursor(1, 2);
    Device.Log.clear();
    Gui.Draw();
    // Whether a quad's top-left corner lies at (X, Y), within the device's half-pixel shift.
    const auto StartsAt = [&](float X, float Y) {
        for (const auto& Drawn : Device.Log)
        {
            float MinX = 1e9f, MinY = 1e9f;
            for (const TVertex& V : Drawn.Quad)
                MinX = std::min(MinX, V.X), MinY = std::min(MinY, V.Y);
            if (std::abs(MinX - X) <= 1 && std::abs(MinY - Y) <= 1)
                return true;
        }
        return false;
    };
    const float KeyX = static_cast<float>(Grid->Left + TGuiLetterGrid::Padding +
                                          2 * (TGuiLetterGrid::CellWidth + TGuiLetterGrid::Gap));
    const float KeyY = static_cast<float>(Grid->Top + TGuiLetterGrid::Padding + TGuiLetterGrid::CellHeight +
                                          TGuiLetterGrid::Gap);
    EXPECT_TRUE(StartsAt(KeyX - TGuiFocusGlow::Outside, KeyY - TGuiFocusGlow::Outside));
    EXPECT_FALSE(StartsAt(static_cast<float>(Grid->Left - TGuiFocusGlow::Outside),
                          static_cast<float>(Grid->Top - TGuiFocusGlow::Outside)));
    // Every key is drawn, and the panel under them.
    EXPECT_TRUE(StartsAt(static_cast<float>(Grid->Left), static_cast<float>(Grid->Top)));

    // Unfocused, the grid shows no cursor; a closed grid draws nothing.
    Gui.SetFocus(Add);
    Device.Log.clear();
    Gui.Draw();
    EXPECT_FALSE(StartsAt(KeyX - TGuiFocusGlow::Outside, KeyY - TGuiFocusGlow::Outside));
    Grid->Close();
    Device.Log.clear();
    Gui.Draw();
    EXPECT_FALSE(StartsAt(static_cast<float>(Grid->Left), static_cast<float>(Grid->Top)));
}

} // namespace
} // namespace vm::test
