// The image-list prefetch: a list taking a prefetch ends as one that read the file itself.
#include "engine/image_list_prefetch.h"

#include "assetgen/asset_test_support.h"
#include "engine/screen.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vm {
namespace {

void WriteFile(const std::string& Path, const std::vector<std::uint8_t>& Bytes)
{
    std::ofstream File(Path, std::ios::binary);
    File.write(reinterpret_cast<const char*>(Bytes.data()), std::streamsize(Bytes.size()));
}

struct TLoadedList
{
    test::TRecordingRenderDevice Device;
    test::TMessageRecorder Messages;
    TScreen Screen{Device, Messages};
    TImageList List{&Screen};
};

// Every item's name, grid, texture texels and collision mask agree between the two lists.
void ExpectSameLists(const TLoadedList& Direct, const TLoadedList& Taken)
{
    ASSERT_EQ(Direct.List.ImageList.Count(), Taken.List.ImageList.Count());
    for (int I = 0; I < Direct.List.ImageList.Count(); ++I)
    {
        const TImageListItem* A = Direct.List.ImageList.Items(I);
        const TImageListItem* B = Taken.List.ImageList.Items(I);
        ASSERT_EQ(A->Name, B->Name);
        EXPECT_EQ(B->Owner(), &Taken.List) << A->Name;
        EXPECT_EQ(A->Prepared(), B->Prepared()) << A->Name;
        EXPECT_EQ(A->TileWidth(), B->TileWidth()) << A->Name;
        EXPECT_EQ(A->TileHeight(), B->TileHeight()) << A->Name;
        EXPECT_EQ(A->TextureWidth(), B->TextureWidth()) << A->Name;
        EXPECT_EQ(A->TextureHeight(), B->TextureHeight()) << A->Name;
        ASSERT_EQ(A->Texture() != 0, B->Texture() != 0) << A->Name;
        if (A->Texture() == 0)
            continue;
        EXPECT_EQ(Direct.Device.Textures.at(A->Texture()).Argb, Taken.Device.Textures.at(B->Texture()).Argb)
            << A->Name;
        int MaskDifferences = 0;
        for (int Y = 0; Y < A->Mask().Height(); ++Y)
            for (int X = 0; X < A->Mask().Width(); ++X)
                MaskDifferences += A->Mask().Solid(X, Y) != B->Mask().Solid(X, Y);
        EXPECT_EQ(MaskDifferences, 0) << A->Name;
    }
}

TEST(ImageListPrefetch, TheMenuPicturesTakenFromAPrefetchMakeTheSameTexturesAsReadingThem)
{
    const std::string File = ::test::AssetPath("Data/data1.vil");
    TLoadedList Direct;
    ASSERT_TRUE(Direct.List.LoadFromFile(File));
    ASSERT_TRUE(Direct.List.LoadTextures());
    ASSERT_GT(Direct.List.ImageList.Count(), 10);
    // A prefetch that decoded a few pictures, and one that decoded every picture: the list
    // decodes the rest itself, and neither kind of item may come out different.
    for (const int MaxDecoded : {3, 1000})
    {
        TImageListPrefetch Prefetch(File, MaxDecoded);
        TLoadedList Taken;
        ASSERT_TRUE(Taken.List.LoadFromPrefetch(Prefetch));
        ASSERT_TRUE(Taken.List.LoadTextures());
        EXPECT_TRUE(Taken.Messages.Messages.empty());
        ExpectSameLists(Direct, Taken);
    }
}

TEST(ImageListPrefetch, AFileThatCannotBeReadShowsTheMessagesReadingItWouldShow)
{
    test::TTempDir Dir;
    std::vector<std::uint8_t> Corrupt = test::MakeSmallVil();
    Corrupt[0] = 0xFE;
    WriteFile(Dir.File("corrupt.vil"), Corrupt);
    for (const std::string& Name : {std::string("absent.vil"), std::string("corrupt.vil")})
    {
        TLoadedList Direct, Taken;
        EXPECT_FALSE(Direct.List.LoadFromFile(Dir.File(Name)));
        TImageListPrefetch Prefetch(Dir.File(Name));
        EXPECT_FALSE(Taken.List.LoadFromPrefetch(Prefetch));
        ASSERT_EQ(Taken.Messages.Messages.size(), 1u) << Name;
        ASSERT_EQ(Direct.Messages.Messages.size(), 1u) << Name;
        EXPECT_EQ(Taken.Messages.Messages[0].Text, Direct.Messages.Messages[0].Text);
        EXPECT_EQ(Taken.Messages.Messages[0].Caption, Direct.Messages.Messages[0].Caption);
        EXPECT_EQ(Taken.List.ImageList.Count(), Direct.List.ImageList.Count());
    }
}

TEST(ImageListPrefetch, APrefetchLeftUntakenStopsAndASecondTakeReadsTheFileAgain)
{
    const std::string File = ::test::AssetPath("Data/data1.vil");
    // Destroyed at once, most likely while it reads or decodes: it must stop cleanly.
    for (int I = 0; I < 20; ++I)
        TImageListPrefetch Untaken(File, 1000);

    TImageListPrefetch Prefetch(File);
    TLoadedList First, Second;
    ASSERT_TRUE(First.List.LoadFromPrefetch(Prefetch));
    ASSERT_TRUE(Second.List.LoadFromPrefetch(Prefetch));
    EXPECT_GT(Second.List.ImageList.Count(), 10);
    EXPECT_EQ(First.List.ImageList.Count(), Second.List.ImageList.Count());
}

} // namespace
} // namespace vm
