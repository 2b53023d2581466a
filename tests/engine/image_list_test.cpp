// Image lists: items, patterns, textures on a screen, colour key, release and re-creation.
#include "engine/image_list.h"

#include "engine/image_draw.h"
#include "engine/screen.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace vm {
namespace {

using test::MakePngBytes;
using test::MakeSolidPixels;
using test::MakeTestPixels;

TPicture PngPicture(const TPixels& Pixels)
{
    TPicture Picture;
    EXPECT_TRUE(Picture.AssignPixels(Pixels, TPictureKind::Png));
    return Picture;
}

void WriteFile(const std::string& Path, const std::vector<std::uint8_t>& Bytes)
{
    std::ofstream File(Path, std::ios::binary);
    File.write(reinterpret_cast<const char*>(Bytes.data()), std::streamsize(Bytes.size()));
}

// The mask marks exactly the texture's texels that are not all-zero.
void ExpectMaskOf(const TCollisionMask& Mask, const test::TRecordingRenderDevice::TTexture& Texture)
{
    ASSERT_EQ(Mask.Width(), Texture.Width);
    ASSERT_EQ(Mask.Height(), Texture.Height);
    int Wrong = 0;
    for (int Y = 0; Y < Texture.Height; ++Y)
        for (int X = 0; X < Texture.Width; ++X)
            Wrong += Mask.Solid(X, Y) != (Texture.Argb[std::size_t(Y) * Texture.Width + X] != 0u);
    EXPECT_EQ(Wrong, 0);
}

class ImageListTest : public ::testing::Test
{
protected:
    test::TRecordingRenderDevice Device;
    test::TMessageRecorder Messages;
    TScreen Screen{Device, Messages};
};

TEST(ImageListItem, NewItemIsOneByOneWithoutPicture)
{
    TImageListItem Item;
    EXPECT_TRUE(Item.Picture().Empty());
    EXPECT_EQ(Item.TileWidth(), 1);
    EXPECT_EQ(Item.TileHeight(), 1);
    EXPECT_EQ(Item.Width(), 1);
    EXPECT_EQ(Item.Height(), 1);
    EXPECT_EQ(Item.Texture(), 0u);
    EXPECT_FALSE(Item.Prepared());
    EXPECT_FALSE(Item.CreateTexture()); // no picture, no owner
}

TEST(ImageListItem, SettingAPictureMakesOneTileAndPowerOfTwoTextureSize)
{
    TImageListItem Item;
    Item.SetPicture(PngPicture(MakeTestPixels(100, 60)));
    EXPECT_EQ(Item.Width(), 100);
    EXPECT_EQ(Item.Height(), 60);
    EXPECT_EQ(Item.TileWidth(), 100);
    EXPECT_EQ(Item.TileHeight(), 60);
    EXPECT_EQ(Item.Columns(), 1);
    EXPECT_EQ(Item.Rows(), 1);
    EXPECT_EQ(Item.TextureWidth(), 128);
    EXPECT_EQ(Item.TextureHeight(), 64);

    // The texture size, once known, stays until a texture is made.
    Item.SetPicture(PngPicture(MakeTestPixels(300, 3)));
    EXPECT_EQ(Item.TextureWidth(), 128);
    EXPECT_EQ(Item.Width(), 300);

    TImageListItem Tiny;
    Tiny.SetPicture(PngPicture(MakeTestPixels(1, 1)));
    EXPECT_EQ(Tiny.TextureWidth(), 2); // from 2 up
    EXPECT_EQ(Tiny.TextureHeight(), 2);
}

TEST(ImageListItem, TileSettersRecomputeTheGridAndZeroMeansTheWholeSide)
{
    TImageListItem Item;
    Item.SetPicture(PngPicture(MakeTestPixels(100, 60)));
    Item.SetTileWidth(25);
    EXPECT_EQ(Item.Columns(), 4);
    Item.SetTileHeight(20);
    EXPECT_EQ(Item.Rows(), 3);
    Item.SetTileWidth(30); // the remainder is no pattern
    EXPECT_EQ(Item.Columns(), 3);
    Item.SetTileWidth(0);
    EXPECT_EQ(Item.TileWidth(), 100);
    EXPECT_EQ(Item.Columns(), 1);
    Item.SetTileHeight(-5);
    EXPECT_EQ(Item.TileHeight(), 60);
    EXPECT_EQ(Item.Rows(), 1);
}

TEST(ImageListCollection, FindIsExactCaseSensitiveAndTakesTheFirst)
{
    TImageListCollection List;
    TImageListItem* First = List.Add("car1", PngPicture(MakeTestPixels(4, 4)));
    List.Add("Car2", PngPicture(MakeTestPixels(4, 4)));
    TImageListItem* Second = List.Add("car1", PngPicture(MakeTestPixels(8, 8)));
    EXPECT_EQ(List.Count(), 3);
    EXPECT_EQ(List.Find("car1"), First);
    EXPECT_NE(List.Find("car1"), Second);
    EXPECT_EQ(List.Find("CAR1"), nullptr);
    EXPECT_EQ(List.Find("car2"), nullptr);
    EXPECT_EQ(List.Find("car"), nullptr);
    EXPECT_EQ(List.Find(""), nullptr);
    EXPECT_EQ(List.Items(0), First);
    EXPECT_EQ(List.Items(3), nullptr);
    EXPECT_EQ(List.Items(-1), nullptr);
    List.Clear();
    EXPECT_EQ(List.Count(), 0);
}

TEST_F(ImageListTest, WithoutAScreenLoadTexturesDoesNothing)
{
    TImageList List;
    List.ImageList.Add("a", PngPicture(MakeTestPixels(4, 4)));
    EXPECT_TRUE(List.LoadTextures());
    EXPECT_FALSE(List.Find("a")->Prepared());
    EXPECT_EQ(List.Find("a")->Texture(), 0u);
}

TEST_F(ImageListTest, TexturesArePaddedToPowersOfTwoAndPatternsUseTheCreatedSize)
{
    TImageList List(&Screen);
    const TPixels Pixels = MakeTestPixels(100, 60, 3);
    TImageListItem* Item = List.ImageList.Add("board", PngPicture(Pixels), 25, 20);
    TImageListItem* Empty = List.ImageList.Add();
    Empty->Name = "nothing";
    ASSERT_TRUE(List.LoadTextures());

    ASSERT_TRUE(Item->Prepared());
    EXPECT_EQ(Item->Screen(), &Screen);
    EXPECT_FALSE(Empty->Prepared()); // no picture: no texture
    EXPECT_EQ(Empty->Texture(), 0u);
    ASSERT_EQ(Device.Textures.count(Item->Texture()), 1u);
    const auto& Texture = Device.Textures[Item->Texture()];
    EXPECT_EQ(Texture.Width, 128);
    EXPECT_EQ(Texture.Height, 64);
    EXPECT_EQ(Item->TextureWidth(), 128);
    EXPECT_EQ(Item->TextureHeight(), 64);
    EXPECT_EQ(Item->Columns(), 4);
    EXPECT_EQ(Item->Rows(), 3);
    // The picture at the top left; one texel right of and below it repeats its edge (so filtering a
    // stretched tile never fades into the empty rest); the rest transparent black. The item keeps
    // the same texels.
    EXPECT_EQ(Texture.Argb[0], Pixels.Argb[0]);
    EXPECT_EQ(Texture.Argb[59 * 128 + 99], Pixels.Argb[59 * 100 + 99]);
    EXPECT_EQ(Texture.Argb[17 * 128 + 100], Pixels.Argb[17 * 100 + 99]);
    EXPECT_EQ(Texture.Argb[60 * 128 + 42], Pixels.Argb[59 * 100 + 42]);
    EXPECT_EQ(Texture.Argb[59 * 128 + 101], 0u);
    EXPECT_EQ(Texture.Argb[61 * 128], 0u);
    ExpectMaskOf(Item->Mask(), Texture);
    // Only the picture and its repeated edge are handed over; the device makes the rest.
    EXPECT_EQ(Texture.ContentWidth, 101);
    EXPECT_EQ(Texture.ContentHeight, 61);

    // Pattern 5 = column 1, row 1: u 25/128 .. 50/128, v 20/64 .. 40/64.
    ASSERT_TRUE(Screen.BeginScene());
    DrawPattern(*Item, 10, 10, 5);
    Screen.EndScene();
    EXPECT_EQ(Device.LastTexture, Item->Texture());
    EXPECT_FLOAT_EQ(Device.LastQuad[0].U, 25.0f / 128.0f);
    EXPECT_FLOAT_EQ(Device.LastQuad[0].V, 20.0f / 64.0f);
    EXPECT_FLOAT_EQ(Device.LastQuad[2].U, 50.0f / 128.0f);
    EXPECT_FLOAT_EQ(Device.LastQuad[2].V, 40.0f / 64.0f);
}

TEST_F(ImageListTest, ManyPicturesEachGetTheirOwnTextureWhateverTheDecodingOrder)
{
    // More pictures than are decoded ahead at once, of different sizes, with items that need no
    // decoding (no picture, a texture kept) in between.
    TImageList List(&Screen);
    std::vector<TPixels> Pictures;
    for (int I = 0; I < 23; ++I)
    {
        Pictures.push_back(MakeTestPixels(3 + 7 * I, 2 + (I * 5) % 17, 1 + I));
        List.ImageList.Add("p" + std::to_string(I), PngPicture(Pictures.back()));
        if (I % 6 == 2)
            List.ImageList.Add()->Name = "empty";
    }
    ASSERT_TRUE(List.LoadTextures());
    List.ReleaseTextures(false); // keeps the textures: the next load decodes nothing
    ASSERT_TRUE(List.LoadTextures());
    for (int I = 0; I < 23; ++I)
    {
        const TImageListItem* Item = List.Find("p" + std::to_string(I));
        ASSERT_NE(Item, nullptr);
        ASSERT_TRUE(Item->Prepared()) << I;
        const auto& Texture = Device.Textures[Item->Texture()];
        const TPixels& Picture = Pictures[static_cast<std::size_t>(I)];
        ASSERT_EQ(Texture.Width, Item->TextureWidth());
        int Wrong = 0;
        for (int Y = 0; Y < Picture.Height; ++Y)
            for (int X = 0; X < Picture.Width; ++X)
                Wrong += Texture.Argb[std::size_t(Y) * Texture.Width + X] !=
                         Picture.Argb[std::size_t(Y) * Picture.Width + X];
        EXPECT_EQ(Wrong, 0) << I;
    }
    EXPECT_EQ(Device.Textures.size(), 23u);
}

TEST_F(ImageListTest, APictureFillingItsTextureSideHasNoRepeatedEdgeOnThatSide)
{
    // 64 wide fills its texture's width: no column past it. 33 high leaves room for the row.
    TImageList List(&Screen);
    const TPixels Pixels = MakeTestPixels(64, 33, 4, true);
    TImageListItem* Item = List.ImageList.Add("wide", PngPicture(Pixels));
    ASSERT_TRUE(List.LoadTextures());
    const auto& Texture = Device.Textures[Item->Texture()];
    ASSERT_EQ(Texture.Width, 64);
    ASSERT_EQ(Texture.Height, 64);
    EXPECT_EQ(Texture.ContentWidth, 64);
    EXPECT_EQ(Texture.ContentHeight, 34);
    int Wrong = 0;
    for (int Y = 0; Y < 64; ++Y)
        for (int X = 0; X < 64; ++X)
        {
            const std::uint32_t Want = Y < 33    ? Pixels.Argb[std::size_t(Y) * 64 + X]
                                       : Y == 33 ? Pixels.Argb[32 * 64 + std::size_t(X)]
                                                 : 0u;
            Wrong += Texture.Argb[std::size_t(Y) * 64 + X] != Want;
        }
    EXPECT_EQ(Wrong, 0);
    ExpectMaskOf(Item->Mask(), Texture);
}

TEST_F(ImageListTest, ColourKeyMakesMatchingTexelsTransparent)
{
    TImageList List(&Screen);
    TPixels Pixels = MakeSolidPixels(4, 2, 0xFF102030u);
    Pixels.Argb[1] = 0xFFFF0000u; // red
    Pixels.Argb[6] = 0x80FF0000u; // red, half transparent: RGB matches too
    Pixels.Argb[7] = 0xFFFE0000u; // almost red
    TImageListItem* Keyed = List.ImageList.Add("keyed", PngPicture(Pixels));
    Keyed->TransparentColor = 0x000000FFu; // clRed is 0x00BBGGRR
    Keyed->Transparent = true;
    TImageListItem* Plain = List.ImageList.Add("plain", PngPicture(Pixels));
    Plain->TransparentColor = 0x000000FFu;
    Plain->Transparent = false;
    ASSERT_TRUE(List.LoadTextures());

    const std::vector<std::uint32_t>& K = Device.Textures[Keyed->Texture()].Argb;
    ASSERT_EQ(K.size(), 4u * 2u);
    EXPECT_EQ(K[0], 0xFF102030u);
    EXPECT_EQ(K[1], 0u);
    EXPECT_EQ(K[4 + 2], 0u);
    EXPECT_EQ(K[4 + 3], 0xFFFE0000u);
    ExpectMaskOf(Keyed->Mask(), Device.Textures[Keyed->Texture()]);
    EXPECT_FALSE(Keyed->Mask().Solid(1, 0));
    EXPECT_EQ(Device.Textures[Plain->Texture()].Argb[1], 0xFFFF0000u);
    EXPECT_TRUE(Plain->Mask().Solid(1, 0));
}

TEST_F(ImageListTest, ReleaseKeepsTexturesUnlessFull)
{
    TImageList List(&Screen);
    TImageListItem* Item = List.ImageList.Add("a", PngPicture(MakeTestPixels(8, 8)));
    List.LoadTextures();
    const TTextureId First = Item->Texture();
    ASSERT_NE(First, 0u);

    List.ReleaseTextures(false);
    EXPECT_FALSE(Item->Prepared());
    EXPECT_EQ(Item->Texture(), First);
    List.LoadTextures();
    EXPECT_TRUE(Item->Prepared());
    EXPECT_EQ(Item->Texture(), First); // kept, not made again
    EXPECT_EQ(Device.FLastTexture, First);

    List.ReleaseTextures(true);
    EXPECT_FALSE(Item->Prepared());
    EXPECT_EQ(Item->Texture(), 0u);
    EXPECT_EQ(Device.FReleased, 1);
    EXPECT_TRUE(Item->Mask().Empty());
    List.LoadTextures();
    EXPECT_NE(Item->Texture(), 0u);
    EXPECT_NE(Item->Texture(), First);
    EXPECT_EQ(Item->Mask().Width(), 8);
    EXPECT_EQ(Item->Mask().Height(), 8);
}

TEST_F(ImageListTest, RegistersWithTheScreenForResetsAndLeavesOnDestruction)
{
    {
        TImageList List(&Screen);
        TImageListItem* Item = List.ImageList.Add("a", PngPicture(MakeTestPixels(8, 8)));
        ASSERT_TRUE(Screen.Initialize());
        const TTextureId First = Item->Texture();
        ASSERT_NE(First, 0u);
        Screen.Reset();
        EXPECT_TRUE(Item->Prepared());
        EXPECT_NE(Item->Texture(), First);
    }
    // The list's textures went with it, and the screen no longer knows the list.
    EXPECT_TRUE(Device.Textures.empty());
    Screen.Reset();
    Screen.Finalize();
}

TEST_F(ImageListTest, TextureFailureShowsTheMessageAndKeepsRunning)
{
    TImageList List(&Screen);
    TImageListItem* Item = List.ImageList.Add("car1", PngPicture(MakeTestPixels(8, 8)));
    Device.FailCreate = true;
    EXPECT_FALSE(List.LoadTextures());
    ASSERT_EQ(Messages.Messages.size(), 1u);
    EXPECT_EQ(Messages.Messages[0].Text, "Error creating texture car1");
    EXPECT_EQ(Messages.Messages[0].Caption, "Error");
    EXPECT_FALSE(Item->Prepared());
    Device.FailCreate = false;
    EXPECT_TRUE(List.LoadTextures());
    EXPECT_TRUE(Item->Prepared());
}

TEST_F(ImageListTest, OnADeviceThatDrawsNothingMasksAreMadeWhenFirstAskedForAndMatch)
{
    // The same pictures on a device that keeps its textures and on one that draws nothing.
    TNullRenderDevice NullDevice;
    TScreen NullScreen{NullDevice, Messages};
    TImageList Drawn(&Screen), Undrawn(&NullScreen);
    TPixels Keyed = MakeTestPixels(21, 13, 5, true);
    Keyed.Argb[7] = 0xFF0000FFu; // blue, the colour key below
    for (TImageList* List : {&Drawn, &Undrawn})
    {
        TImageListItem* Item = List->ImageList.Add("keyed", PngPicture(Keyed), 7, 13);
        Item->TransparentColor = 0x00FF0000u; // clBlue
        Item->Transparent = true;
        TPicture Bmp;
        ASSERT_TRUE(Bmp.AssignPixels(MakeTestPixels(32, 5, 9), TPictureKind::Bmp));
        List->ImageList.Add("bmp", Bmp);
        TPicture Forged;
        ASSERT_TRUE(Forged.Assign(test::ForgeUndecodablePng(test::MakePngBytes(MakeTestPixels(9, 9, 2)))));
        List->ImageList.Add("forged", Forged);
    }
    EXPECT_FALSE(Drawn.LoadTextures()); // the forged picture fails when its texture is made
    ASSERT_EQ(Messages.Messages.size(), 1u);
    Messages.Messages.clear();
    // Nothing is decoded for the device that draws nothing, so nothing fails yet.
    EXPECT_TRUE(Undrawn.LoadTextures());
    EXPECT_TRUE(Messages.Messages.empty());
    for (const char* Name : {"keyed", "bmp"})
    {
        const TImageListItem* A = Drawn.Find(Name);
        const TImageListItem* B = Undrawn.Find(Name);
        ASSERT_TRUE(B->Prepared()) << Name;
        ASSERT_EQ(A->TextureWidth(), B->TextureWidth()) << Name;
        ASSERT_EQ(A->TextureHeight(), B->TextureHeight()) << Name;
        EXPECT_EQ(A->Columns(), B->Columns()) << Name;
        ASSERT_EQ(B->Mask().Width(), A->TextureWidth()) << Name;
        int Differences = 0;
        for (int Y = 0; Y < A->TextureHeight(); ++Y)
            for (int X = 0; X < A->TextureWidth(); ++X)
                Differences += A->Mask().Solid(X, Y) != B->Mask().Solid(X, Y);
        EXPECT_EQ(Differences, 0) << Name;
    }
    EXPECT_FALSE(Undrawn.Find("keyed")->Mask().Solid(7, 0)); // the keyed texel
    // The forged picture fails when its mask is first asked for, once, and has none.
    EXPECT_TRUE(Undrawn.Find("forged")->Mask().Empty());
    EXPECT_TRUE(Undrawn.Find("forged")->Mask().Empty());
    ASSERT_EQ(Messages.Messages.size(), 1u);
    EXPECT_EQ(Messages.Messages[0].Text, "Error creating texture forged");
}

TEST_F(ImageListTest, FilepathPictureReplacesTheStoredOneAndTileZeroTakesTheWholePicture)
{
    test::TTempDir Dir;
    const TPixels FromFile = MakeTestPixels(40, 24, 8);
    WriteFile(Dir.File("outside.png"), MakePngBytes(FromFile));

    TImageList List(&Screen);
    TImageListItem* Item = List.ImageList.Add();
    Item->Name = "outside";
    Item->Filepath = "  " + Dir.File("outside.png") + " ";
    Item->SetTileWidth(0); // no picture yet: stays 0 until the texture is made
    Item->SetTileHeight(0);
    EXPECT_EQ(Item->TileWidth(), 0);
    ASSERT_TRUE(List.LoadTextures());
    EXPECT_EQ(Item->TileWidth(), 40);
    EXPECT_EQ(Item->TileHeight(), 24);
    EXPECT_EQ(Item->Width(), 40);
    EXPECT_EQ(Item->Height(), 24);
    EXPECT_EQ(Item->Columns(), 1);
    EXPECT_EQ(Item->Rows(), 1);
    EXPECT_EQ(Item->TextureWidth(), 64);
    EXPECT_EQ(Item->TextureHeight(), 32);
    // The picture is dropped; the texture keeps the image.
    EXPECT_TRUE(Item->Picture().Empty());
    EXPECT_EQ(Device.Textures[Item->Texture()].Argb[64 * 23 + 39], FromFile.Argb[40 * 23 + 39]);
    ExpectMaskOf(Item->Mask(), Device.Textures[Item->Texture()]);

    // A stored picture is replaced by the file's.
    TImageListItem* Replaced = List.ImageList.Add("replaced", PngPicture(MakeTestPixels(4, 4)));
    Replaced->Filepath = Dir.File("outside.png");
    TImageListItem* Missing = List.ImageList.Add("missing", PngPicture(MakeTestPixels(4, 4)));
    Missing->Filepath = Dir.File("nowhere.png"); // no such file: the stored picture stays
    List.ReleaseTextures(true);
    ASSERT_TRUE(List.LoadTextures());
    EXPECT_EQ(Replaced->Width(), 40);
    // The texture is the file's picture too, not the stored one decoded ahead of it.
    const auto& ReplacedTexture = Device.Textures[Replaced->Texture()];
    EXPECT_EQ(ReplacedTexture.Width, 64);
    EXPECT_EQ(ReplacedTexture.Argb[64 * 23 + 39], FromFile.Argb[40 * 23 + 39]);
    EXPECT_EQ(Missing->Width(), 4);
    EXPECT_TRUE(Missing->Prepared());
    EXPECT_TRUE(Item->Prepared()); // its file was read again
}

TEST_F(ImageListTest, BareFilepathIsTakenFromTheProgramsFolder)
{
    const std::filesystem::path Folder = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    const std::string Name = "velomarch-image-list-test-" + std::to_string(::getpid()) + ".png";
    WriteFile((Folder / Name).string(), MakePngBytes(MakeTestPixels(6, 5)));
    TImageList List(&Screen);
    TImageListItem* Item = List.ImageList.Add();
    Item->Filepath = Name;
    const bool Ok = List.LoadTextures();
    std::filesystem::remove(Folder / Name);
    ASSERT_TRUE(Ok);
    EXPECT_TRUE(Item->Prepared());
    EXPECT_EQ(Item->Width(), 6);
    EXPECT_EQ(Item->Height(), 5);
}

TEST_F(ImageListTest, LoadFromFileShowsFileAndStreamErrorsAndKeepsRunning)
{
    test::TTempDir Dir;
    TImageList List(&Screen);

    EXPECT_FALSE(List.LoadFromFile(Dir.File("absent.vil")));
    ASSERT_EQ(Messages.Messages.size(), 1u);
    EXPECT_EQ(Messages.Messages[0].Text, "Cannot be loaded - file error or file crypted!");
    EXPECT_EQ(Messages.Messages[0].Caption, "Error");

    std::vector<std::uint8_t> Corrupt = test::MakeSmallVil();
    Corrupt[0] = 0xFE;
    WriteFile(Dir.File("corrupt.vil"), Corrupt);
    test::TMessageRecorder Other;
    EXPECT_FALSE(List.LoadFromFile(Dir.File("corrupt.vil"), &Other));
    ASSERT_EQ(Other.Messages.size(), 1u);
    EXPECT_EQ(Other.Messages[0].Text, "The stream could not be loaded, either it is corrupt or encrypted!");
    EXPECT_EQ(Other.Messages[0].Caption, "Error!");
    EXPECT_EQ(Messages.Messages.size(), 1u);

    WriteFile(Dir.File("good.vil"), test::MakeSmallVil());
    EXPECT_TRUE(List.LoadFromFile(Dir.File("good.vil")));
    EXPECT_EQ(List.ImageList.Count(), 2);
    EXPECT_TRUE(List.LoadTextures());
    EXPECT_TRUE(List.Find("ball")->Prepared());
    EXPECT_TRUE(List.Find("panel")->Prepared());
    EXPECT_EQ(Messages.Messages.size(), 1u);
}

} // namespace
} // namespace vm
