// Image lists: items cut into patterns, their textures, and the list component.
// The .vil stream format lives in vil_stream.cpp.
#include "engine/image_list.h"

#include "engine/image_list_prefetch.h"
#include "engine/message_box.h"
#include "engine/screen.h"

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace vm {

namespace {

// Smallest power of two, from 2 up, not below Value.
int TextureSide(int Value)
{
    int Side = 2;
    while (Side < Value && Side < (1 << 30))
        Side *= 2;
    return Side;
}

// A texture's texels up to one column and row past the picture, with the colour key applied; the
// rest of the texture is 0 and is neither stored nor copied.
struct TTexels
{
    std::unique_ptr<std::uint32_t[]> Data;
    int Width = 0;
    int Height = 0;
};

// One texel past the picture repeats its last column (and row), so that filtering at the picture's
// right edge (a stretched tile) does not fade into emptiness. Key is the colour key as 0x00BBGGRR.
TTexels MakeTexels(const TPixels& Pixels, int TexWidth, int TexHeight, bool Keyed, std::uint32_t KeyColor)
{
    TTexels Texels;
    Texels.Width = Pixels.Width > 0 && Pixels.Width < TexWidth ? Pixels.Width + 1 : Pixels.Width;
    Texels.Height = Pixels.Height > 0 && Pixels.Height < TexHeight ? Pixels.Height + 1 : Pixels.Height;
    Texels.Data = std::make_unique_for_overwrite<std::uint32_t[]>(std::size_t(Texels.Width) *
                                                                  std::size_t(Texels.Height));
    // The colour key compares RGB: texels are ARGB.
    const std::uint32_t Key = ((KeyColor & 0xFFu) << 16) | (KeyColor & 0xFF00u) | ((KeyColor >> 16) & 0xFFu);
    for (int Y = 0; Y < Pixels.Height; ++Y)
    {
        const std::uint32_t* Src = Pixels.Argb.data() + std::size_t(Y) * Pixels.Width;
        std::uint32_t* Dest = Texels.Data.get() + std::size_t(Y) * Texels.Width;
        for (int X = 0; X < Pixels.Width; ++X)
        {
            const std::uint32_t P = Src[X];
            Dest[X] = Keyed && (P & 0x00FFFFFFu) == Key ? 0u : P;
        }
        if (Texels.Width > Pixels.Width)
            Dest[Pixels.Width] = Dest[Pixels.Width - 1];
    }
    if (Texels.Height > Pixels.Height)
        std::copy_n(Texels.Data.get() + std::size_t(Pixels.Height - 1) * Texels.Width, Texels.Width,
                    Texels.Data.get() + std::size_t(Pixels.Height) * Texels.Width);
    return Texels;
}

std::string Trim(const std::string& Text)
{
    const char* Blanks = " \t\r\n\v\f";
    const std::size_t First = Text.find_first_not_of(Blanks);
    if (First == std::string::npos)
        return {};
    const std::size_t Last = Text.find_last_not_of(Blanks);
    return Text.substr(First, Last - First + 1);
}

// Folder of the running program, from /proc/self/exe; the working folder when unknown.
std::filesystem::path ProgramFolder()
{
    std::error_code Error;
    std::filesystem::path Exe = std::filesystem::read_symlink("/proc/self/exe", Error);
    if (Error || Exe.empty())
        return std::filesystem::current_path(Error);
    return Exe.parent_path();
}

// A name with a folder part ('/', ':' or '\') is used as it is (backslashes as '/'); a bare
// file name is taken from the program's folder.
std::string ResolveFilepath(const std::string& Name)
{
    if (Name.find_first_of("/:\\") != std::string::npos)
    {
        std::string Path = Name;
        for (char& C : Path)
            if (C == '\\')
                C = '/';
        return Path;
    }
    return (ProgramFolder() / Name).string();
}

bool FileExists(const std::string& Path)
{
    std::error_code Error;
    return std::filesystem::is_regular_file(Path, Error);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TImageListItem

TImageListItem::~TImageListItem() { ReleaseTexture(); }

void TImageListItem::SetPicture(TPicture Picture)
{
    FPicture = std::move(Picture);
    FWidth = FPicture.Width() > 0 ? FPicture.Width() : 1;
    FHeight = FPicture.Height() > 0 ? FPicture.Height() : 1;
    FTileWidth = FWidth;
    FTileHeight = FHeight;
    if (!FPicture.Empty())
    {
        if (FTextureWidth == 0)
            FTextureWidth = TextureSide(FWidth);
        if (FTextureHeight == 0)
            FTextureHeight = TextureSide(FHeight);
    }
    UpdateGrid();
}

void TImageListItem::SetTileWidth(int Value)
{
    // The whole side of the picture: 0 while the picture is empty (CreateTexture mends that).
    FTileWidth = Value > 0 ? Value : FPicture.Width();
    FColumns = FTileWidth > 0 ? FWidth / FTileWidth : 0;
}

void TImageListItem::SetTileHeight(int Value)
{
    FTileHeight = Value > 0 ? Value : FPicture.Height();
    FRows = FTileHeight > 0 ? FHeight / FTileHeight : 0;
}

void TImageListItem::UpdateGrid()
{
    FColumns = FTileWidth > 0 ? FWidth / FTileWidth : 0;
    FRows = FTileHeight > 0 ? FHeight / FTileHeight : 0;
}

bool TImageListItem::CreateTexture()
{
    // A picture file named by Filepath replaces the stored picture.
    const std::string Path = Trim(Filepath);
    if (!Path.empty())
    {
        const std::string FullPath = ResolveFilepath(Path);
        if (FileExists(FullPath))
        {
            TPicture FromFile;
            if (FromFile.LoadFromFile(FullPath))
                FPicture = std::move(FromFile);
        }
    }
    // No picture: the item stays without texture.
    if (FPicture.Empty())
        return false;
    // Device and screen of the owning list.
    TScreen* Screen = FOwner != nullptr ? FOwner->Screen() : nullptr;
    if (Screen == nullptr)
        return false;
    // Tile sizes below 1 take the whole picture.
    if (FTileHeight < 1)
        FTileHeight = FPicture.Height();
    if (FTileWidth < 1)
        FTileWidth = FPicture.Width();
    // Make the texture unless the item kept one.
    if (FTexture == 0)
    {
        IRenderDevice& Device = Screen->Device();
        TTextureId Texture = 0;
        int TexWidth = 0;
        int TexHeight = 0;
        // A device that draws nothing needs no texels: the picture is decoded when its collision
        // mask is first asked for, and most pictures never are. One decoded already is used now.
        if (Device.DrawsNothing() && !FHasDecodedAhead && FPicture.Width() > 0 && FPicture.Height() > 0)
        {
            TexWidth = TextureSide(FPicture.Width());
            TexHeight = TextureSide(FPicture.Height());
            Texture = Device.CreatePaddedTexture(TexWidth, TexHeight, TTexelRect{nullptr, 0, 0, 0});
            FMaskPending = Texture != 0;
        }
        else
        {
            TPixels Pixels;
            const bool Decoded =
                FHasDecodedAhead ? (Pixels = std::move(FDecodedAhead), true) : FPicture.Decode(Pixels);
            FHasDecodedAhead = false;
            FDecodedAhead = TPixels{};
            if (Decoded)
            {
                TexWidth = TextureSide(Pixels.Width);
                TexHeight = TextureSide(Pixels.Height);
                const TTexels Texels = MakeTexels(Pixels, TexWidth, TexHeight, Transparent, TransparentColor);
                Texture = Device.CreatePaddedTexture(
                    TexWidth, TexHeight,
                    TTexelRect{Texels.Data.get(), Texels.Width, Texels.Height, Texels.Width});
                if (Texture != 0)
                    FMask = TCollisionMask(TexWidth, TexHeight, Texels.Data.get(), Texels.Width,
                                           Texels.Height, Texels.Width);
            }
        }
        if (Texture == 0)
        {
            Screen->Messages().Show("Error creating texture " + Name, "Error");
            return false;
        }
        FTexture = Texture;
        FTextureDevice = &Device;
        // The size of the texture as created.
        FTextureWidth = TexWidth;
        FTextureHeight = TexHeight;
    }
    FScreen = Screen;
    // Picture size and grid.
    FHeight = FPicture.Height() > 0 ? FPicture.Height() : 1;
    FWidth = FPicture.Width() > 0 ? FPicture.Width() : 1;
    UpdateGrid();
    // A picture from a file is dropped: the texture keeps the image (and the file brings it back).
    // One whose mask is still to be made is kept for it.
    if (!Path.empty() && !FMaskPending)
        FPicture.Clear();
    return true;
}

void TImageListItem::DecodeAhead()
{
    // An item naming a picture file takes that file's picture in CreateTexture: decoding the
    // stored one ahead would give its texture the wrong image.
    if (FHasDecodedAhead)
        return;
    FHasDecodedAhead =
        FTexture == 0 && Trim(Filepath).empty() && !FPicture.Empty() && FPicture.Decode(FDecodedAhead);
}

const TCollisionMask& TImageListItem::Mask() const
{
    if (FMaskPending)
    {
        FMaskPending = false;
        TPixels Pixels;
        if (FPicture.Decode(Pixels))
        {
            const TTexels Texels =
                MakeTexels(Pixels, FTextureWidth, FTextureHeight, Transparent, TransparentColor);
            FMask = TCollisionMask(FTextureWidth, FTextureHeight, Texels.Data.get(), Texels.Width,
                                   Texels.Height, Texels.Width);
        }
        else if (FScreen != nullptr)
            FScreen->Messages().Show("Error creating texture " + Name, "Error");
        // A picture from a file was kept only for this.
        if (!Trim(Filepath).empty())
            FPicture.Clear();
    }
    return FMask;
}

void TImageListItem::ReleaseTexture()
{
    if (FTexture != 0 && FTextureDevice != nullptr)
        FTextureDevice->ReleaseTexture(FTexture);
    FTexture = 0;
    FTextureDevice = nullptr;
    FMask.Clear();
    FMaskPending = false;
}

// ---------------------------------------------------------------------------------------------
// TImageListCollection

TImageListItem* TImageListCollection::Add()
{
    FItems.push_back(std::make_unique<TImageListItem>(FOwner));
    return FItems.back().get();
}

TImageListItem* TImageListCollection::Add(const std::string& Name, TPicture Picture, int TileWidth,
                                          int TileHeight)
{
    TImageListItem* Item = Add();
    Item->Name = Name;
    Item->SetPicture(std::move(Picture));
    Item->SetTileHeight(TileHeight);
    Item->SetTileWidth(TileWidth);
    return Item;
}

TImageListItem* TImageListCollection::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        return nullptr;
    return FItems[static_cast<std::size_t>(Index)].get();
}

TImageListItem* TImageListCollection::Find(const std::string& Name) const
{
    for (const auto& Item : FItems)
        if (Item->Name == Name)
            return Item.get();
    return nullptr;
}

void TImageListCollection::Clear() { FItems.clear(); }

void TImageListCollection::TakeItems(TImageListCollection& From)
{
    FItems = std::move(From.FItems);
    From.FItems.clear();
    for (const auto& Item : FItems)
        Item->SetOwner(FOwner);
}

// ---------------------------------------------------------------------------------------------
// TImageList

TImageList::TImageList(TScreen* Screen) : FScreen(Screen)
{
    if (FScreen != nullptr)
        FScreen->AddImageList(this);
}

TImageList::~TImageList()
{
    ReleaseTextures(true);
    ImageList.Clear();
    if (FScreen != nullptr)
        FScreen->RemoveImageList(this);
}

bool TImageList::LoadFromFile(const std::string& FileName, IMessageBox* Messages)
{
    return ReportLoad(ImageList.LoadFromFile(FileName), Messages);
}

bool TImageList::LoadFromPrefetch(TImageListPrefetch& Prefetch, IMessageBox* Messages)
{
    return ReportLoad(Prefetch.Take(ImageList), Messages);
}

bool TImageList::ReportLoad(const TLoadResult& Result, IMessageBox* Messages)
{
    if (Result.Ok)
        return true;
    if (Messages == nullptr && FScreen != nullptr)
        Messages = &FScreen->Messages();
    const std::string Caption = Result.Error == CorruptStreamText ? "Error!" : "Error";
    if (Messages != nullptr)
        Messages->Show(Result.Error, Caption);
    else
        std::cerr << Caption << ": " << Result.Error << '\n';
    return false;
}

bool TImageList::LoadTextures()
{
    if (FScreen == nullptr)
        return true;
    // Nothing is decoded for a device that draws nothing (see CreateTexture).
    if (FScreen->Device().DrawsNothing())
    {
        bool Ok = true;
        for (int I = 0; I < ImageList.Count(); ++I)
        {
            TImageListItem* Item = ImageList.Items(I);
            if (!Item->CreateTexture() && !Item->Picture().Empty() && Item->Texture() == 0)
                Ok = false;
        }
        return Ok;
    }
    // Decoding the pictures is most of the work and each is independent: helper threads decode
    // ahead while this thread makes the textures in order (the device is not shared between
    // threads), and decodes too while its next picture is not ready. At most DecodeWindow
    // pictures are taken ahead of the textures made, so memory holds a few decoded pictures,
    // not all of them.
    constexpr int DecodeWindow = 4;
    const int Count = ImageList.Count();
    std::mutex Mutex;
    std::condition_variable Changed;
    std::vector<char> Decoded(static_cast<std::size_t>(std::max(Count, 0)), 0);
    int Next = 0;    // the next item to decode
    int Created = 0; // items whose textures are made
    // Decodes the next item when the window allows; false when there was none to take. Called
    // and returns with Lock held.
    auto DecodeNext = [&](std::unique_lock<std::mutex>& Lock) {
        if (Next >= Count || Next >= Created + DecodeWindow)
            return false;
        const int I = Next++;
        Lock.unlock();
        ImageList.Items(I)->DecodeAhead();
        Lock.lock();
        Decoded[static_cast<std::size_t>(I)] = 1;
        Changed.notify_all();
        return true;
    };
    auto Worker = [&] {
        std::unique_lock Lock(Mutex);
        while (Next < Count)
            if (!DecodeNext(Lock))
                Changed.wait(Lock);
    };
    const unsigned Helpers = std::min(3u, std::max(1u, std::thread::hardware_concurrency()) - 1);
    std::vector<std::thread> Threads;
    for (unsigned T = 0; T < Helpers && Count > 1; ++T)
        Threads.emplace_back(Worker);
    bool Ok = true;
    for (int I = 0; I < Count; ++I)
    {
        {
            std::unique_lock Lock(Mutex);
            while (Decoded[static_cast<std::size_t>(I)] == 0)
                if (!DecodeNext(Lock))
                    Changed.wait(Lock);
        }
        TImageListItem* Item = ImageList.Items(I);
        if (!Item->CreateTexture() && !Item->Picture().Empty() && Item->Texture() == 0)
            Ok = false;
        {
            const std::lock_guard Lock(Mutex);
            Created = I + 1;
        }
        Changed.notify_all();
    }
    for (std::thread& Thread : Threads)
        Thread.join();
    return Ok;
}

void TImageList::ReleaseTextures(bool Full)
{
    for (int I = 0; I < ImageList.Count(); ++I)
    {
        TImageListItem* Item = ImageList.Items(I);
        if (Full)
            Item->ReleaseTexture();
        Item->Unprepare();
    }
}

} // namespace vm
