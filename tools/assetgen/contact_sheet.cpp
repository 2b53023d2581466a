// The review sheet: every picture of both lists with its key and all its patterns.
#include "contact_sheet.h"

#include "art/canvas.h"
#include "art/style.h"
#include "asset_lists.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vm::assetgen {
namespace {

constexpr int SheetWidth = 2000;
constexpr int Margin = 16;
constexpr double MaxTileBox = 300; // tiles larger than this are shown scaled down
constexpr int LabelHeight = 22;

struct TPlacedTile
{
    const TArtImage* Image;
    int Index;
    double X, Y, Scale;
};

struct TLayout
{
    std::vector<TPlacedTile> Tiles;
    struct TLabel
    {
        std::string Text;
        double X, Y;
        bool Heading;
    };
    std::vector<TLabel> Labels;
    double Height = 0;
};

void TileSize(const TArtImage& Image, int& Width, int& Height)
{
    Width = Image.TileWidth > 0 ? Image.TileWidth : Image.Pixels.Width;
    Height = Image.TileHeight > 0 ? Image.TileHeight : Image.Pixels.Height;
}

// Lays the pictures out in flowing blocks: a key label over its patterns.
void LayOut(const TArtList& List, const std::string& Heading, TLayout& Layout)
{
    double Y = Layout.Height + Margin;
    Layout.Labels.push_back({Heading, Margin, Y + 24, true});
    Y += 40;
    double X = Margin;
    double RowHeight = 0;
    for (const TArtImage& Image : List)
    {
        int TileWidth = 0, TileHeight = 0;
        TileSize(Image, TileWidth, TileHeight);
        const int Count = PatternCount(Image);
        // Small tiles are shown twice their size so their detail can be judged.
        const double Scale = std::min(2.0, MaxTileBox / std::max(TileWidth, TileHeight));
        const double CellWidth = std::ceil(TileWidth * Scale) + 4;
        const double CellHeight = std::ceil(TileHeight * Scale) + 4;
        const int PerRow = std::max(1, static_cast<int>((SheetWidth - 2 * Margin) / CellWidth));
        const int Rows = (Count + PerRow - 1) / PerRow;
        const double BlockWidth = std::max(150.0, std::min(Count, PerRow) * CellWidth);
        const double BlockHeight = LabelHeight + Rows * CellHeight;
        if (X + BlockWidth > SheetWidth - Margin)
        {
            X = Margin;
            Y += RowHeight + Margin;
            RowHeight = 0;
        }
        Layout.Labels.push_back({Image.Key + "  (" + std::to_string(Count) + " \xC3\x97 " +
                                     std::to_string(TileWidth) + "\xC3\x97" + std::to_string(TileHeight) +
                                     ")",
                                 X, Y + 15, false});
        for (int Index = 0; Index < Count; ++Index)
            Layout.Tiles.push_back({&Image, Index, X + (Index % PerRow) * CellWidth + 2,
                                    Y + LabelHeight + (Index / PerRow) * CellHeight + 2, Scale});
        X += BlockWidth + Margin;
        RowHeight = std::max(RowHeight, BlockHeight);
    }
    Layout.Height = Y + RowHeight + Margin;
}

void DrawChecker(cairo_t* Cr, double X, double Y, double Width, double Height)
{
    cairo_save(Cr);
    cairo_rectangle(Cr, X, Y, Width, Height);
    cairo_clip(Cr);
    SetColor(Cr, Rgb(0x8a8f99));
    cairo_paint(Cr);
    SetColor(Cr, Rgb(0x6c717b));
    for (double CY = Y; CY < Y + Height; CY += 8)
        for (double CX = X + (static_cast<int>((CY - Y) / 8) % 2) * 8; CX < X + Width; CX += 16)
            cairo_rectangle(Cr, CX, CY, 8, 8);
    cairo_fill(Cr);
    cairo_restore(Cr);
}

} // namespace

void KeepKeys(TArtList& List, const std::string& CommaSeparatedKeys)
{
    const std::string Keys = "," + CommaSeparatedKeys + ",";
    std::erase_if(List, [&Keys](const TArtImage& Image) {
        return Keys.find("," + Image.Key + ",") == std::string::npos;
    });
}

bool WriteContactSheet(const TArtList& Menu, const TArtList& Race, const std::string& FileName,
                       std::string& Error)
{
    TLayout Layout;
    LayOut(Menu, "Menu list  Data/data1.vil", Layout);
    LayOut(Race, "Race list  Data/data2.vil", Layout);
    const int Height = static_cast<int>(std::ceil(Layout.Height));
    if (Height > 32000)
    {
        Error = "contact sheet too tall";
        return false;
    }
    TCanvas Canvas(SheetWidth, Height);
    cairo_t* Cr = Canvas.Cr();
    SetColor(Cr, Rgb(0x20242c));
    cairo_paint(Cr);
    for (const TLayout::TLabel& Label : Layout.Labels)
        DrawText(Cr, Label.Text, Label.X, Label.Y, Label.Heading ? 24 : 13,
                 Label.Heading ? palette::Amber : palette::Snow);
    for (const TPlacedTile& Tile : Layout.Tiles)
    {
        int TileWidth = 0, TileHeight = 0;
        TileSize(*Tile.Image, TileWidth, TileHeight);
        const int Columns = Tile.Image->Pixels.Width / TileWidth;
        const double SX = (Tile.Index % Columns) * TileWidth;
        const double SY = (Tile.Index / Columns) * TileHeight;
        DrawChecker(Cr, Tile.X, Tile.Y, TileWidth * Tile.Scale, TileHeight * Tile.Scale);
        cairo_save(Cr);
        cairo_rectangle(Cr, Tile.X, Tile.Y, TileWidth * Tile.Scale, TileHeight * Tile.Scale);
        cairo_clip(Cr);
        cairo_translate(Cr, Tile.X, Tile.Y);
        cairo_scale(Cr, Tile.Scale, Tile.Scale);
        PaintPixels(Cr, Tile.Image->Pixels, -SX, -SY);
        cairo_restore(Cr);
    }
    if (cairo_surface_write_to_png(Canvas.Surface(), FileName.c_str()) != CAIRO_STATUS_SUCCESS)
    {
        Error = "cannot write " + FileName;
        return false;
    }
    return true;
}

} // namespace vm::assetgen
