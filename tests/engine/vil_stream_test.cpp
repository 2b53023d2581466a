// The .vil image-list file: writer and reader agree, the reader follows the stream's rules,
// and no input (cut, flipped or lying about lengths) crashes it.
#include "engine/vil_stream.h"

#include "engine/image_list.h"
#include "engine/screen.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <random>

namespace vm {
namespace {

using namespace vil;
using test::MakePngBytes;
using test::MakeTestPixels;

TPixels PixelsOf(const TImageListItem& Item)
{
    TPixels Pixels;
    EXPECT_TRUE(Item.Picture().Decode(Pixels)) << Item.Name;
    return Pixels;
}

// Builds streams by hand: header, root, then the caller's items.
class TStreamBuilder
{
public:
    TVilWriter Items;

    void BeginItem() { Items.Byte(vaList); }
    void EndItem() { Items.Byte(vaNull); }
    void Name(const std::string& Text)
    {
        Items.ShortString("Name");
        Items.String(Text);
    }
    void Png(const TPixels& Pixels)
    {
        TVilWriter Data;
        Data.ShortString("TPNGObject");
        const std::vector<std::uint8_t> Png = MakePngBytes(Pixels);
        Data.Raw(Png.data(), Png.size());
        Items.ShortString("Picture.Data");
        Items.Binary(Data.Bytes);
    }
    void Int(const std::string& Property, std::int32_t Value)
    {
        Items.ShortString(Property);
        Items.Integer(Value);
    }

    std::vector<std::uint8_t> Build() const { return WrapItems(Items.Bytes); }
};

TEST(VilStream, WriterThenReaderKeepsEverything)
{
    TImageListCollection Out;
    const TPixels PngPixels = MakeTestPixels(48, 16, 1, true);
    const TPixels BmpPixels = MakeTestPixels(10, 7, 2);
    const TPixels BmpAlpha = MakeTestPixels(5, 9, 3, true);
    TPicture Png, Bmp, Bmp32;
    ASSERT_TRUE(Png.AssignPixels(PngPixels, TPictureKind::Png));
    ASSERT_TRUE(Bmp.AssignPixels(BmpPixels, TPictureKind::Bmp));
    ASSERT_TRUE(Bmp32.AssignPixels(BmpAlpha, TPictureKind::Bmp));
    TImageListItem* A = Out.Add("car1", Png, 16, 8);
    A->TransparentColor = 0x00FF00FFu;
    A->Transparent = true;
    TImageListItem* B = Out.Add("mainback", Bmp);
    B->TransparentColor = 0x00C0C0C0u;                               // needs 4 bytes
    TImageListItem* C = Out.Add(std::string(300, 'x'), Bmp32, 5, 3); // a long-string name
    C->TransparentColor = 0x1FFFFFFFu;
    C->Filepath = "Data/extra.png";
    TImageListItem* D = Out.Add(); // no picture at all
    D->Name = "empty";
    D->SetTileWidth(200); // 2-byte integer
    D->SetTileHeight(-1);

    const std::vector<std::uint8_t> Stream = Out.SaveToStream();
    TImageListCollection In;
    ASSERT_TRUE(In.LoadFromStream(Stream).Ok);
    ASSERT_EQ(In.Count(), 4);
    for (int I = 0; I < 4; ++I)
    {
        const TImageListItem& W = *Out.Items(I);
        const TImageListItem& R = *In.Items(I);
        EXPECT_EQ(R.Name, W.Name);
        EXPECT_EQ(R.TileWidth(), W.TileWidth()) << I;
        EXPECT_EQ(R.TileHeight(), W.TileHeight()) << I;
        EXPECT_EQ(R.Columns(), W.Columns()) << I;
        EXPECT_EQ(R.Rows(), W.Rows()) << I;
        EXPECT_EQ(R.Width(), W.Width()) << I;
        EXPECT_EQ(R.Height(), W.Height()) << I;
        EXPECT_EQ(R.TransparentColor, W.TransparentColor) << I;
        EXPECT_EQ(R.Transparent, W.Transparent) << I;
        EXPECT_EQ(R.Filepath, W.Filepath) << I;
        EXPECT_EQ(R.Picture().Kind(), W.Picture().Kind()) << I;
        EXPECT_EQ(R.Picture().Bytes(), W.Picture().Bytes()) << I;
    }
    EXPECT_EQ(PixelsOf(*In.Items(0)).Argb, PngPixels.Argb);
    EXPECT_EQ(PixelsOf(*In.Items(1)).Argb, BmpPixels.Argb);
    EXPECT_EQ(PixelsOf(*In.Items(2)).Argb, BmpAlpha.Argb);
    EXPECT_EQ(In.Items(0)->Columns(), 3);
    EXPECT_EQ(In.Items(0)->Rows(), 2);
    EXPECT_EQ(In.Find("car1"), In.Items(0));

    // Writing what was read gives the same bytes.
    EXPECT_EQ(In.SaveToStream(), Stream);
}

TEST(VilStream, WriterLayoutHeaderAndIntegerWidths)
{
    TImageListCollection List;
    TImageListItem* Item = List.Add();
    Item->Name = "a";
    Item->SetTileWidth(-100);       // empty picture: 0
    Item->SetTileHeight(1000);      // 2 bytes
    Item->TransparentColor = 0x7Fu; // 1 byte
    const std::vector<std::uint8_t> S = List.SaveToStream();

    const std::string Name = ResourceName;
    std::size_t At = 0;
    ASSERT_GT(S.size(), 40u);
    EXPECT_EQ(S[At++], 0xFF);
    EXPECT_EQ(S[At++], 0x0A);
    EXPECT_EQ(S[At++], 0x00);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(S.data() + At), Name.size()), Name);
    At += Name.size();
    EXPECT_EQ(S[At++], 0);
    EXPECT_EQ(S[At] | (S[At + 1] << 8), 0x1030);
    At += 2;
    const std::uint32_t Size =
        S[At] | (S[At + 1] << 8) | (S[At + 2] << 16) | (std::uint32_t(S[At + 3]) << 24);
    At += 4;
    EXPECT_EQ(Size, S.size() - At);
    EXPECT_EQ(std::memcmp(S.data() + At, "TPF0", 4), 0);
    At += 4;
    EXPECT_EQ(S[At], std::strlen(RootClassName));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(S.data() + At + 1), S[At]), RootClassName);
    At += 1 + S[At];
    EXPECT_EQ(S[At++], 0); // empty object name

    TVilWriter Expected;
    Expected.ShortString("List");
    Expected.Byte(vaCollection);
    Expected.Byte(vaList);
    Expected.ShortString("Name");
    Expected.Raw("\x06\x01"
                 "a",
                 3);
    Expected.ShortString("TileHeight");
    Expected.Raw("\x03\xE8\x03", 3);
    Expected.ShortString("TileWidth");
    Expected.Raw("\x02\x00", 2);
    Expected.ShortString("TransparentColor");
    Expected.Raw("\x02\x7F", 2);
    Expected.ShortString("Transparent");
    Expected.Byte(vaFalse);
    Expected.Raw("\0\0\0\0", 4); // item, collection, properties, children
    EXPECT_EQ(std::vector<std::uint8_t>(S.begin() + At, S.end()), Expected.Bytes);
}

TEST(VilStream, TileSizeNotStoredGivesTheWholePictureAsOnePattern)
{
    TStreamBuilder S;
    S.BeginItem();
    S.Name("whole");
    S.Png(MakeTestPixels(30, 20));
    S.EndItem();
    S.BeginItem();
    S.Name("zero");
    S.Png(MakeTestPixels(30, 20));
    S.Int("TileWidth", 0);
    S.Int("TileHeight", 0);
    S.EndItem();
    TImageListCollection List;
    ASSERT_TRUE(List.LoadFromStream(S.Build()).Ok);
    for (const char* Name : {"whole", "zero"})
    {
        const TImageListItem* Item = List.Find(Name);
        ASSERT_NE(Item, nullptr);
        EXPECT_EQ(Item->TileWidth(), 30) << Name;
        EXPECT_EQ(Item->TileHeight(), 20) << Name;
        EXPECT_EQ(Item->Columns() * Item->Rows(), 1) << Name;
        EXPECT_EQ(Item->TextureWidth(), 32) << Name;
        EXPECT_EQ(Item->TextureHeight(), 32) << Name;
    }
}

TEST(VilStream, PropertiesApplyInStreamOrderAndAbsentOnesKeepDefaults)
{
    TStreamBuilder S;
    S.BeginItem();
    S.Int("TileWidth", 5); // overridden by the picture that follows
    S.Png(MakeTestPixels(30, 20));
    S.Int("TileHeight", 10);
    S.EndItem();
    TImageListCollection List;
    ASSERT_TRUE(List.LoadFromStream(S.Build()).Ok);
    ASSERT_EQ(List.Count(), 1);
    const TImageListItem& Item = *List.Items(0);
    EXPECT_EQ(Item.Name, "");
    EXPECT_EQ(Item.TileWidth(), 30);
    EXPECT_EQ(Item.TileHeight(), 10);
    EXPECT_EQ(Item.Rows(), 2);
    EXPECT_EQ(Item.TransparentColor, 0u);
    EXPECT_FALSE(Item.Transparent);
    EXPECT_EQ(Item.Filepath, "");
}

TEST(VilStream, ReaderTakesOrderNumbersColourNamesAndSkipsUnknownProperties)
{
    TStreamBuilder S;
    S.Items.Integer(0); // order of the first item
    S.BeginItem();
    S.Name("first");
    S.Items.ShortString("TransparentColor");
    S.Items.Ident("clFuchsia");
    // Unknown properties of every known type are stepped over.
    S.Items.ShortString("Tag");
    S.Items.Byte(vaInt64);
    S.Items.Raw("12345678", 8);
    S.Items.ShortString("Hint");
    S.Items.Byte(vaWString);
    S.Items.DWord(2);
    S.Items.Raw("h\0i\0", 4);
    S.Items.ShortString("Options");
    S.Items.Byte(vaSet);
    S.Items.ShortString("opA");
    S.Items.ShortString("opB");
    S.Items.Byte(0);
    S.Items.ShortString("Strings");
    S.Items.Byte(vaList);
    S.Items.String("one");
    S.Items.Integer(70000);
    S.Items.Byte(vaList);
    S.Items.Byte(vaNil);
    S.Items.Byte(vaNull);
    S.Items.Byte(vaNull);
    S.Items.ShortString("Nested");
    S.Items.Byte(vaCollection);
    S.Items.Integer(3);
    S.Items.Byte(vaList);
    S.Items.ShortString("Value");
    S.Items.Byte(vaExtended);
    S.Items.Raw("0123456789", 10);
    S.Items.Byte(vaNull);
    S.Items.Byte(vaNull);
    S.Items.ShortString("Blob");
    S.Items.Binary({1, 2, 3});
    S.Items.ShortString("Transparent");
    S.Items.Boolean(true);
    S.Items.ShortString("Filepath");
    S.Items.Byte(vaLString);
    S.Items.DWord(5);
    S.Items.Raw("a.png", 5);
    S.EndItem();
    S.Items.Integer(1);
    S.BeginItem();
    S.Name("second");
    S.Items.ShortString("TransparentColor");
    S.Items.Ident("CLWHITE"); // identifiers compare without case
    S.EndItem();

    TImageListCollection List;
    ASSERT_TRUE(List.LoadFromStream(S.Build()).Ok);
    ASSERT_EQ(List.Count(), 2);
    EXPECT_EQ(List.Items(0)->TransparentColor, 0x00FF00FFu);
    EXPECT_TRUE(List.Items(0)->Transparent);
    EXPECT_EQ(List.Items(0)->Filepath, "a.png");
    EXPECT_EQ(List.Items(1)->Name, "second");
    EXPECT_EQ(List.Items(1)->TransparentColor, 0x00FFFFFFu);
}

TEST(VilStream, ColourIdentifiers)
{
    EXPECT_EQ(ColorFromIdent("clBlack"), 0x000000u);
    EXPECT_EQ(ColorFromIdent("clRed"), 0x0000FFu);
    EXPECT_EQ(ColorFromIdent("clBlue"), 0xFF0000u);
    EXPECT_EQ(ColorFromIdent("clTeal"), 0x808000u);
    EXPECT_EQ(ColorFromIdent("clNone"), 0x1FFFFFFFu);
    EXPECT_EQ(ColorFromIdent("clDefault"), 0x20000000u);
    EXPECT_FALSE(ColorFromIdent("clBtnFace").has_value());
    EXPECT_FALSE(ColorFromIdent("").has_value());
}

// Each case: items before the fault stay, the result names the corrupt stream.
void ExpectCorruptAfterOneItem(const std::vector<std::uint8_t>& Stream, const char* What)
{
    TImageListCollection List;
    const TLoadResult Result = List.LoadFromStream(Stream);
    EXPECT_FALSE(Result.Ok) << What;
    EXPECT_EQ(Result.Error, CorruptStreamText) << What;
    ASSERT_GE(List.Count(), 1) << What;
    EXPECT_EQ(List.Items(0)->Name, "good") << What;
    EXPECT_EQ(List.Items(0)->Width(), 4) << What;
}

TEST(VilStream, CorruptValuesFailAndKeepEarlierItems)
{
    auto WithSecondItem = [](const std::function<void(TVilWriter&)>& Fill) {
        TStreamBuilder S;
        S.BeginItem();
        S.Name("good");
        S.Png(MakeTestPixels(4, 4));
        S.EndItem();
        S.BeginItem();
        Fill(S.Items);
        S.EndItem();
        return S.Build();
    };
    ExpectCorruptAfterOneItem(WithSecondItem([](TVilWriter& W) {
                                  W.ShortString("TransparentColor");
                                  W.Ident("clNotAColour");
                              }),
                              "unknown colour");
    ExpectCorruptAfterOneItem(WithSecondItem([](TVilWriter& W) {
                                  W.ShortString("Whatever");
                                  W.Byte(0x42);
                              }),
                              "unknown type");
    ExpectCorruptAfterOneItem(WithSecondItem([](TVilWriter& W) {
                                  W.ShortString("TileWidth");
                                  W.String("12");
                              }),
                              "string for an integer");
    ExpectCorruptAfterOneItem(WithSecondItem([](TVilWriter& W) {
                                  W.ShortString("Picture.Data");
                                  W.Byte(vaBinary);
                                  W.DWord(0xFFFFFFF0u);
                                  W.Raw("\x0ATPNGObject", 11);
                              }),
                              "binary longer than the stream");
    ExpectCorruptAfterOneItem(WithSecondItem([](TVilWriter& W) {
                                  W.ShortString("Name");
                                  W.Byte(vaLString);
                                  W.DWord(0x7FFFFFFFu);
                              }),
                              "long string longer than the stream");
    ExpectCorruptAfterOneItem(WithSecondItem([](TVilWriter& W) {
                                  W.ShortString("Hint");
                                  W.Byte(vaWString);
                                  W.DWord(0xFFFFFFFFu);
                              }),
                              "wide string longer than the stream");
    ExpectCorruptAfterOneItem(WithSecondItem([](TVilWriter& W) {
                                  TVilWriter Data;
                                  Data.ShortString("TBitmap");
                                  Data.DWord(1000); // more than follows
                                  Data.Raw("BM", 2);
                                  W.ShortString("Picture.Data");
                                  W.Binary(Data.Bytes);
                              }),
                              "bitmap size larger than the binary");
    ExpectCorruptAfterOneItem(WithSecondItem([](TVilWriter& W) {
                                  TVilWriter Data;
                                  Data.ShortString("TPNGObject");
                                  std::vector<std::uint8_t> Png = MakePngBytes(MakeTestPixels(4, 4));
                                  Png.resize(Png.size() / 2);
                                  Data.Raw(Png.data(), Png.size());
                                  W.ShortString("Picture.Data");
                                  W.Binary(Data.Bytes);
                              }),
                              "cut PNG");
    ExpectCorruptAfterOneItem(WithSecondItem([](TVilWriter& W) {
                                  std::vector<std::uint8_t> Bmp;
                                  EncodeBmp(MakeTestPixels(2, 2), Bmp);
                                  TVilWriter Data;
                                  Data.ShortString("TPNGObject"); // says PNG, holds BMP
                                  Data.Raw(Bmp.data(), Bmp.size());
                                  W.ShortString("Picture.Data");
                                  W.Binary(Data.Bytes);
                              }),
                              "picture of the wrong kind");
    ExpectCorruptAfterOneItem(WithSecondItem([](TVilWriter& W) {
                                  // Lists nested deeper than any real stream.
                                  W.ShortString("Deep");
                                  for (int I = 0; I < 100000; ++I)
                                      W.Byte(vaList);
                              }),
                              "deep nesting");
}

TEST(VilStream, UnknownPictureKindGivesAnEmptyPicture)
{
    TStreamBuilder S;
    S.BeginItem();
    S.Name("gif");
    TVilWriter Data;
    Data.ShortString("TGIFImage");
    Data.Raw("GIF89a", 6);
    S.Items.ShortString("Picture.Data");
    S.Items.Binary(Data.Bytes);
    S.EndItem();
    TImageListCollection List;
    ASSERT_TRUE(List.LoadFromStream(S.Build()).Ok);
    ASSERT_EQ(List.Count(), 1);
    EXPECT_TRUE(List.Items(0)->Picture().Empty());
}

TEST(VilStream, BadResourceHeaderOrSignatureIsCorrupt)
{
    const std::vector<std::uint8_t> Good = test::MakeSmallVil();
    TImageListCollection List;
    ASSERT_TRUE(List.LoadFromStream(Good).Ok);
    EXPECT_EQ(List.Count(), 2);

    for (std::size_t At : {std::size_t(0), std::size_t(1), std::size_t(2)})
    {
        std::vector<std::uint8_t> Bad = Good;
        Bad[At] ^= 0x01;
        const TLoadResult Result = List.LoadFromStream(Bad);
        EXPECT_FALSE(Result.Ok) << At;
        EXPECT_EQ(Result.Error, CorruptStreamText);
        EXPECT_EQ(List.Count(), 0); // cleared first
    }
    // Flags and size are not checked.
    std::vector<std::uint8_t> OtherFlags = Good;
    const std::size_t AfterName = 3 + std::strlen(ResourceName) + 1;
    OtherFlags[AfterName] = 0x00;
    OtherFlags[AfterName + 2] = 0x99;
    EXPECT_TRUE(List.LoadFromStream(OtherFlags).Ok);
    std::vector<std::uint8_t> NoSignature = Good;
    NoSignature[AfterName + 6] = 'X';
    EXPECT_FALSE(List.LoadFromStream(NoSignature).Ok);
    EXPECT_FALSE(List.LoadFromStream({}).Ok);
}

TEST(VilStream, StreamFilterSeesTheStreamFirst)
{
    std::vector<std::uint8_t> Scrambled = test::MakeSmallVil();
    for (std::uint8_t& Byte : Scrambled)
        Byte ^= 0x5A;
    TImageListCollection List;
    EXPECT_FALSE(List.LoadFromStream(Scrambled).Ok);
    List.StreamFilter = [](const std::vector<std::uint8_t>& In) {
        std::vector<std::uint8_t> Out = In;
        for (std::uint8_t& Byte : Out)
            Byte ^= 0x5A;
        return Out;
    };
    EXPECT_TRUE(List.LoadFromStream(Scrambled).Ok);
    EXPECT_EQ(List.Count(), 2);
}

TEST(VilStream, EveryPrefixFailsCleanly)
{
    const std::vector<std::uint8_t> Good = test::MakeSmallVil();
    TImageListCollection List;
    for (std::size_t Length = 0; Length < Good.size(); ++Length)
    {
        const std::vector<std::uint8_t> Prefix(Good.begin(), Good.begin() + Length);
        const TLoadResult Result = List.LoadFromStream(Prefix);
        ASSERT_FALSE(Result.Ok) << Length;
        ASSERT_EQ(Result.Error, CorruptStreamText);
        ASSERT_LE(List.Count(), 2);
    }
    EXPECT_TRUE(List.LoadFromStream(Good).Ok);
}

TEST(VilStream, RandomByteFlipsNeverCrash)
{
    const std::vector<std::uint8_t> Good = test::MakeSmallVil();
    test::TRecordingRenderDevice Device;
    test::TMessageRecorder Messages;
    TScreen Screen(Device, Messages);
    TImageList List(&Screen);
    std::mt19937 Random(20240611u);
    int Loaded = 0;
    for (int Round = 0; Round < 3000; ++Round)
    {
        std::vector<std::uint8_t> Bytes = Good;
        const int Flips = 1 + int(Random() % 4);
        for (int I = 0; I < Flips; ++I)
        {
            const std::size_t At = Random() % Bytes.size();
            if (Random() % 2 == 0)
                Bytes[At] ^= std::uint8_t(1u << (Random() % 8));
            else
                Bytes[At] = std::uint8_t(Random());
        }
        if (Random() % 8 == 0)
            Bytes.resize(Random() % Bytes.size());
        const TLoadResult Result = List.ImageList.LoadFromStream(Bytes);
        if (Result.Ok)
            ++Loaded;
        else
            ASSERT_EQ(Result.Error, CorruptStreamText);
        // Whatever was read makes textures (or fails to) without harm.
        List.LoadTextures();
        List.ReleaseTextures(true);
    }
    EXPECT_GT(Loaded, 0); // some flips land in pixels or names and still load
}

TEST(VilStream, SaveToFileAndLoadFromFile)
{
    test::TTempDir Dir;
    TImageListCollection Out;
    TPicture Picture;
    ASSERT_TRUE(Picture.AssignPixels(MakeTestPixels(12, 12), TPictureKind::Png));
    Out.Add("icon", Picture, 6, 4);
    ASSERT_TRUE(Out.SaveToFile(Dir.File("data1.vil")));

    TImageListCollection In;
    In.Add()->Name = "old";
    ASSERT_TRUE(In.LoadFromFile(Dir.File("data1.vil")).Ok);
    ASSERT_EQ(In.Count(), 1);
    EXPECT_EQ(In.Items(0)->Name, "icon");
    EXPECT_EQ(In.Items(0)->Columns(), 2);
    EXPECT_EQ(In.Items(0)->Rows(), 3);

    // A missing file or a folder is a file error; the list stays as it was.
    TLoadResult Result = In.LoadFromFile(Dir.File("data2.vil"));
    EXPECT_FALSE(Result.Ok);
    EXPECT_EQ(Result.Error, FileErrorText);
    EXPECT_EQ(In.Count(), 1);
    Result = In.LoadFromFile(Dir.Path().string());
    EXPECT_EQ(Result.Error, FileErrorText);
    // An empty file is read, then fails as a stream.
    std::ofstream(Dir.File("empty.vil")).close();
    EXPECT_EQ(In.LoadFromFile(Dir.File("empty.vil")).Error, CorruptStreamText);
    EXPECT_FALSE(Out.SaveToFile(Dir.File("no/such/folder/x.vil")));
}

} // namespace
} // namespace vm
