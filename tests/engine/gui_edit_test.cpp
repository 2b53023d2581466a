// The text edit: focus, typing rules with UTF-8 text, caret keys, and how it draws.
#include "gui_fixture.h"

#include "engine/gui_edit.h"
#include "engine/utf8.h"
#include "engine/virtual_keys.h"

namespace vm::test {
namespace {

class GuiEditTest : public TMenuFixture
{
protected:
    GuiEditTest()
    {
        List = Gui.CreateList("GUI2");
        const TImageListItem* Back = Image("Edit");
        Edit = List->Create<TGuiEdit>();
        Edit->SetStateImage(0, Back);
        Edit->Width = Back->TileWidth();
        Edit->Height = Back->TileHeight();
        Edit->Left = 465;
        Edit->Top = 354;
        Edit->MaxLength = 12;
        Edit->TextInset = 3;
        Edit->OnClick = [this](TGuiComponent*, int) { ++Clicks; };
        ClickAt(470, 360);
    }
    TGuiList* List = nullptr;
    TGuiEdit* Edit = nullptr;
    int Clicks = 0;
};

TEST_F(GuiEditTest, ClickingGivesTheFocusAndOnlyTheFocusedEditTypes)
{
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Gui.FocusId(), Edit->Id());
    Gui.TextInput("Ab");
    Gui.ClearFocus();
    Gui.TextInput("c");
    EXPECT_EQ(Edit->Text, "Ab");
    Gui.SetFocus(Edit);
    List->Enabled = false;
    Gui.TextInput("d");
    EXPECT_EQ(Edit->Text, "Ab");
}

TEST_F(GuiEditTest, MaxLengthCountsCharactersNotBytes)
{
    Gui.TextInput("ABCDEFGHIJKLM");
    EXPECT_EQ(Edit->Text, "ABCDEFGHIJKL"); // the 13th is refused
    Edit->Text.clear();
    Edit->CaretPos = 0;
    Gui.TextInput("ЁжикВТумане"); // 11 letters, 22 bytes
    Gui.TextInput("ЪЫ");
    EXPECT_EQ(Edit->Text, "ЁжикВТуманеЪ");
    EXPECT_EQ(Edit->Text.size(), 24u);
    EXPECT_EQ(Edit->Length(), 12);
    EXPECT_EQ(Edit->CaretPos, 12);
}

TEST_F(GuiEditTest, OnlyCharactersOfTheFontsSetAreTaken)
{
    Gui.TextInput("a\tä€😀\r_9 ~");
    EXPECT_EQ(Edit->Text, "a_9 ~");
    Gui.KeyDown(vkReturn); // Enter is not typed
    EXPECT_EQ(Edit->Text, "a_9 ~");
    // A damaged byte sequence types nothing but the characters around it.
    Gui.TextInput(std::string("\xD0"
                              "x\xFF"));
    EXPECT_EQ(Edit->Text, "a_9 ~x");
}

TEST_F(GuiEditTest, BackspaceAndDeleteRemoveWholeCharacters)
{
    Gui.TextInput("ИвАн");
    Gui.KeyDown(vkBack); // Backspace: the character before the caret
    EXPECT_EQ(Edit->Text, "ИвА");
    Gui.KeyDown(vkHome);
    Gui.KeyDown(vkRight);
    Gui.KeyDown(vkDelete); // Delete: the character after the caret
    EXPECT_EQ(Edit->Text, "ИА");
    EXPECT_EQ(Edit->CaretPos, 1);
    Gui.TextInput("я");
    EXPECT_EQ(Edit->Text, "ИяА");
    Gui.KeyDown(vkEnd);
    Gui.KeyDown(vkDelete); // nothing after the caret
    Gui.KeyDown(vkRight);
    EXPECT_EQ(Edit->CaretPos, 3);
    Gui.KeyDown(vkHome);
    Gui.KeyDown(vkBack); // nothing before the caret
    Gui.KeyDown(vkLeft);
    EXPECT_EQ(Edit->CaretPos, 0);
    EXPECT_EQ(Edit->Text, "ИяА");
    EXPECT_EQ(EncodeUtf8(DecodeUtf8(Edit->Text)), Edit->Text); // still whole UTF-8
}

TEST_F(GuiEditTest, TextSetFromOutsideKeepsTheCaretInside)
{
    Edit->Text = "Имя";
    Edit->CaretPos = 40;
    Gui.TextInput("!");
    EXPECT_EQ(Edit->Text, "Имя!");
    Edit->CaretPos = -3;
    Gui.TextInput("-");
    EXPECT_EQ(Edit->Text, "-Имя!");
}

TEST_F(GuiEditTest, CharacterRulesAndReadOnly)
{
    Edit->CharRule = crToUpper;
    Gui.TextInput("aёz1");
    EXPECT_EQ(Edit->Text, "AЁZ1");
    Edit->Text.clear();
    Edit->CharRule = crToLower;
    Gui.TextInput("QЖ");
    EXPECT_EQ(Edit->Text, "qж");
    Edit->Text.clear();
    Edit->CharRule = crDigits;
    Gui.TextInput("a1b2");
    EXPECT_EQ(Edit->Text, "12");
    Edit->Text.clear();
    Edit->CharRule = crUpperLetters;
    Gui.TextInput("aBвГ5");
    EXPECT_EQ(Edit->Text, "BГ");
    Edit->CharRule = crAny;
    Edit->ReadOnly = true;
    Gui.TextInput("x");
    Gui.KeyDown(vkBack);
    EXPECT_EQ(Edit->Text, "BГ");
}

TEST_F(GuiEditTest, AFilterRefusesCharactersAfterTheCaseRuleAndLeavesTheCaretAndDeleting)
{
    Edit->CharRule = crToUpper;
    Edit->Accepts = [](char32_t Code) { return Code != U'Q' && Code != U'%'; };
    Gui.TextInput("aq%b");
    EXPECT_EQ(Edit->Text, "AB"); // "q" became "Q" before the filter saw it
    EXPECT_EQ(Edit->CaretPos, 2);
    Gui.KeyDown(vkBack);
    EXPECT_EQ(Edit->Text, "A");
    EXPECT_FALSE(Edit->Type(U'%'));
    EXPECT_EQ(Edit->CaretPos, 1);
}

TEST_F(GuiEditTest, DrawsItsTextAtTheInsetAndTheCaretOnlyWithTheFocus)
{
    const TImageListItem& Sheet = *Images.ImageList.Items(0);
    const TImageListItem& Back = *Image("Edit");
    Gui.TextInput("Aя");
    Device.Log.clear();
    Gui.Draw();
    ASSERT_EQ(Device.Log.size(), 4u); // the box, two letters, the caret
    EXPECT_EQ(TileOf(Device.Log[0], Back), 0);
    EXPECT_EQ(TileOf(Device.Log[1], Sheet), 109);
    EXPECT_EQ(TileOf(Device.Log[2], Sheet), 74);
    EXPECT_EQ(TileOf(Device.Log[3], Sheet), Font.GlyphOf(U'_'));
    EXPECT_NEAR(Device.Log[1].Quad[0].X, 465 + 3, 1.0);
    EXPECT_NEAR(Device.Log[3].Quad[0].X, 465 + 3 + 24, 1.0); // after the two letters

    Edit->CaretText.clear(); // a page blinking the caret
    Device.Log.clear();
    Gui.Draw();
    EXPECT_EQ(Device.Log.size(), 3u);
    Edit->CaretText = "_";
    Gui.ClearFocus();
    Device.Log.clear();
    Gui.Draw();
    EXPECT_EQ(Device.Log.size(), 3u);
}

} // namespace
} // namespace vm::test
