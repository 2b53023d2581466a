// The picture sprite of a menu page.
#include "shell/menu_screen.h"

#include "engine/image_list.h"

namespace vm {

TMenuScreen::TMenuScreen(TSpriteEngine& Engine, TImageList& Images, bool IsVisible, int Alpha,
                         const std::string& SpriteName, const std::string& ImageKey, int Z, float Y, float X)
    : TSprite(Engine)
{
    SetX(X);
    SetY(Y);
    SetZ(Z);
    if (TImageListItem* Item = Images.Find(ImageKey))
    {
        SetWidth(Item->TileWidth());
        SetHeight(Item->TileHeight());
        SetImage(Item);
    }
    SetAlpha(Alpha);
    Visible = IsVisible;
    SetName(SpriteName);
}

} // namespace vm
