// Notices over the picture: short messages to the player (a file that could not be saved, files
// moved at start-up) that show for a few seconds over whatever page is up, without stopping it.
#pragma once

#include "engine/render_device.h"
#include "engine/system_font.h"

#include <string>
#include <vector>

namespace vm {

class TScreen;
class ITextRasterizer;

class TNoticeBoard
{
public:
    // Frames a notice stays up (8 s at 90 frames a second), the last of them fading.
    static constexpr int ShowFrames = 720;
    static constexpr int FadeFrames = 60;
    // Notices up at once; later ones wait for a place.
    static constexpr std::size_t MaxShown = 3;

    // Screen and Rasterizer are not owned and must outlive the board; without a rasterizer the
    // texts are not drawn (the panel still is).
    TNoticeBoard(TScreen& Screen, ITextRasterizer* Rasterizer);
    ~TNoticeBoard();
    TNoticeBoard(const TNoticeBoard&) = delete;
    TNoticeBoard& operator=(const TNoticeBoard&) = delete;

    // Queues a notice: a title line and a text wrapped to the panel's width.
    void Post(const std::string& Title, const std::string& Text);
    // Draws the notices that are up and counts their frames; called once a frame, inside the
    // scene, after the page has drawn.
    void Draw();
    // The device lost its textures: they are made again when next drawn.
    void DeviceReset();

    struct TNotice
    {
        std::string Title;
        std::vector<std::string> Lines;
        int Frames = 0; // frames shown so far
    };
    // Waiting and shown notices, the shown ones first.
    const std::vector<TNotice>& Notices() const { return FNotices; }
    // Every notice posted so far, as "Title: text", for the headless runner's report.
    const std::vector<std::string>& Posted() const { return FPosted; }

private:
    void DrawPanel(int Top, int Height, std::uint8_t Alpha);

    TScreen& FScreen;
    TSystemFont FTitleFont;
    TSystemFont FTextFont;
    TTextureId FWhite = 0;
    std::vector<TNotice> FNotices;
    std::vector<std::string> FPosted;
};

} // namespace vm
