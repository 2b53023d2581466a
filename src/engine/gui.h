// The menu GUI: its widget lists, the id registry, and mouse and keyboard input for the widgets.
#pragma once

#include "engine/gui_component.h"
#include "engine/gui_focus_glow.h"
#include "engine/gui_list.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace vm {

class IClock;
class TBitmapFont;
class TImageListItem;
class TScreen;

// One per game. The game forwards its window input (MouseMove, MouseButton, KeyDown, TextInput)
// between frames and calls Draw from the page frames, inside the scene.
class TGui
{
public:
    // Screen, font and clock are not owned and must outlive the GUI. Without a clock mouse moves
    // are not thinned.
    TGui(TScreen* Screen, TBitmapFont* BitmapFont, IClock* Clock);
    ~TGui();
    TGui(const TGui&) = delete;
    TGui& operator=(const TGui&) = delete;

    TScreen* Screen;
    TBitmapFont* BitmapFont;
    // Drawn whole at (0, 0) before the lists when set (not owned).
    const TImageListItem* Background = nullptr;

    // Lists: made here, owned here, freed here (with their widgets).
    TGuiList* CreateList(const std::string& Name = "");
    void FreeList(TGuiList* List);
    void BringToFront(TGuiList* List);
    int ListCount() const { return static_cast<int>(FLists.size()); }
    TGuiList* List(int Index) const;

    // The live widget of an id; nullptr for ids never given or already freed.
    TGuiComponent* Find(int Id) const;
    // Called by TGuiComponent's constructor and destructor.
    int RegisterWidget(TGuiComponent* Widget);
    void UnregisterWidget(int Id);

    // At start-up and whenever the window's client size changes: the mouse scale factors become
    // screen size / client size (1 for a zero size). With a platform that already hands
    // positions in 800 x 600 picture coordinates, pass 800 x 600.
    void Prepare(int ClientWidth, int ClientHeight);
    float MouseScaleX() const { return FScaleX; }
    float MouseScaleY() const { return FScaleY; }

    // Draws the background and every visible widget of every visible list, in order. First it
    // looks again at what lies under the mouse (widgets may have moved), which may fire
    // OnMouseEnter/OnMouseLeave before anything is drawn.
    void Draw();

    // Mouse at client position (X, Y). A move less than 10 ms (on the GUI's clock) after the
    // last handled one is kept and applied with the next handled move, button or Draw, not dropped.
    void MouseMove(int X, int Y);
    // The next move is handled however soon it comes (a run starts, as its playback will).
    void ForgetLastMove() { FHaveLastMove = false; }
    // Button is a TMouseButton. A left release on the widget where the left button went down
    // clicks it (OnDoubleClick instead when the press was a double-click and that is set).
    void MouseButton(int Button, bool Down, bool DoubleClick = false);
    // Virtual-key numbers: the focused widget gets them (a button clicks on 13 or 32, an edit
    // edits; 8 is Backspace). Edit keys (Backspace, Delete, Home, End) go to the typing edit
    // when another widget has the focus, and Space is then typed rather than clicking. An
    // arrow or Tab the widget did not use and the page does not keep moves the focus; with no
    // focus it focuses the page's default widget. True when the GUI took the key.
    bool KeyDown(int VirtualKey);
    // True when the key's press was taken by KeyDown (the page must not see its release);
    // forgets it.
    bool KeyUp(int VirtualKey);
    // Typed UTF-8 text: each character goes to the typing edit (TypingTarget).
    void TextInput(const std::string& Utf8);
    // Focuses Widget (nullptr: none); an edit becomes its list's typing edit.
    void SetFocus(TGuiComponent* Widget);
    // No focus and no typing edit anywhere.
    void ClearFocus();
    TGuiComponent* Focused() const;
    // The focused widget when it takes text, else the typing edit of the frontmost list that
    // has one; nullptr when typed text goes nowhere.
    TGuiComponent* TypingTarget() const;
    // Focusable: a visible, enabled tab stop of a visible, enabled list.
    static bool Focusable(const TGuiComponent* Widget);
    // The focusable widgets in Tab order: rows top to bottom (widgets whose middles lie within
    // the first one's height share its row), each row left to right.
    std::vector<TGuiComponent*> TabOrder() const;
    // Moves the focus to the nearest focusable widget in direction (Dx, Dy) (one of them -1 or
    // 1, the other 0) preferring widgets in line with the focused one. False, focus kept,
    // when there is none that way or nothing is focused.
    bool MoveFocus(int Dx, int Dy);
    // The next widget in Tab order, wrapping; the first when nothing is focused.
    bool FocusNext();
    // The default widget of the frontmost list with focusable widgets, else the first in Tab
    // order. False when nothing can be focused.
    bool FocusDefault();
    // The ring around the focused widget is drawn only when this is on (the game turns it on).
    bool ShowFocus = false;

    // Clicks Widget as a left release would: an edit takes the focus, then the handler runs.
    void Click(TGuiComponent* Widget, int Button, bool DoubleClick);

    int MouseX() const { return FMouseX; }
    int MouseY() const { return FMouseY; }
    int HoverId() const { return FHoverId; }
    int PressedId() const { return FPressedId; }
    int FocusId() const { return FFocusId; }
    bool ButtonDown(int Button) const { return Button >= 0 && Button < 3 && FButtonDown[Button]; }

private:
    // Applies a move that thinning held back; true when there was one.
    bool ApplyPendingMove();
    // Finds the widget under the mouse, updates the hover ids and fires leave/enter. A mouse
    // that Moved onto a focusable widget focuses it; a focus the mouse gave goes when it leaves.
    void TrackHover(bool Moved);
    // The list whose page keys and default apply: the focused widget's, else the frontmost
    // visible, enabled list with a focusable widget.
    TGuiList* ActiveList() const;
    bool TakeKey(int VirtualKey);
    void DrawFocus();
    // The topmost hit-testable widget at (X, Y): last list first, last widget first.
    TGuiComponent* HitTest(int X, int Y) const;
    std::int64_t Milliseconds() const;

    IClock* FClock;
    std::unordered_map<int, TGuiComponent*> FRegistry;
    std::vector<std::unique_ptr<TGuiList>> FLists; // declared after the registry: dies first
    int FNextId = 1;
    float FScaleX = 1, FScaleY = 1;
    int FMouseX = 0, FMouseY = 0;
    bool FMouseKnown = false; // nothing is under the mouse before its first move
    int FPendingX = 0, FPendingY = 0;
    bool FPending = false;
    bool FHaveLastMove = false;
    std::int64_t FLastMove = 0; // milliseconds
    int FHoverId = -1;
    int FPressedId = -1;
    bool FPressedDouble = false;
    int FFocusId = -1;
    bool FFocusByMouse = false; // the focus came from the mouse moving onto the widget
    std::array<bool, 256> FTakenKeys{};
    TGuiFocusGlow FFocusGlow;
    bool FButtonDown[3] = {false, false, false};
};

} // namespace vm
