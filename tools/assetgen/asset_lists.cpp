// Assembles the two image lists from the picture producers and writes them as .vil files.
#include "asset_lists.h"

#include "art/art_modules.h"
#include "engine/image_list.h"

namespace vm::assetgen {

TArtList BuildMenuList()
{
    TArtList Menu;
    AddFontSheet(Menu);
    AddMenuBackgrounds(Menu);
    AddMenuWidgets(Menu);
    AddMenuPages(Menu);
    AddMenuCars(Menu);
    AddMarkerImages(Menu);
    return Menu;
}

TArtList BuildRaceList()
{
    TArtList Race;
    AddRaceCars(Race);
    AddRoadImages(Race);
    AddPickupImages(Race);
    AddEffectImages(Race);
    AddMarkerImages(Race);
    AddHudImages(Race);
    AddRaceOverlays(Race);
    return Race;
}

int PatternCount(const TArtImage& Image)
{
    const int TileWidth = Image.TileWidth > 0 ? Image.TileWidth : Image.Pixels.Width;
    const int TileHeight = Image.TileHeight > 0 ? Image.TileHeight : Image.Pixels.Height;
    if (TileWidth <= 0 || TileHeight <= 0)
        return 0;
    return (Image.Pixels.Width / TileWidth) * (Image.Pixels.Height / TileHeight);
}

bool WriteImageList(const TArtList& List, const std::string& FileName, std::string& Error)
{
    TImageListCollection Collection;
    for (const TArtImage& Image : List)
    {
        TPicture Picture;
        if (!Picture.AssignPixels(Image.Pixels, TPictureKind::Png))
        {
            Error = "cannot encode picture " + Image.Key;
            return false;
        }
        Collection.Add(Image.Key, std::move(Picture), Image.TileWidth, Image.TileHeight);
    }
    if (!Collection.SaveToFile(FileName))
    {
        Error = "cannot write " + FileName;
        return false;
    }
    return true;
}

} // namespace vm::assetgen
