// The letter grid: its keys, cursor moves, typing through the edit, and drawing.
#include "engine/gui_letter_grid.h"

#include "engine/gui.h"
#include "engine/gui_edit.h"
#include "engine/gui_list.h"
#include "engine/image_draw.h"
#include "engine/image_list.h"
#include "engine/picture.h"
#include "engine/utf8.h"
#include "engine/virtual_keys.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vm {

namespace {

constexpr char32_t Backspace = 8;
constexpr int KeyCount = 39; // 26 letters, 10 digits, space, delete, done

// Tiles of the grid's picture: a plain white one (panel, lines) and a rounded key.
constexpr int PlainTile = 0;
constexpr int KeyTile = 1;
constexpr double KeyRadius = 5.0;

constexpr std::uint32_t PanelColor = 0xEB101418;  // the notices' dark panel
constexpr std::uint32_t AccentColor = 0xFFFF8A1F; // the pages' orange top line
constexpr std::uint32_t EdgeColor = 0xFF303840;
constexpr std::uint32_t KeyColor = 0xFF2A333D;
constexpr std::uint32_t DoneKeyColor = 0xFF3A2C1C;
constexpr std::uint32_t CursorKeyColor = 0xFF6A4A14;
constexpr std::uint32_t CursorTextColor = 0xFFFFC83D; // the focus ring's amber
constexpr std::uint32_t DoneTextColor = 0xFFFF9A3A;

using TKeyTable = std::array<TGuiLetterGrid::TKey, KeyCount>;

TKeyTable MakeKeys()
{
    TKeyTable Keys{};
    const std::u32string Characters = U"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ";
    std::size_t I = 0;
    for (; I < Characters.size(); ++I)
    {
        Keys[I].Kind = TGuiLetterGrid::kkCharacter;
        Keys[I].Code = Characters[I];
        Keys[I].Row = static_cast<int>(I) / TGuiLetterGrid::Columns;
        Keys[I].Column = static_cast<int>(I) % TGuiLetterGrid::Columns;
    }
    Keys[I] = {TGuiLetterGrid::kkDelete, 0, 3, 7, 1};
    Keys[I + 1] = {TGuiLetterGrid::kkDone, 0, 3, 8, 2};
    return Keys;
}

const TKeyTable& Keys()
{
    static const TKeyTable Table = MakeKeys();
    return Table;
}

TPixels GridPixels()
{
    using TGrid = TGuiLetterGrid;
    TPixels Pixels;
    Pixels.Width = TGrid::CellWidth * 2;
    Pixels.Height = TGrid::CellHeight;
    Pixels.Argb.assign(static_cast<std::size_t>(Pixels.Width * Pixels.Height), 0xFFFFFFFFu);
    // The key: a rounded rectangle, its edge smoothed over a pixel and a lighter rim inside it.
    for (int Y = 0; Y < TGrid::CellHeight; ++Y)
        for (int X = 0; X < TGrid::CellWidth; ++X)
        {
            const double Hx = TGrid::CellWidth / 2.0 - KeyRadius, Hy = TGrid::CellHeight / 2.0 - KeyRadius;
            const double Qx = std::abs(X + 0.5 - TGrid::CellWidth / 2.0) - Hx;
            const double Qy = std::abs(Y + 0.5 - TGrid::CellHeight / 2.0) - Hy;
            const double D = std::hypot(std::max(Qx, 0.0), std::max(Qy, 0.0)) +
                             std::min(std::max(Qx, Qy), 0.0) - KeyRadius;
            const double Alpha = std::clamp(0.5 - D, 0.0, 1.0);
            // Rim: brighter on the top edge, as the page buttons are lit from above.
            const bool Rim = D > -1.5;
            const std::uint32_t Level = Rim ? (Y < TGrid::CellHeight / 2 ? 0xFF : 0xC8) : 0xE6;
            const auto A = static_cast<std::uint32_t>(std::lround(Alpha * 255));
            Pixels.Argb[static_cast<std::size_t>(Y * Pixels.Width + TGrid::CellWidth + X)] =
                A << 24 | Level << 16 | Level << 8 | Level;
        }
    return Pixels;
}

} // namespace

TGuiLetterGrid::TGuiLetterGrid(TGuiList& Owner) : TGuiComponent(Owner), FGlow(Owner.Gui().Screen)
{
    TabStop = true;
    Visible = false;
    Width = Padding * 2 + Columns * CellWidth + (Columns - 1) * Gap;
    Height = Padding * 2 + Rows * CellHeight + (Rows - 1) * Gap;
}

TGuiLetterGrid::~TGuiLetterGrid() = default;

void TGuiLetterGrid::Attach(TGuiEdit* Edit) { FEditId = Edit != nullptr ? Edit->Id() : -1; }

TGuiEdit* TGuiLetterGrid::Edit() const { return dynamic_cast<TGuiEdit*>(Gui().Find(FEditId)); }

void TGuiLetterGrid::Open(bool TakeFocus)
{
    Visible = true;
    if (TGuiEdit* E = Edit())
        E->TabStop = false;
    if (TakeFocus)
        Gui().SetFocus(this);
}

void TGuiLetterGrid::Close()
{
    const bool HadFocus = Gui().FocusId() == Id();
    Visible = false;
    TGuiEdit* E = Edit();
    if (E == nullptr)
        return;
    E->TabStop = true;
    if (HadFocus)
        Gui().SetFocus(E);
}

const TGuiLetterGrid::TKey& TGuiLetterGrid::KeyAt(int Row, int Column)
{
    Row = std::clamp(Row, 0, Rows - 1);
    Column = std::clamp(Column, 0, Columns - 1);
    for (const TKey& Key : Keys())
        if (Key.Row == Row && Column >= Key.Column && Column < Key.Column + Key.Span)
            return Key;
    return Keys().front(); // every cell has a key; kept for safety
}

const TGuiLetterGrid::TKey& TGuiLetterGrid::Current() const { return KeyAt(FRow, FColumn); }

void TGuiLetterGrid::SetCursor(int Row, int Column)
{
    FRow = std::clamp(Row, 0, Rows - 1);
    FColumn = std::clamp(Column, 0, Columns - 1);
}

std::string TGuiLetterGrid::Label(const TKey& Key)
{
    switch (Key.Kind)
    {
    case kkDelete: return "DEL";
    case kkDone: return "DONE";
    default: return Key.Code == U' ' ? std::string() : EncodeUtf8(std::u32string(1, Key.Code));
    }
}

bool TGuiLetterGrid::Press()
{
    TGuiEdit* E = Edit();
    const TKey& Key = Current();
    switch (Key.Kind)
    {
    case kkCharacter: return E != nullptr && E->Type(Key.Code);
    case kkDelete: return E != nullptr && E->Type(Backspace);
    case kkDone:
        // A copy runs: the handler may free this grid, which is not touched afterwards.
        if (TGuiNotifyEvent Handler = OnDone)
            Handler(this);
        return true;
    }
    return false;
}

bool TGuiLetterGrid::KeyDown(int VirtualKey)
{
    if (KeysForGrid && !KeysForGrid())
    {
        // Keyboard typing: the grid goes and the edit gets the key as it would have without it.
        TGuiEdit* E = Edit();
        Close();
        return E != nullptr && E->KeyDown(VirtualKey);
    }
    const TKey& Key = Current();
    switch (VirtualKey)
    {
    case vkLeft: FColumn = KeyAt(FRow, Key.Column == 0 ? Columns - 1 : Key.Column - 1).Column; return true;
    case vkRight: FColumn = Key.Column + Key.Span >= Columns ? 0 : Key.Column + Key.Span; return true;
    case vkUp:
        if (FRow == 0)
            return false;
        --FRow;
        return true;
    case vkDown:
        if (FRow == Rows - 1)
            return false;
        ++FRow;
        return true;
    case vkReturn: Press(); return true;
    case vkBack:
        if (TGuiEdit* E = Edit())
            E->Type(Backspace);
        return true;
    default: return false;
    }
}

bool TGuiLetterGrid::PrepareImages()
{
    if (!FTried)
    {
        FTried = true;
        TPicture Picture;
        if (Gui().Screen != nullptr && Picture.AssignPixels(GridPixels()))
        {
            FImages = std::make_unique<TImageList>(Gui().Screen);
            FImages->ImageList.Add("letter_grid", std::move(Picture), CellWidth, CellHeight);
            FImages->LoadTextures();
        }
    }
    const TImageListItem* Item = FImages != nullptr ? FImages->Find("letter_grid") : nullptr;
    return Item != nullptr && Item->Texture() != 0;
}

void TGuiLetterGrid::DrawBox(int Tile, float X, float Y, float W, float H, std::uint32_t Color)
{
    TQuadParams P;
    P.X1 = X, P.Y1 = Y;
    P.X2 = X + W, P.Y2 = Y;
    P.X3 = X + W, P.Y3 = Y + H;
    P.X4 = X, P.Y4 = Y + H;
    P.PatternIndex = Tile;
    for (std::uint32_t& C : P.Colors)
        C = Color;
    DrawImageQuad(*FImages->Find("letter_grid"), P);
}

void TGuiLetterGrid::Draw()
{
    const bool Focused = Gui().Focused() == this;
    if (PrepareImages())
    {
        const float L = static_cast<float>(Left), T = static_cast<float>(Top);
        const float W = static_cast<float>(Width), H = static_cast<float>(Height);
        DrawBox(PlainTile, L, T, W, H, PanelColor);
        DrawBox(PlainTile, L, T, W, 2, AccentColor);
        DrawBox(PlainTile, L, T + H - 2, W, 2, EdgeColor);
    }
    const TKey& CursorKey = Current();
    for (const TKey& Key : Keys())
    {
        const bool OnCursor = Focused && &Key == &CursorKey;
        const int X = Left + Padding + Key.Column * (CellWidth + Gap);
        const int Y = Top + Padding + Key.Row * (CellHeight + Gap);
        const int W = Key.Span * CellWidth + (Key.Span - 1) * Gap;
        const std::uint32_t Fill = OnCursor ? CursorKeyColor : Key.Kind == kkDone ? DoneKeyColor : KeyColor;
        const std::uint32_t Ink = OnCursor             ? CursorTextColor
                                  : Key.Kind == kkDone ? DoneTextColor
                                                       : FontColor();
        if (FImages != nullptr)
        {
            DrawBox(KeyTile, static_cast<float>(X), static_cast<float>(Y), static_cast<float>(W),
                    static_cast<float>(CellHeight), Fill);
            if (Key.Kind == kkCharacter && Key.Code == U' ')
            {
                // The space: an open bracket lying on its back.
                const float Bx = X + 7.0f, By = Y + CellHeight - 10.0f, Bw = W - 14.0f;
                DrawBox(PlainTile, Bx, By, Bw, 2, Ink);
                DrawBox(PlainTile, Bx, By - 4, 2, 4, Ink);
                DrawBox(PlainTile, Bx + Bw - 2, By - 4, 2, 4, Ink);
            }
        }
        const std::string Text = Label(Key);
        if (!Text.empty())
        {
            // Labels wider than their key are drawn smaller, so that they stay inside it.
            const float SavedX = FontScaleX, SavedY = FontScaleY;
            const int TextW = TextWidthOf(Text);
            if (TextW > W - 4)
            {
                const float Shrink = static_cast<float>(W - 4) / static_cast<float>(TextW);
                FontScaleX *= Shrink, FontScaleY *= Shrink;
            }
            const int Tw = TextWidthOf(Text), Th = TextHeightOf(Text);
            DrawText(static_cast<float>(X) + (W - Tw) / 2.0f,
                     static_cast<float>(Y) + (CellHeight - Th) / 2.0f, Text, Ink);
            FontScaleX = SavedX, FontScaleY = SavedY;
        }
        if (OnCursor && Gui().ShowFocus)
            FGlow.Draw(X, Y, W, CellHeight);
    }
}

} // namespace vm
