// The road tests' view of the generated race list: decoded pictures by key and the piece table.
#pragma once

#include "assetgen/asset_test_support.h"
#include "engine/image_list.h"
#include "engine/picture.h"

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

inline const TPieceKind Pieces[7] = {
    {"r_str", 150, 150, 150, 150, 150},      {"r_left", 394, 184, 184, 184, 184},
    {"r_right", 184, 394, 184, 184, 184},    {"r_str_right", 150, 221, 170, 150, 184},
    {"r_str_left", 254, 184, 170, 150, 184}, {"r_right_str", 184, 254, 170, 184, 150},
    {"r_left_str", 221, 150, 170, 184, 150},
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
