// The on-screen letter grid that types a name into an edit with the arrow keys and Enter (a game
// controller's D-pad and A button arrive as those keys).
#pragma once

#include "engine/gui_component.h"
#include "engine/gui_focus_glow.h"

#include <functional>
#include <memory>
#include <string>

namespace vm {

class TGuiEdit;
class TImageList;

// Ten columns by four rows in a dark panel: A-Z, 0-9, a space, a delete key and "done" (two
// columns wide). Made hidden; Attach names the edit it types into. Every character goes through
// TGuiEdit::Type, so the edit's Accepts, CharRule and MaxLength decide what is taken.
class TGuiLetterGrid : public TGuiComponent
{
public:
    static constexpr int Columns = 10;
    static constexpr int Rows = 4;
    static constexpr int CellWidth = 27;
    static constexpr int CellHeight = 26;
    static constexpr int Gap = 3;
    static constexpr int Padding = 8;

    enum TKeyKind : int
    {
        kkCharacter,
        kkDelete,
        kkDone,
    };
    // One key of the grid: Span columns wide from Column on Row.
    struct TKey
    {
        TKeyKind Kind = kkCharacter;
        char32_t Code = 0; // the character of a kkCharacter key
        int Row = 0, Column = 0, Span = 1;
    };

    explicit TGuiLetterGrid(TGuiList& Owner);
    ~TGuiLetterGrid() override;

    // The edit the grid types into, of the same GUI (not owned; looked up by id, so nullptr once
    // it was freed).
    void Attach(TGuiEdit* Edit);
    TGuiEdit* Edit() const;

    // Runs when "done" is pressed. It may free the grid's list.
    TGuiNotifyEvent OnDone;
    // Asked as each key arrives. False (the key came from the keyboard) closes the grid, gives
    // the edit the focus and hands it the key, so typing goes on as without the grid. Unset:
    // every key is the grid's.
    std::function<bool()> KeysForGrid;

    // Shows the grid; the edit stops being a tab stop, so the arrows reach the grid instead of
    // it. TakeFocus focuses the grid.
    void Open(bool TakeFocus);
    // Hides the grid and makes the edit a tab stop again; a focused grid hands the focus to the
    // edit.
    void Close();
    bool IsOpen() const { return Visible; }

    // The key under the cursor and the cell the cursor is on. Moves wrap within a row; Up from
    // the top row and Down from the bottom one are not taken (the GUI moves the focus on).
    const TKey& Current() const;
    int CursorRow() const { return FRow; }
    int CursorColumn() const { return FColumn; }
    // Puts the cursor on a cell (clamped into the grid).
    void SetCursor(int Row, int Column);
    // The key covering a cell (clamped into the grid).
    static const TKey& KeyAt(int Row, int Column);
    // The label drawn on a key ("" for the space, drawn as a bracket).
    static std::string Label(const TKey& Key);

    // Presses the key under the cursor: a character is typed into the edit, delete erases the
    // character before the caret, done runs OnDone. False when the edit refused the character
    // or there was nothing to delete (or no edit).
    bool Press();

    // Arrows move the cursor, Enter presses, Backspace deletes.
    bool KeyDown(int VirtualKey) override;
    void Draw() override;
    // The grid's focus is drawn on the key under the cursor, not around the whole grid.
    bool DrawsOwnFocus() const override { return true; }

private:
    // Makes the panel and key pictures on the first draw.
    bool PrepareImages();
    void DrawBox(int Tile, float X, float Y, float W, float H, std::uint32_t Color);

    int FEditId = -1;
    int FRow = 0, FColumn = 0;
    TGuiFocusGlow FGlow;
    std::unique_ptr<TImageList> FImages;
    bool FTried = false; // the pictures are made once
};

} // namespace vm
