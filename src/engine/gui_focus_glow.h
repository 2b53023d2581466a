// The ring of light the GUI draws around the focused widget: made in code, drawn in nine parts.
#pragma once

#include <memory>

namespace vm {

class TImageList;
class TScreen;

// Owns a small image list on the screen (so a device reset makes its texture again). The
// ring's line lies on the widget's edge; its glow reaches Outside pixels out and Inside in.
class TGuiFocusGlow
{
public:
    static constexpr int Outside = 8;
    static constexpr int Inside = 4;

    explicit TGuiFocusGlow(TScreen* Screen);
    ~TGuiFocusGlow();
    TGuiFocusGlow(const TGuiFocusGlow&) = delete;
    TGuiFocusGlow& operator=(const TGuiFocusGlow&) = delete;

    // Draws the ring around (Left, Top, Width, Height); nothing without a screen or texture.
    void Draw(int Left, int Top, int Width, int Height);

private:
    TScreen* FScreen;
    std::unique_ptr<TImageList> FImages;
    bool FTried = false; // the texture is made once, on the first draw
};

} // namespace vm
