// A one-line text box: typed characters from the font's set, a caret, and a length limit in
// characters.
#pragma once

#include "engine/gui_component.h"

#include <functional>
#include <string>

namespace vm {

// Character rules of the edit.
enum TGuiCharRule : int
{
    crAny = 0,
    crUpperLetters = 1,
    crLowerLetters = 2,
    crDigits = 3,
    crToUpper = 4,
    crToLower = 5,
};

class TGuiEdit : public TGuiComponent
{
public:
    explicit TGuiEdit(TGuiList& Owner) : TGuiComponent(Owner) { TabStop = true; }

    std::string Text;   // UTF-8; may be set directly (the caret is kept within it)
    int CaretPos = 0;   // in characters, 0..length
    int MaxLength = -1; // characters; -1 = no limit
    int TextInset = 5;  // pixels from the left edge to the text
    bool ReadOnly = false;
    int CharRule = crAny;
    // When set, a typed character it refuses is not taken (asked after CharRule's case change).
    std::function<bool(char32_t)> Accepts;
    // Drawn at the caret while the edit has the focus. The caret is steady; a page that wants
    // it blinking switches this between "_" and "" on its own frame count.
    std::string CaretText = "_";

    int Length() const; // characters in Text
    // Types one character as if it came from the keyboard (8 = Backspace, 13 ignored); false
    // when it was refused.
    bool Type(char32_t Code);

    void Draw() override;
    // Backspace, Delete, Home and End are always used; Left and Right only while the caret can
    // move that way, so that at the ends they move the focus.
    bool KeyDown(int VirtualKey) override;
    void Character(char32_t Code) override { Type(Code); }
    bool TakesFocusOnClick() const override { return true; }
    bool TakesText() const override { return true; }
};

} // namespace vm
