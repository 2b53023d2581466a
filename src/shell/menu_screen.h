// The picture sprite of a menu page, taken by key from an image list.
#pragma once

#include "engine/sprite.h"

#include <string>

namespace vm {

class TImageList;

class TMenuScreen : public TSprite
{
public:
    // Without an image of that key the sprite stays without image and draws nothing.
    TMenuScreen(TSpriteEngine& Engine, TImageList& Images, bool Visible, int Alpha,
                const std::string& SpriteName, const std::string& ImageKey, int Z, float Y, float X);
};

} // namespace vm
