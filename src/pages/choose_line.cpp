// The profile list's selection bar.
#include "pages/choose_line.h"

#include "engine/image_list.h"
#include "engine/random.h"

#include <algorithm>

namespace vm {

namespace {

constexpr int FirstRowY = 246;
constexpr int RowHeight = 16;

} // namespace

TChooseLine::TChooseLine(TSpriteEngine& Engine, TImageList& MenuImages, TRandom& Rng, float X, float Y,
                         const int* SelectedRow)
    : TSprite(Engine), FSelectedRow(SelectedRow)
{
    SetImage(MenuImages.Find("chooseline"));
    SetName("chooseline");
    SetPatternIndex(0);
    SetX(X);
    SetY(Y);
    SetZ(610);
    SetAlpha(100 + Rng.Random(100));
    FStep = 5;
    Visible = true;
}

void TChooseLine::Move(float /*MoveCount*/)
{
    // Follow the selected row; no selection (-1) keeps the bar on the first row.
    const int Row = FSelectedRow != nullptr ? std::max(*FSelectedRow, 0) : 0;
    SetY(static_cast<float>(FirstRowY + RowHeight * Row));

    // The bar pulses: its alpha swings between 100 and 250, 5 a frame.
    if (FStep <= 0)
    {
        if (Alpha() <= 100)
            FStep = 5;
        else
            SetAlpha(Alpha() + FStep);
    }
    else
    {
        if (Alpha() >= 250)
            FStep = -5;
        else
            SetAlpha(Alpha() + FStep);
    }
}

} // namespace vm
