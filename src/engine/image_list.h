// Image lists: named pictures cut into equal tiles (patterns), each made into one texture.
#pragma once

#include "engine/collision_mask.h"
#include "engine/picture.h"
#include "engine/render_device.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vm {

class IMessageBox;
class TImageList;
class TImageListPrefetch;
class TScreen;

// Texts shown when an image-list file cannot be read.
inline constexpr const char* FileErrorText = "Cannot be loaded - file error or file crypted!";
inline constexpr const char* CorruptStreamText =
    "The stream could not be loaded, either it is corrupt or encrypted!";

class TImageListItem
{
public:
    explicit TImageListItem(TImageList* Owner = nullptr) : FOwner(Owner) {}
    ~TImageListItem();
    TImageListItem(const TImageListItem&) = delete;
    TImageListItem& operator=(const TImageListItem&) = delete;

    std::string Name;
    std::uint32_t TransparentColor = 0; // 0x00BBGGRR
    bool Transparent = false;
    std::string Filepath;

    // Takes the picture's size, makes it one tile, and sets the texture size to the smallest
    // powers of two (from 2 up) not below it when none is known yet.
    void SetPicture(TPicture Picture);
    const TPicture& Picture() const { return FPicture; }
    // 0 or less means the whole picture side.
    void SetTileWidth(int Value);
    void SetTileHeight(int Value);
    int TileWidth() const { return FTileWidth; }
    int TileHeight() const { return FTileHeight; }
    int Rows() const { return FRows; }
    int Columns() const { return FColumns; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int TextureWidth() const { return FTextureWidth; }
    int TextureHeight() const { return FTextureHeight; }

    // Makes the texture on the owner's screen (after colour key). Which texels are solid stays in
    // memory for the pixel-exact collision test. Returns false when the item has no picture, has no owner
    // with a screen, or the texture could not be made (then "Error creating texture " + Name
    // was shown with caption "Error" through the screen's message box).
    bool CreateTexture();
    void ReleaseTexture();
    // Decodes the picture ahead of CreateTexture, which then takes the result; nothing when it is
    // decoded already. Touches only this item, so several items may be decoded on several threads
    // at once.
    void DecodeAhead();
    TTextureId Texture() const { return FTexture; }
    // True once the owning list's LoadTextures has prepared the item for drawing.
    bool Prepared() const { return FScreen != nullptr; }
    TScreen* Screen() const { return FScreen; }
    void Unprepare() { FScreen = nullptr; }
    // The solid texels of the texture, TextureWidth x TextureHeight; empty before CreateTexture.
    // On a device that draws nothing the picture is decoded for it on the first call (on the
    // thread that makes textures), and a picture that cannot be decoded shows the texture error.
    const TCollisionMask& Mask() const;
    TImageList* Owner() const { return FOwner; }
    void SetOwner(TImageList* Owner) { FOwner = Owner; }

private:
    void UpdateGrid();

    TImageList* FOwner;
    mutable TPicture FPicture; // dropped once its mask is made when it came from a file
    int FTileWidth = 1;
    int FTileHeight = 1;
    int FRows = 0;
    int FColumns = 0;
    int FWidth = 1;
    int FHeight = 1;
    int FTextureWidth = 0;
    int FTextureHeight = 0;
    TTextureId FTexture = 0;
    IRenderDevice* FTextureDevice = nullptr; // the device that made FTexture
    TScreen* FScreen = nullptr;
    mutable TCollisionMask FMask;
    mutable bool FMaskPending = false; // made on the first Mask() call
    TPixels FDecodedAhead;             // filled by DecodeAhead, taken by CreateTexture
    bool FHasDecodedAhead = false;
};

// Result of reading an image-list stream or file.
struct TLoadResult
{
    bool Ok = true;
    std::string Error; // one of FileErrorText, CorruptStreamText when not Ok
};

class TImageListCollection
{
public:
    explicit TImageListCollection(TImageList* Owner = nullptr) : FOwner(Owner) {}

    TImageListItem* Add();
    // Adds an item with that name and picture; tile sizes 0 mean the whole picture.
    TImageListItem* Add(const std::string& Name, TPicture Picture, int TileWidth = 0, int TileHeight = 0);
    int Count() const { return static_cast<int>(FItems.size()); }
    // nullptr outside 0..Count-1.
    TImageListItem* Items(int Index) const;
    // First item whose Name equals Name exactly (case-sensitive); nullptr if none.
    TImageListItem* Find(const std::string& Name) const;
    void Clear();
    // Clears this collection and moves From's items into it, which then belong to this one's list.
    void TakeItems(TImageListCollection& From);

    // Optional hook: takes the loaded stream and returns the stream to parse (the game sets none).
    std::function<std::vector<std::uint8_t>(const std::vector<std::uint8_t>&)> StreamFilter;

    // Clears the collection, then parses a .vil stream. Items read before a failure stay.
    TLoadResult LoadFromStream(const std::vector<std::uint8_t>& Stream);
    TLoadResult LoadFromFile(const std::string& FileName);
    // Writes the collection as a .vil stream (pictures in their own format).
    std::vector<std::uint8_t> SaveToStream() const;
    bool SaveToFile(const std::string& FileName) const;

private:
    TImageList* FOwner;
    std::vector<std::unique_ptr<TImageListItem>> FItems;
};

class TImageList
{
public:
    // The screen (may be null) is not owned; the list registers itself with it for resets.
    explicit TImageList(TScreen* Screen = nullptr);
    ~TImageList();
    TImageList(const TImageList&) = delete;
    TImageList& operator=(const TImageList&) = delete;

    TImageListCollection ImageList{this};
    TScreen* Screen() const { return FScreen; }

    // Loads a file; on failure shows the matching message through the screen's message box
    // (or the one given) and keeps running with what was read.
    bool LoadFromFile(const std::string& FileName, IMessageBox* Messages = nullptr);
    // The same from what a prefetch read (see image_list_prefetch.h), with the same messages.
    bool LoadFromPrefetch(TImageListPrefetch& Prefetch, IMessageBox* Messages = nullptr);
    // Makes every item's texture; nothing happens without a screen. False when some item's
    // texture could not be made (its message was shown; the item stays undrawn).
    bool LoadTextures();
    // Forgets the device objects; Full also releases every texture.
    void ReleaseTextures(bool Full);
    TImageListItem* Find(const std::string& Name) const { return ImageList.Find(Name); }

private:
    bool ReportLoad(const TLoadResult& Result, IMessageBox* Messages);

    TScreen* FScreen;
};

} // namespace vm
