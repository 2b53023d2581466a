// The road tests' view of the generated race list: decoded pictures by key and the piece table.
#pragma once

#include "assetgen/asset_test_support.h"
#include "engine/image_list.h"
#include "engine/picture.h"
#include "world/road_piece_kinds.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

namespace road_test {

// The piece kinds as the race places them: key, centre offsets along the lower and upper edge,
// the outline's half-width, and the drawn half-width along the lower and upper edge (150 where
// the road runs straight up, 184 where it runs along the 35 degree diagonal).
struct TPieceKind
{
    const char* Key;
    int Entry, Exit, HalfWidth;
    int DrawnEntry, DrawnExit;
};

// Key, offsets and outline half-width come from the game's own piece table.
inline TPieceKind MakePiece(int Kind, int DrawnEntry, int DrawnExit)
{
    const vm::TPieceKind& Row = vm::PieceKinds[static_cast<std::size_t>(Kind)];
    return {Row.ImageKey.data(), Row.EntryOffset, Row.ExitOffset, Row.HalfWidth, DrawnEntry, DrawnExit};
}

inline const TPieceKind Pieces[7] = {
    MakePiece(0, 150, 150), MakePiece(1, 184, 184), MakePiece(2, 184, 184), MakePiece(3, 150, 184),
    MakePiece(4, 150, 184), MakePiece(5, 184, 150), MakePiece(6, 184, 150),
};

// Decoded first pattern (or whole picture) of every key in Data/data2.vil, loaded once.
class TRacePictures
{
public:
    static TRacePictures& Get()
    {
        static TRacePictures Instance;
        return Instance;
    }
    bool Loaded() const { return FLoaded; }
    // Whole picture of Key; an empty picture when the key is missing.
    const vm::TPixels& Picture(const std::string& Key)
    {
        auto Found = FPictures.find(Key);
        if (Found != FPictures.end())
            return Found->second;
        vm::TPixels& Out = FPictures[Key];
        if (const vm::TImageListItem* Item = FList.Find(Key))
            Item->Picture().Decode(Out);
        return Out;
    }
    const vm::TImageListItem* Item(const std::string& Key) const { return FList.Find(Key); }

private:
    TRacePictures() { FLoaded = FList.LoadFromFile(test::AssetPath("Data/data2.vil")).Ok; }
    vm::TImageListCollection FList;
    std::map<std::string, vm::TPixels> FPictures;
    bool FLoaded = false;
};

inline std::uint32_t At(const vm::TPixels& P, int X, int Y)
{
    return P.Argb[static_cast<std::size_t>(Y) * P.Width + X];
}
inline int Alpha(std::uint32_t C) { return static_cast<int>(C >> 24); }
inline int Channel(std::uint32_t C, int Shift) { return static_cast<int>((C >> Shift) & 255); }
// Sum of the absolute differences of red, green and blue.
inline int ColorDistance(std::uint32_t A, std::uint32_t B)
{
    int Sum = 0;
    for (int Shift : {16, 8, 0})
        Sum += std::abs(Channel(A, Shift) - Channel(B, Shift));
    return Sum;
}

} // namespace road_test
