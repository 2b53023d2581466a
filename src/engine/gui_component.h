// The base of every menu widget: rectangle, four state slots of images, font, and events.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vm {

class TBitmapFont;
class TGui;
class TGuiList;
class TImageListItem;

// Mouse buttons as the GUI numbers them.
enum TMouseButton : int
{
    mbLeft = 0,
    mbRight = 1,
    mbMiddle = 2,
};

// One state picture of a widget: 0 normal, 1 under the mouse, 2 pressed, 3 extra (a scroll bar's
// thumb or a button's overlay).
struct TGuiStateSlot
{
    const TImageListItem* Image = nullptr; // not owned; none by default
    int Pattern = -1;                      // current pattern, -1 = the whole image
    bool Animate = false;
    int AnimStart = 0;    // first pattern
    int AnimCount = 0;    // further patterns after the first
    int AnimSpeed = 0;    // delay in milliseconds (a step every delay / 10 frames)
    bool AnimLoop = true; // wrap to the first pattern, else stop at the end
    bool AnimReverse = false;
    bool AnimFinished = false;
    std::uint32_t Color = 0xFFFFFFFFu; // packed ARGB
    int BlendMode = 0;
    int FrameCount = 0; // frames since the last step

    // Back to the first pattern (the last when reversed), not finished.
    void RestartAnimation();
    // Counts one drawn frame and steps the pattern when its delay has passed.
    void AdvanceAnimation();
};

using TGuiClickEvent = std::function<void(class TGuiComponent* Sender, int Button)>;
using TGuiNotifyEvent = std::function<void(class TGuiComponent* Sender)>;
using TGuiKeyEvent = std::function<void(class TGuiComponent* Sender, int VirtualKey)>;

// Widgets are made by TGuiList::Create and owned by their list; others hold plain pointers that
// die with the list (or TGuiList::Free). The GUI resolves widgets only through live ids.
class TGuiComponent
{
public:
    explicit TGuiComponent(TGuiList& Owner);
    virtual ~TGuiComponent();
    TGuiComponent(const TGuiComponent&) = delete;
    TGuiComponent& operator=(const TGuiComponent&) = delete;

    int Id() const { return FId; }
    TGuiList& List() const { return FList; }
    TGui& Gui() const;

    std::string Name;
    bool Visible = true; // drawn and hit only while true
    bool Enabled = true; // hit only while true
    // Reached by the arrow keys and Tab, and focused when the mouse moves onto it.
    bool TabStop = false;
    int Left = 0, Top = 0;
    int Width = 20, Height = 15;
    bool MirrorX = false, MirrorY = false;
    TGuiStateSlot States[4];
    // Caption font (the GUI's, not owned) and the colour and scale copied from it at creation.
    TBitmapFont* Font = nullptr;
    std::uint8_t FontRed = 255, FontGreen = 255, FontBlue = 255, FontAlpha = 255;
    float FontScaleX = 1, FontScaleY = 1;

    // Events. A handler may free the widget's list: the GUI calls a copy and touches nothing
    // afterwards, but Sender must not be used after such a free.
    TGuiClickEvent OnClick;
    TGuiClickEvent OnDoubleClick; // when unset, a double-click calls OnClick
    TGuiNotifyEvent OnMouseEnter;
    TGuiNotifyEvent OnMouseLeave;
    TGuiKeyEvent OnKeyDown; // key-down while the widget has the focus

    void SetLeft(int Value) { Left = Value; }
    void SetTop(int Value) { Top = Value; }
    void SetWidth(int Value) { Width = Value; }
    void SetHeight(int Value) { Height = Value; }
    void SetStateImage(int Slot, const TImageListItem* Image);
    // Sets the slot's current and first pattern.
    void SetStatePattern(int Slot, int Pattern);
    void RestartAnimations();
    // Moves the widget to the end of its list: drawn last, hit first.
    void BringToFront();

    // Edges included: Left <= X <= Left + Width, Top <= Y <= Top + Height.
    bool Contains(int X, int Y) const;

    // Called by the GUI's Draw for a visible widget of a visible list.
    virtual void Draw();
    // Input dispatched by the GUI (defaults do nothing). Mouse positions are in screen pixels.
    virtual void MouseDown(int Button, int X, int Y);
    virtual void MouseDrag(int X, int Y);
    virtual void MouseUp(int Button);
    // True when the widget used the key; an unused arrow or Tab may then move the focus.
    virtual bool KeyDown(int VirtualKey);
    virtual void Character(char32_t Code);
    // Only edits take the keyboard focus by a click, and only they take typed text.
    virtual bool TakesFocusOnClick() const { return false; }
    virtual bool TakesText() const { return false; }
    // True for a widget that shows its own focus: the GUI then draws no ring around it.
    virtual bool DrawsOwnFocus() const { return false; }

protected:
    // The slot for the widget's mouse state: 0 normal, 1 under the mouse, 2 while the left button
    // is down on it; a slot without image falls back (2 to 1 to 0).
    int CurrentSlot() const;
    // Draws the slot's image stretched into the rectangle and advances its animation.
    void DrawSlot(int Slot, float X, float Y, float W, float H);
    void DrawSlot(int Slot)
    {
        DrawSlot(Slot, static_cast<float>(Left), static_cast<float>(Top), static_cast<float>(Width),
                 static_cast<float>(Height));
    }
    // Text measured and drawn with the widget's font at the widget's scale (0 without font or
    // for empty text); drawing uses Color (packed ARGB) and leaves the shared font as it was.
    int TextWidthOf(const std::string& Text) const;
    int TextHeightOf(const std::string& Text) const;
    void DrawText(float X, float Y, const std::string& Text, std::uint32_t Color);
    // The colour copied from the font at creation, packed ARGB.
    std::uint32_t FontColor() const;

private:
    TGuiList& FList;
    int FId;
};

} // namespace vm
