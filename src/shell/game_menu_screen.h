// The picture sprite of an in-race overlay page, taken from the race's picture list.
#pragma once

#include "shell/menu_screen.h"

namespace vm {

// Same as a menu page's picture; the caller hands it the race list. Owned by the sprite engine.
class TGameMenuScreen : public TMenuScreen
{
public:
    using TMenuScreen::TMenuScreen;
};

} // namespace vm
