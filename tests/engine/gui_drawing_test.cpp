// GUI drawing: state slots, stretching, slot animation, captions, bars and the background.
#include "gui_fixture.h"

#include "engine/gui_bar.h"
#include "engine/gui_button.h"
#include "engine/gui_scroll_bar.h"

namespace vm::test {
namespace {

class GuiDrawingTest : public TMenuFixture
{
protected:
    GuiDrawingTest() : Back(*Image("b_opt")) { List = Gui.CreateList("GUI2"); }
    // Draws one frame and returns the tiles of Item drawn in it.
    std::vector<int> Frame(const TImageListItem& Item)
    {
        Device.Log.clear();
        Gui.Draw();
        std::vector<int> Tiles;
        for (const auto& Drawn : Device.Log)
            if (Drawn.Texture == Item.Texture())
                Tiles.push_back(TileOf(Drawn, Item));
        return Tiles;
    }
    const TImageListItem& Back;
    TGuiList* List = nullptr;
};

TEST_F(GuiDrawingTest, SlotFollowsTheMouseAndFallsBackWhenEmpty)
{
    TGuiButton* Button = List->CreateButton(&Back, 552, 284, nullptr);
    EXPECT_EQ(Frame(Back), std::vector<int>{0});
    MoveTo(560, 290);
    EXPECT_EQ(Frame(Back), std::vector<int>{1});
    Gui.MouseButton(mbLeft, true);
    EXPECT_EQ(Frame(Back), std::vector<int>{1}); // no pressed picture: the hover one
    Button->SetStateImage(2, &Back);
    Button->SetStatePattern(2, 2);
    EXPECT_EQ(Frame(Back), std::vector<int>{2});
    // Dragged off the button: normal again.
    MoveTo(10, 10);
    EXPECT_EQ(Frame(Back), std::vector<int>{0});
}

TEST_F(GuiDrawingTest, InvisibleWidgetsAndListsAreNotDrawnDisabledOnesAre)
{
    TGuiButton* Button = List->CreateButton(&Back, 552, 284, nullptr);
    Button->Visible = false;
    EXPECT_TRUE(Frame(Back).empty());
    Button->Visible = true;
    List->Visible = false;
    EXPECT_TRUE(Frame(Back).empty());
    List->Visible = true;
    // A disabled widget stays on the page but never lights up.
    Button->Enabled = false;
    MoveTo(560, 290);
    EXPECT_EQ(Frame(Back), std::vector<int>{0});
}

TEST_F(GuiDrawingTest, ImageIsStretchedIntoTheRectangleWithTheSlotColour)
{
    TGuiButton* Button = List->CreateButton(&Back, 100, 50, nullptr);
    Button->Width = 300;
    Button->Height = 40;
    Button->States[0].Color = 0x80FF0000u;
    Frame(Back);
    const TVertex* Q = Device.Log.at(0).Quad;
    EXPECT_NEAR(Q[0].X, 100, 1.0);
    EXPECT_NEAR(Q[2].X, 400, 1.0);
    EXPECT_NEAR(Q[0].Y, 50, 1.0);
    EXPECT_NEAR(Q[2].Y, 90, 1.0);
    EXPECT_EQ(Q[0].Color >> 24, 0x7Fu); // alpha 128 through the screen's white
}

TEST_F(GuiDrawingTest, SlotAnimationStepsEveryDelayOverTenFramesAndLoops)
{
    TGuiButton* Button = List->CreateButton(&Back, 0, 0, nullptr);
    TGuiStateSlot& Slot = Button->States[0];
    Slot.Animate = true;
    Slot.AnimCount = 2;  // patterns 0, 1, 2
    Slot.AnimSpeed = 30; // a step every third frame
    std::vector<int> Seen;
    for (int Frames = 0; Frames < 10; ++Frames)
        Seen.push_back(Frame(Back).at(0));
    EXPECT_EQ(Seen, (std::vector<int>{0, 0, 0, 1, 1, 1, 2, 2, 2, 0}));
    EXPECT_FALSE(Slot.AnimFinished);

    Slot.AnimLoop = false;
    Button->RestartAnimations();
    Seen.clear();
    for (int Frames = 0; Frames < 10; ++Frames)
        Seen.push_back(Frame(Back).at(0));
    EXPECT_EQ(Seen, (std::vector<int>{0, 0, 0, 1, 1, 1, 2, 2, 2, 2}));
    EXPECT_TRUE(Slot.AnimFinished);

    // Entering the button restarts the animations.
    MoveTo(5, 5);
    EXPECT_FALSE(Slot.AnimFinished);
    EXPECT_EQ(Slot.Pattern, 0);
}

TEST_F(GuiDrawingTest, ReversedAnimationRunsBackwardFromTheLast)
{
    TGuiButton* Button = List->CreateButton(&Back, 0, 0, nullptr);
    TGuiStateSlot& Slot = Button->States[0];
    Slot.Animate = true;
    Slot.AnimCount = 2;
    Slot.AnimSpeed = 0; // a step every frame
    Slot.AnimReverse = true;
    Button->RestartAnimations();
    std::vector<int> Seen;
    for (int Frames = 0; Frames < 4; ++Frames)
        Seen.push_back(Frame(Back).at(0));
    EXPECT_EQ(Seen, (std::vector<int>{2, 1, 0, 2}));
}

TEST_F(GuiDrawingTest, CaptionIsCentredInTheCaptionColourAndLeavesTheFontAlone)
{
    const TImageListItem& Sheet = *Images.ImageList.Items(0);
    TGuiButton* Button = List->CreateButton(&Back, 100, 100, nullptr);
    Button->Width = 100;
    Button->Height = 40;
    Button->Caption = "AB";
    Frame(Back);
    ASSERT_EQ(Device.Log.size(), 3u);
    EXPECT_EQ(TileOf(Device.Log[1], Sheet), 109);
    // Centre 150, 120 less half the text (24 x 20).
    EXPECT_NEAR(Device.Log[1].Quad[0].X, 138, 1.0);
    EXPECT_NEAR(Device.Log[1].Quad[0].Y, 110, 1.0);
    EXPECT_EQ(Device.Log[1].Quad[0].Color & 0x00FFFFFFu, 0u); // black
    EXPECT_EQ(Font.Red, 255);

    Button->CenterCaption = false;
    Button->CaptionOffsetX = 2;
    Frame(Back);
    EXPECT_NEAR(Device.Log[1].Quad[0].X, 100 + 2 + 25, 1.0);

    // Without the overlay flag slot 3 stays off; with it, it is drawn over the state image.
    Button->SetStateImage(3, &Back);
    Button->SetStatePattern(3, 2);
    EXPECT_EQ(Frame(Back), std::vector<int>{0});
    Button->DrawOverlay = true;
    EXPECT_EQ(Frame(Back), (std::vector<int>{0, 2}));
}

TEST_F(GuiDrawingTest, BarPositionFollowsTheMouseInWholeCells)
{
    // The volume bar: 120 wide, positions 0..5, so cells of 120 div 6 = 20 pixels.
    TGuiScrollBar* Bar = List->Create<TGuiScrollBar>();
    Bar->Left = 486, Bar->Top = 328, Bar->Width = 120, Bar->Height = 20;
    Bar->Min = 0, Bar->Max = 5;
    MoveTo(530, 335); // 44 pixels in: 0 + 44 div 20 = 2
    Gui.MouseButton(mbLeft, true);
    EXPECT_EQ(Bar->Position, 2);
    EXPECT_TRUE(Bar->Dragging);
    MoveTo(606, 335); // the right edge: 120 div 20 = 6, clamped to 5
    EXPECT_EQ(Bar->Position, 5);
    MoveTo(300, 500); // dragged far left, off the bar: clamped to 0
    EXPECT_EQ(Bar->Position, 0);
    Gui.MouseButton(mbLeft, false);
    EXPECT_FALSE(Bar->Dragging);
    MoveTo(590, 335);
    EXPECT_EQ(Bar->Position, 0); // no longer held

    Bar->Vertical = true; // top is Max
    Bar->Left = 0, Bar->Top = 100, Bar->Width = 20, Bar->Height = 60, Bar->Max = 2;
    EXPECT_EQ(Bar->PositionAt(5, 100), 2);
    EXPECT_EQ(Bar->PositionAt(5, 125), 1);
    EXPECT_EQ(Bar->PositionAt(5, 160), 0); // 2 - 3, clamped

    // Smaller than its cell count, and an empty range: no division by zero.
    Bar->Vertical = false;
    Bar->Width = 3, Bar->Max = 5;
    EXPECT_EQ(Bar->PositionAt(2, 0), 2);
    Bar->Max = -1;
    EXPECT_EQ(Bar->PositionAt(2, 0), 0);
}

TEST_F(GuiDrawingTest, ScrollBarDrawsTheTrackThenTheThumbInItsCell)
{
    const TImageListItem& Track = *Image("opt_bar");
    TGuiScrollBar* Bar = List->Create<TGuiScrollBar>();
    Bar->Left = 486, Bar->Top = 328, Bar->Width = 120, Bar->Height = 20;
    Bar->Min = 0, Bar->Max = 5, Bar->Position = 3;
    Bar->SetStateImage(0, &Track);
    Bar->SetStatePattern(0, 1);
    Bar->SetStateImage(3, &Track);
    Bar->SetStatePattern(3, 0);
    EXPECT_EQ(Frame(Track), (std::vector<int>{1, 0}));
    EXPECT_NEAR(Device.Log[0].Quad[2].X, 606, 1.0);
    EXPECT_NEAR(Device.Log[1].Quad[0].X, 486 + 60, 1.0);
    EXPECT_NEAR(Device.Log[1].Quad[2].X, 486 + 80, 1.0);
}

TEST_F(GuiDrawingTest, BackgroundComesFirstThenListsInOrder)
{
    const TImageListItem& Main = *Image("mainback");
    Gui.Background = &Main;
    TGuiList* Second = Gui.CreateList();
    Second->CreateButton(Image("b_help"), 0, 0, nullptr);
    List->CreateButton(&Back, 0, 0, nullptr);
    Frame(Back);
    ASSERT_EQ(Device.Log.size(), 3u);
    EXPECT_EQ(Device.Log[0].Texture, Main.Texture());
    EXPECT_NEAR(Device.Log[0].Quad[2].X, Main.Width(), 1.0); // the whole image
    EXPECT_EQ(Device.Log[1].Texture, Back.Texture());
    List->BringListToFront();
    Frame(Back);
    EXPECT_EQ(Device.Log[2].Texture, Back.Texture());
}

} // namespace
} // namespace vm::test
