// Shared set-up for the font and GUI tests: the real menu image list (with the font sheet) on a
// device that records every quad, a bitmap font on picture 0, and a GUI on a manual clock.
#pragma once

#include "support/test_support.h"

#include "assetgen/asset_test_support.h"
#include "engine/bitmap_font.h"
#include "engine/clock.h"
#include "engine/game_constants.h"
#include "engine/gui.h"
#include "engine/image_list.h"
#include "engine/screen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vm::test {

// Keeps every quad drawn, in order, with its texture.
class TQuadLogDevice : public TRecordingRenderDevice
{
public:
    struct TDrawn
    {
        TTextureId Texture = 0;
        TVertex Quad[4];
    };
    void DrawQuad(TTextureId Texture, const TVertex (&Quad)[4]) override
    {
        TRecordingRenderDevice::DrawQuad(Texture, Quad);
        TDrawn Drawn;
        Drawn.Texture = Texture;
        for (int I = 0; I < 4; ++I)
            Drawn.Quad[I] = Quad[I];
        Log.push_back(Drawn);
    }
    std::vector<TDrawn> Log;
};

class TMenuFixture : public ::testing::Test
{
protected:
    TMenuFixture() : Screen(Device, Messages), Images(&Screen), Font(&Screen), Gui(&Screen, &Font, &Clock)
    {
        EXPECT_TRUE(Images.LoadFromFile(::test::AssetPath("Data/data1.vil"), &Messages));
        Screen.Initialize();
        Screen.BeginScene();
        Font.ImageList = &Images;
        Font.SetImageIndex(0);
        Gui.Prepare(PictureWidth, PictureHeight);
    }

    // The real image of Key; the test fails when it is missing.
    const TImageListItem* Image(const std::string& Key)
    {
        const TImageListItem* Item = Images.Find(Key);
        EXPECT_NE(Item, nullptr) << Key;
        return Item;
    }
    // Tile a drawn quad shows of Item (from its top-left texture coordinates), -1 when the quad is
    // not of Item's texture.
    static int TileOf(const TQuadLogDevice::TDrawn& Drawn, const TImageListItem& Item)
    {
        if (Drawn.Texture != Item.Texture())
            return -1;
        const int Column = static_cast<int>(Drawn.Quad[0].U * Item.TextureWidth() / Item.TileWidth() + 0.5f);
        const int Row = static_cast<int>(Drawn.Quad[0].V * Item.TextureHeight() / Item.TileHeight() + 0.5f);
        return Row * Item.Columns() + Column;
    }
    // Quads drawn with Item's texture since the log was last cleared.
    int QuadsOf(const TImageListItem& Item) const
    {
        int Count = 0;
        for (const auto& Drawn : Device.Log)
            Count += Drawn.Texture == Item.Texture();
        return Count;
    }
    // Moves the clock on so that the next mouse move is not thinned, then moves.
    void MoveTo(int X, int Y)
    {
        Clock.Advance(Clock.Frequency()); // one second
        Gui.MouseMove(X, Y);
    }
    void ClickAt(int X, int Y)
    {
        MoveTo(X, Y);
        Gui.MouseButton(mbLeft, true);
        Gui.MouseButton(mbLeft, false);
    }

    TQuadLogDevice Device;
    TMessageRecorder Messages;
    TManualClock Clock{1000}; // one tick a millisecond
    TScreen Screen;
    TImageList Images;
    TBitmapFont Font;
    TGui Gui;
};

} // namespace vm::test
