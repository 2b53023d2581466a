// The game picture: scene begin/end, blend modes, and the global transform and colour that
// every quad passes through on its way to the render device.
#pragma once

#include "engine/game_constants.h"
#include "engine/render_device.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace vm {

class IMessageBox;
class TImageList;

class TScreen
{
public:
    // Device and messages are not owned and must outlive the screen; image lists that use the
    // screen must be destroyed before it.
    TScreen(IRenderDevice& Device, IMessageBox& Messages);
    ~TScreen();
    TScreen(const TScreen&) = delete;
    TScreen& operator=(const TScreen&) = delete;

    // Global transform and colour (the game keeps the identity and white).
    float ScaleX = 1.0f;
    float ScaleY = 1.0f;
    int CenterX = 0;
    int CenterY = 0;
    int OffsetX = 0;
    int OffsetY = 0;
    float Rotation = 0.0f;
    bool ShowMouseCursor = true;
    // On a device that draws nothing: whether text is still rasterised (tests read what the game
    // shows off the text rasterizer). Fast runs turn it off.
    bool RasteriseUnseenText = true;
    int Width = PictureWidth;
    int Height = PictureHeight;
    bool FullScreen = false;

    std::uint8_t Red() const { return FRed; }
    std::uint8_t Green() const { return FGreen; }
    std::uint8_t Blue() const { return FBlue; }
    std::uint8_t Alpha() const { return FAlpha; }
    void SetRed(std::uint8_t Value);
    void SetGreen(std::uint8_t Value);
    void SetBlue(std::uint8_t Value);
    void SetAlpha(std::uint8_t Value);
    std::uint32_t GlobalColor() const { return FGlobalColor; }

    // Brings the picture up: sets full screen and cursor, makes every registered image list's
    // textures. Returns false when the device is not usable.
    bool Initialize();
    void SetLinearFilter(bool On);
    void ToggleFullScreen();
    void Clear(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue, std::uint8_t Alpha);
    // Returns false (and draws nothing this frame) while the device is lost.
    bool BeginScene();
    // Draws what BeforePresent draws over the page, then presents; does nothing when no scene was
    // begun.
    void EndScene();
    // Drawn over every page just before it is presented (the game's notices); may be empty.
    std::function<void()> BeforePresent;
    bool InScene() const { return FInScene; }

    // Blend mode 0..13 (unknown values act as 0); -1 and the current mode change nothing.
    void SetBlendMode(int Mode);
    int BlendMode() const { return FBlendMode; }
    // Sets the destination factor directly, leaving the remembered mode alone.
    void SetDestBlend(TBlendFactor Dest);

    // Applies the global colour and transform, then draws the quad (TL, TR, BR, BL). On a device
    // that draws nothing the quad is handed over as it is.
    void DrawQuad(TTextureId Texture, TVertex (&Quad)[4]);
    // The device's DrawsNothing, or the screen hidden: quads need only be counted, not worked out.
    bool DrawsNothing() const { return FDrawsNothing || FHidden; }
    // Hidden, the game goes on as if drawn but nothing reaches the device: no clear, quad, blend
    // change or present, and BeforePresent is not called. For frames played faster than they
    // could be shown; the device gets the blend state back when the screen is shown again.
    void SetHidden(bool Hidden);
    bool Hidden() const { return FHidden; }
    // Hands a quad to a device that draws nothing, with no vertices worked out (as DrawQuad would
    // hand it over).
    void CountQuad(TTextureId Texture);

    // Image lists register themselves so that a device reset re-creates their textures.
    void AddImageList(TImageList* List);
    void RemoveImageList(TImageList* List);
    // After the device lost its textures: release and make them again.
    void Reset();
    void Finalize();

    IRenderDevice& Device() { return FDevice; }
    IMessageBox& Messages() { return FMessages; }

private:
    void ApplyBlend();

    IRenderDevice& FDevice;
    IMessageBox& FMessages;
    std::vector<TImageList*> FImageLists;
    std::uint8_t FRed = 255, FGreen = 255, FBlue = 255, FAlpha = 255;
    std::uint32_t FGlobalColor = 0xFFFFFFFFu;
    int FBlendMode = 0;
    TBlendFactor FSource = TBlendFactor::SrcAlpha;
    TBlendFactor FDest = TBlendFactor::InvSrcAlpha;
    bool FInScene = false;
    bool FReady = false;
    bool FDrawsNothing = false;
    bool FHidden = false;
};

} // namespace vm
