// Notices over the picture: queued, wrapped, drawn on a dark panel at the top, then faded out.
#include "engine/notice_board.h"

#include "engine/game_constants.h"
#include "engine/screen.h"

#include <algorithm>

namespace vm {

namespace {

constexpr int PanelLeft = 40;
constexpr int PanelWidth = PictureWidth - 2 * PanelLeft;
constexpr int Padding = 10;
constexpr int TitleHeight = 18;
constexpr int LineHeight = 15;
constexpr int PanelGap = 6;
constexpr const char* Face = "Micra";

} // namespace

TNoticeBoard::TNoticeBoard(TScreen& Screen, ITextRasterizer* Rasterizer)
    : FScreen(Screen), FTitleFont(&Screen, Rasterizer), FTextFont(&Screen, Rasterizer)
{
    FTitleFont.SetLook(Face, 11, 1, 255, 200, 40);
    FTextFont.SetLook(Face, 9, 0, 235, 235, 235);
}

TNoticeBoard::~TNoticeBoard()
{
    if (FWhite != 0)
        FScreen.Device().ReleaseTexture(FWhite);
}

void TNoticeBoard::Post(const std::string& Title, const std::string& Text)
{
    FNotices.push_back(TNotice{Title, WrapWords(FTextFont, Text, PanelWidth - 2 * Padding), 0});
    FPosted.push_back(Title + ": " + Text);
}

void TNoticeBoard::DrawPanel(int Top, int Height, std::uint8_t Alpha)
{
    if (FWhite == 0)
    {
        const std::uint32_t White = 0xFFFFFFFFu;
        FWhite = FScreen.Device().CreateTexture(1, 1, &White);
    }
    const auto Quad = [&](float Left, float Y, float Right, float Bottom, std::uint32_t Rgb) {
        const std::uint32_t Color = (static_cast<std::uint32_t>(Alpha) << 24) | Rgb;
        TVertex Corners[4] = {{Left, Y, Color, 0, 0},
                              {Right, Y, Color, 1, 0},
                              {Right, Bottom, Color, 1, 1},
                              {Left, Bottom, Color, 0, 1}};
        FScreen.DrawQuad(FWhite, Corners);
    };
    const float Left = PanelLeft, Right = PanelLeft + PanelWidth;
    const float Y = static_cast<float>(Top), Bottom = static_cast<float>(Top + Height);
    Quad(Left, Y, Right, Bottom, 0x101418);          // the panel
    Quad(Left, Y, Left + 4, Bottom, 0xFFC828);       // the accent bar
    Quad(Left, Bottom - 2, Right, Bottom, 0x303840); // the bottom edge
}

void TNoticeBoard::Draw()
{
    if (FNotices.empty() || !FScreen.InScene())
        return;
    // Ordinary alpha blending for the panels and texts; the page's own mode is put back after.
    const int PageBlend = FScreen.BlendMode();
    FScreen.SetBlendMode(0);
    int Top = PanelGap;
    const std::size_t Shown = std::min(FNotices.size(), MaxShown);
    for (std::size_t I = 0; I < Shown; ++I)
    {
        TNotice& Notice = FNotices[I];
        const int Left = ShowFrames - Notice.Frames;
        const int Fade = std::clamp(Left * 255 / FadeFrames, 0, 255);
        const int Height =
            Padding + TitleHeight + static_cast<int>(Notice.Lines.size()) * LineHeight + Padding;
        DrawPanel(Top, Height, static_cast<std::uint8_t>(Fade * 230 / 255));
        FTitleFont.SetAlpha(static_cast<std::uint8_t>(Fade));
        FTextFont.SetAlpha(static_cast<std::uint8_t>(Fade));
        FTitleFont.TextOut(PanelLeft + Padding + 4, Top + Padding, Notice.Title);
        int Y = Top + Padding + TitleHeight;
        for (const std::string& Line : Notice.Lines)
        {
            FTextFont.TextOut(PanelLeft + Padding + 4, Y, Line);
            Y += LineHeight;
        }
        Top += Height + PanelGap;
        ++Notice.Frames;
    }
    FNotices.erase(std::remove_if(FNotices.begin(), FNotices.begin() + static_cast<long>(Shown),
                                  [](const TNotice& Notice) { return Notice.Frames >= ShowFrames; }),
                   FNotices.begin() + static_cast<long>(Shown));
    FScreen.SetBlendMode(PageBlend);
}

void TNoticeBoard::DeviceReset()
{
    FWhite = 0;
    FTitleFont.DeviceReset();
    FTextFont.DeviceReset();
}

} // namespace vm
