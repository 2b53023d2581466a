// What the page that is up has made: its picture, its widget list, the menu background's lights.
#pragma once

#include <array>

namespace vm {

class TGuiList;
class TLight;
class TSprite;

// Plain pointers: the sprites belong to the sprite engine and the list to the GUI. A page's enter
// routine makes them and its leave routine frees them and sets them back to null.
struct TPageParts
{
    TSprite* FMenuScreen = nullptr;     // a front-end page's picture
    TSprite* FGameMenuScreen = nullptr; // the picture of a page over the race
    TGuiList* FGuiList = nullptr;       // the page's widget list "GUI2"
    // The two blinking lights of the main menu's background: made when the logo or a run ends,
    // freed when a run starts.
    std::array<TLight*, 2> FMenuLights{};
};

} // namespace vm
