// Shared set-up for the sprite tests: a screen on a recording null device, an image list with
// pictures made in memory, and sprites that log what the engine does to them.
#pragma once

#include "support/test_support.h"

#include "engine/image_list.h"
#include "engine/message_box.h"
#include "engine/null_render_device.h"
#include "engine/picture.h"
#include "engine/screen.h"
#include "engine/sprite.h"
#include "engine/sprite_engine.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace vm::test {

// Logs Move, DoCollision and destruction into a shared list of lines.
class TLogSprite : public TSprite
{
public:
    TLogSprite(TSpriteEngine& Engine, std::string Tag, std::vector<std::string>& Log)
        : TSprite(Engine), FTag(std::move(Tag)), FLog(Log)
    {}
    ~TLogSprite() override { FLog.push_back("free " + FTag); }
    void Move(float) override { FLog.push_back("move " + FTag); }
    void DoCollision(TSprite& Other, std::int32_t X, std::int32_t Y) override
    {
        const auto* Log = dynamic_cast<TLogSprite*>(&Other);
        FLog.push_back(FTag + " hit " + (Log ? Log->FTag : "?") + " " + std::to_string(X) + "," +
                       std::to_string(Y));
    }
    // Lets a test give the corners differing colours.
    void SetCornerColor(int Corner, std::uint32_t Value) { FColors[Corner & 3] = Value; }

    std::string FTag;
    std::vector<std::string>& FLog;
};

class TSpriteFixture : public ::testing::Test
{
protected:
    TSpriteFixture() : Screen(Device, Messages), List(&Screen), Engine(&Messages)
    {
        Screen.Initialize();
        Screen.BeginScene();
    }

    // A picture of Width x Height filled by Fill(x, y), cut into tiles; textures are made at once.
    template <typename TFill>
    TImageListItem* MakeItem(const std::string& Name, int Width, int Height, int TileWidth, int TileHeight,
                             TFill Fill)
    {
        TPixels Pixels;
        Pixels.Width = Width;
        Pixels.Height = Height;
        Pixels.Argb.resize(static_cast<std::size_t>(Width) * Height);
        for (int Y = 0; Y < Height; ++Y)
            for (int X = 0; X < Width; ++X)
                Pixels.Argb[static_cast<std::size_t>(Y) * Width + X] = Fill(X, Y);
        std::vector<std::uint8_t> Png;
        EXPECT_TRUE(EncodePng(Pixels, Png));
        TPicture Picture;
        EXPECT_TRUE(Picture.Assign(std::move(Png)));
        TImageListItem* Item = List.ImageList.Add();
        Item->Name = Name;
        Item->SetPicture(std::move(Picture));
        Item->SetTileWidth(TileWidth);
        Item->SetTileHeight(TileHeight);
        List.LoadTextures();
        return Item;
    }

    TImageListItem* MakeOpaque(const std::string& Name, int Width, int Height)
    {
        return MakeItem(Name, Width, Height, Width, Height, [](int, int) { return 0xFFFFFFFFu; });
    }

    // Log outlives the engine: freeing the sprites still writes to it.
    std::vector<std::string> Log;
    TRecordingRenderDevice Device;
    test::TMessageRecorder Messages;
    TScreen Screen;
    TImageList List;
    TSpriteEngine Engine;
};

} // namespace vm::test
