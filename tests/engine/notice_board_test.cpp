// Notices over the picture: wrapped to the panel, up for their time, a few at once, and drawn
// over the page without changing its blend mode.
#include "engine/notice_board.h"

#include "engine/null_render_device.h"
#include "engine/screen.h"
#include "fake_text_rasterizer.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace vm {
namespace {

class NoticeBoardTest : public ::testing::Test
{
protected:
    NoticeBoardTest()
    {
        Screen.BeforePresent = [this] { Board.Draw(); };
    }
    void Frames(int Count)
    {
        for (int I = 0; I < Count; ++I)
        {
            ASSERT_TRUE(Screen.BeginScene());
            Screen.SetBlendMode(5);
            Screen.EndScene();
            EXPECT_EQ(Screen.BlendMode(), 5);
        }
    }

    TNullRenderDevice Device;
    test::TMessageRecorder Messages;
    TScreen Screen{Device, Messages};
    test::TFakeTextRasterizer Text;
    TNoticeBoard Board{Screen, &Text};
};

TEST_F(NoticeBoardTest, LongTextsWrapAtWordsAndNoWordIsLost)
{
    std::string Text;
    for (int I = 0; I < 60; ++I)
        Text += "word" + std::to_string(I) + " ";
    // A path with no blank in it, wider than the whole panel.
    for (int I = 0; I < 40; ++I)
        Text += "/folder" + std::to_string(I);
    Board.Post("Title", Text);
    const auto& Lines = Board.Notices().at(0).Lines;
    ASSERT_GT(Lines.size(), 2u);
    std::string Joined;
    for (const std::string& Line : Lines)
    {
        EXPECT_FALSE(Line.empty());
        Joined += (Joined.empty() ? "" : " ") + Line;
    }
    EXPECT_EQ(Joined, Text);
    // The long path has a line of its own, the words before it lines that fit.
    EXPECT_LT(Text.find(Lines[0]), Text.find('/'));
    EXPECT_EQ(Lines.back(), Text.substr(Text.rfind(' ') + 1));
}

TEST_F(NoticeBoardTest, NoticesStayTheirTimeAFewAtOnceAndTheRestWait)
{
    for (int I = 0; I < 5; ++I)
        Board.Post("Notice " + std::to_string(I), "text");
    Frames(1);
    ASSERT_EQ(Board.Notices().size(), 5u);
    for (std::size_t I = 0; I < 5; ++I)
        EXPECT_EQ(Board.Notices()[I].Frames, I < TNoticeBoard::MaxShown ? 1 : 0);
    Frames(TNoticeBoard::ShowFrames - 1);
    // The first three went after their time; the two that waited are up now.
    ASSERT_EQ(Board.Notices().size(), 2u);
    EXPECT_EQ(Board.Notices()[0].Title, "Notice 3");
    Frames(TNoticeBoard::ShowFrames);
    EXPECT_TRUE(Board.Notices().empty());
    EXPECT_EQ(Board.Posted().size(), 5u);
    EXPECT_EQ(Board.Posted()[4], "Notice 4: text");
    // Frames that are skipped (no scene) do not use up a notice's time.
    Board.Post("Late", "text");
    Screen.EndScene();
    EXPECT_EQ(Board.Notices()[0].Frames, 0);
}

} // namespace
} // namespace vm
