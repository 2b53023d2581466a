// Review pictures composed from the generated art the way the game lays it out: a run of road
// with its walls, decorations and cars, the race HUD over the road, and the main menu.
#include "preview_scenes.h"

#include "art/canvas.h"
#include "art/style.h"
#include "engine/random.h"
#include "world/course.h"
#include "world/road_piece_kinds.h"

#include <cmath>
#include <filesystem>
#include <vector>

namespace vm::assetgen {
namespace {

const TArtImage* FindArt(const TArtList& List, const std::string& Key)
{
    for (const TArtImage& Image : List)
        if (Image.Key == Key)
            return &Image;
    return nullptr;
}

struct TSpriteLook
{
    double Angle = 0; // degrees, clockwise on screen
    double RotCenterX = 0.5;
    double RotCenterY = 0.5;
    double ScaleX = 1;
    double ScaleY = 1;
    double Alpha = 1;
};

// Draws one pattern with its top-left at (X, Y), scaled and turned about its rotation centre
// as the sprite engine does.
void DrawPattern(cairo_t* Cr, const TArtImage* Image, int Pattern, double X, double Y,
                 const TSpriteLook& Look = {})
{
    if (!Image)
        return;
    const int TileWidth = Image->TileWidth > 0 ? Image->TileWidth : Image->Pixels.Width;
    const int TileHeight = Image->TileHeight > 0 ? Image->TileHeight : Image->Pixels.Height;
    const int Columns = Image->Pixels.Width / TileWidth;
    const double SourceX = (Pattern % Columns) * TileWidth;
    const double SourceY = (Pattern / Columns) * TileHeight;
    const double PivotX = TileWidth * Look.RotCenterX;
    const double PivotY = TileHeight * Look.RotCenterY;
    cairo_save(Cr);
    cairo_translate(Cr, X + PivotX, Y + PivotY);
    cairo_rotate(Cr, Look.Angle * M_PI / 180);
    cairo_translate(Cr, -PivotX * Look.ScaleX, -PivotY * Look.ScaleY);
    cairo_scale(Cr, Look.ScaleX, Look.ScaleY);
    cairo_rectangle(Cr, 0, 0, TileWidth, TileHeight);
    cairo_clip(Cr);
    PaintPixels(Cr, Image->Pixels, -SourceX, -SourceY, Look.Alpha);
    cairo_restore(Cr);
}

// Draws a pattern centred on (X, Y).
void DrawCentred(cairo_t* Cr, const TArtImage* Image, int Pattern, double X, double Y, double Angle)
{
    if (!Image)
        return;
    const int TileWidth = Image->TileWidth > 0 ? Image->TileWidth : Image->Pixels.Width;
    const int TileHeight = Image->TileHeight > 0 ? Image->TileHeight : Image->Pixels.Height;
    TSpriteLook Look;
    Look.Angle = Angle;
    DrawPattern(Cr, Image, Pattern, X - TileWidth / 2.0, Y - TileHeight / 2.0, Look);
}

struct TPiece
{
    int Kind;    // a road piece kind (PieceStraight ...)
    int Terrain; // a terrain kind (TerrainNormal ...)
};

// Wall placements per piece kind: angle, wall kind, centre Y and X relative to the piece's
// lower edge and road centre.
struct TWallPlace
{
    double Angle;
    int Kind;
    double DY, DX;
};
constexpr TWallPlace WallPlaces[7][4] = {
    {{0, 0, -75, 250}, {0, 0, -225, 250}, {180, 0, -75, -250}, {180, 0, -225, -250}},
    {{-35, 1, -81, 250}, {-35, 1, -230, 144}, {145, 1, -81, -355}, {145, 1, -230, -461}},
    {{35, 1, -81, 355}, {35, 1, -230, 461}, {215, 1, -81, -250}, {215, 1, -230, -144}},
    {{180, 0, -75, -250}, {186, 0, -225, -243}, {10, 0, -75, 263}, {30, 1, -229, 321}},
    {{0, 0, -75, 250}, {-6, 0, -225, 243}, {170, 0, -75, -263}, {150, 1, -229, -321}},
    {{0, 0, -225, 321}, {6, 0, -75, 312}, {190, 0, -229, -192}, {212, 1, -77, -255}},
    {{180, 0, -225, -321}, {174, 0, -75, -312}, {-10, 0, -229, 192}, {-32, 1, -77, 255}},
};

// Decoration columns for bends: right side then left side, rows Y - 75 and Y - 225.
void DecorationSpots(int Kind, TRandom& Rng, std::vector<std::pair<double, double>>& Spots)
{
    if (Kind == PieceStraight)
    {
        const bool RightNear = Rng.Random(10) < 6;
        Spots.push_back({-75, RightNear ? 430.0 : 330.0});
        Spots.push_back({-225, RightNear ? 330.0 : 430.0});
        const bool LeftNear = Rng.Random(10) < 6;
        Spots.push_back({-75, LeftNear ? -430.0 : -330.0});
        Spots.push_back({-225, LeftNear ? -330.0 : -430.0});
        return;
    }
    const bool LeftBend = Kind == PieceLeft || Kind == PieceStraightLeft || Kind == PieceLeftStraight;
    Spots.push_back({-75, 430});
    Spots.push_back({-225, 530});
    Spots.push_back({-75, LeftBend ? -460.0 : -430.0});
    Spots.push_back({-225, LeftBend ? -630.0 : -530.0});
}

// Lays a run of pieces upwards from (StartX, StartY), the road centre at the lowest edge, in the
// game's order of layers: ground tiles, road, walls, decorations.
void DrawRoadRun(cairo_t* Cr, const TArtList& Race, const std::vector<TPiece>& Pieces, double StartX,
                 double StartY)
{
    TRandom Rng(7);
    const TArtImage* Backs[4] = {FindArt(Race, "back1"), FindArt(Race, "back2"), FindArt(Race, "back3"),
                                 FindArt(Race, "back4")};
    struct TPlaced
    {
        double X, Y;
        TPiece Piece;
    };
    std::vector<TPlaced> Placed;
    double X = StartX, Y = StartY;
    for (const TPiece& Piece : Pieces)
    {
        Placed.push_back({X, Y, Piece});
        X += PieceKindOf(Piece.Kind).Shift;
        Y -= 300;
    }
    TSpriteLook Tile;
    Tile.RotCenterX = Tile.RotCenterY = 0;
    Tile.ScaleY = 1.1;
    for (const TPlaced& P : Placed)
        for (double DX : {-1600.0, -800.0, 0.0, 800.0})
            DrawPattern(Cr, Backs[P.Piece.Terrain], 0, P.X + DX, P.Y - 300, Tile);
    for (const TPlaced& P : Placed)
        DrawPattern(Cr, FindArt(Race, std::string(PieceKindOf(P.Piece.Kind).ImageKey)), 0,
                    P.X - PieceKindOf(P.Piece.Kind).EntryOffset, P.Y - 300);
    for (const TPlaced& P : Placed)
        for (const TWallPlace& Wall : WallPlaces[P.Piece.Kind])
            DrawCentred(Cr, FindArt(Race, Wall.Kind == 0 ? "wall1" : "wall2"), 0, P.X + Wall.DX,
                        P.Y + Wall.DY, Wall.Angle);
    for (const TPlaced& P : Placed)
    {
        std::vector<std::pair<double, double>> Spots;
        DecorationSpots(P.Piece.Kind, Rng, Spots);
        const TArtImage* Decoration = FindArt(Race, P.Piece.Terrain == TerrainNormal ? "trees" : "desert");
        for (const auto& [DY, DX] : Spots)
        {
            const double Angle = Rng.Random(360);
            const int Pattern = Rng.Random(8);
            const double JitterX = 40 - Rng.Random(80);
            const double JitterY = 40 - Rng.Random(80);
            DrawCentred(Cr, Decoration, Pattern, P.X + DX + JitterX, P.Y + DY + JitterY, Angle);
        }
    }
}

// A car with its shadow; (X, Y) is the tile's top-left, Heading in degrees (-90 = up the screen).
void DrawCar(cairo_t* Cr, const TArtList& Race, int Model, int Pattern, double X, double Y, double Heading)
{
    static const char* const CarKeys[5] = {"car1", "car4", "car5", "car2", "car3"};
    static const char* const ShadowKeys[5] = {"carten1", "carten4", "carten5", "carten2", "carten3"};
    TSpriteLook Look;
    Look.Angle = Heading - 90;
    Look.RotCenterY = 0.3;
    TSpriteLook Shadow = Look;
    Shadow.Alpha = 0.6;
    DrawPattern(Cr, FindArt(Race, ShadowKeys[Model]), 0, X + 2, Y + 2, Shadow);
    DrawPattern(Cr, FindArt(Race, CarKeys[Model]), Pattern, X, Y, Look);
}

bool Save(const TCanvas& Canvas, const std::string& Dir, const char* Name, std::string& Error)
{
    const std::string Path = (std::filesystem::path(Dir) / Name).string();
    if (cairo_surface_write_to_png(Canvas.Surface(), Path.c_str()) != CAIRO_STATUS_SUCCESS)
    {
        Error = "cannot write " + Path;
        return false;
    }
    return true;
}

bool WriteRoadRun(const TArtList& Race, const std::string& Dir, std::string& Error)
{
    // Straight, a right bend, straight again, then a left bend into the sand and out.
    const std::vector<TPiece> Pieces = {
        {PieceStraight, TerrainNormal},      {PieceStraight, TerrainNormal},
        {PieceStraightRight, TerrainNormal}, {PieceRight, TerrainNormal},
        {PieceRight, TerrainEnter},          {PieceRightStraight, TerrainOther},
        {PieceStraight, TerrainOther},       {PieceStraightLeft, TerrainOther},
        {PieceLeft, TerrainLeave},           {PieceLeftStraight, TerrainNormal},
        {PieceStraight, TerrainNormal}};
    TCanvas Canvas(1400, 3300);
    cairo_t* Cr = Canvas.Cr();
    DrawRoadRun(Cr, Race, Pieces, 600, 3300);
    // A pack of cars on the first straights and into the bend.
    DrawCar(Cr, Race, 0, 0, 560, 2960, -90);
    DrawCar(Cr, Race, 1, 1, 650, 2860, -92);
    DrawCar(Cr, Race, 2, 2, 540, 2700, -88);
    DrawCar(Cr, Race, 3, 0, 700, 2380, -70);
    DrawCar(Cr, Race, 4, 1, 800, 2100, -60);
    DrawCentred(Cr, FindArt(Race, "bonus2"), 0, 640, 2560, 0);
    DrawCentred(Cr, FindArt(Race, "luga"), 0, 900, 1900, 0);
    DrawCentred(Cr, FindArt(Race, "speedup"), 0, 1010, 1400, 0);
    DrawCentred(Cr, FindArt(Race, "repair"), 0, 1090, 1000, 0);
    return Save(Canvas, Dir, "road_run.png", Error);
}

bool WriteRaceHud(const TArtList& Race, const std::string& Dir, std::string& Error)
{
    TCanvas Canvas(800, 600);
    cairo_t* Cr = Canvas.Cr();
    SetColor(Cr, palette::Night);
    cairo_paint(Cr);
    // The player's slot lands at (400, 460); the road runs up from there.
    DrawRoadRun(Cr, Race,
                {{PieceStraight, TerrainNormal},
                 {PieceStraight, TerrainNormal},
                 {PieceStraightRight, TerrainNormal},
                 {PieceRight, TerrainEnter}},
                400, 1000);
    DrawCar(Cr, Race, 2, 1, 380, 360, -95);
    DrawCar(Cr, Race, 0, 0, 380, 430, -90);
    DrawCentred(Cr, FindArt(Race, "bonus1"), 0, 330, 300, 0);
    DrawPattern(Cr, FindArt(Race, "radar"), 0, 0, 180);
    DrawCentred(Cr, FindArt(Race, "radarcar2"), 0, 27, 330, 0);
    DrawCentred(Cr, FindArt(Race, "radarcar1"), 0, 27, 370, 0);
    DrawPattern(Cr, FindArt(Race, "razzler"), 0, 541, 0);
    TSpriteLook Bar;
    Bar.RotCenterX = Bar.RotCenterY = 0;
    Bar.ScaleY = 0.7;
    DrawPattern(Cr, FindArt(Race, "healthbar"), 0, 750, 240, Bar);
    if (const TArtImage* Needle = FindArt(Race, "speedarrow"))
    {
        TSpriteLook Look;
        Look.RotCenterY = 0.9;
        Look.Angle = 40;
        const int Width = Needle->TileWidth > 0 ? Needle->TileWidth : Needle->Pixels.Width;
        const int Height = Needle->TileHeight > 0 ? Needle->TileHeight : Needle->Pixels.Height;
        DrawPattern(Cr, Needle, 0, 716 - Width * 0.5, 472 - Height * 0.9, Look);
    }
    // The race texts as the game writes them: dark, a 13 px line, top-left y.
    const TColor Ink = Rgb(0x141414);
    DrawText(Cr, "2/4", 750, 19 + 11, 13, Ink, TAlign::Left);
    DrawText(Cr, "1:24", 760, 51 + 11, 13, Ink, TAlign::Center);
    DrawText(Cr, "3", 763, 84 + 11, 13, Ink, TAlign::Center);
    DrawText(Cr, "12450", 598, 573 + 11, 13, Ink, TAlign::Center);
    DrawShadowedText(Cr, "Level 3", 400, 200, 30, palette::Snow, TAlign::Center);
    DrawPattern(Cr, FindArt(Race, "svetophor"), 0, 300, 50);
    DrawPattern(Cr, FindArt(Race, "greenlight"), 0, 434, 38);
    return Save(Canvas, Dir, "race_hud.png", Error);
}

bool WriteMainMenu(const TArtList& Menu, const std::string& Dir, std::string& Error)
{
    TCanvas Canvas(800, 600);
    cairo_t* Cr = Canvas.Cr();
    SetColor(Cr, Rgb(0));
    cairo_paint(Cr);
    DrawPattern(Cr, FindArt(Menu, "mainback"), 1, 0, 0);
    DrawPattern(Cr, FindArt(Menu, "light1"), 0, 376, 353);
    DrawPattern(Cr, FindArt(Menu, "light2"), 0, 403, 370);
    const char* const Column[6] = {"b_stgame", "b_opt", "b_hiscr", "b_help", "b_visit", "b_exit"};
    for (int Row = 0; Row < 6; ++Row)
        DrawPattern(Cr, FindArt(Menu, Column[Row]), Row == 1 ? 1 : 0, 552, 252 + 32 * Row);
    DrawPattern(Cr, FindArt(Menu, "b_logo"), 0, 548, 515);
    DrawPattern(Cr, FindArt(Menu, "b_presshere"), 0, 292, 555);
    DrawShadowedText(Cr, "Hello, Player!", 400, 530 + 14, 18, palette::Snow, TAlign::Center);
    DrawPattern(Cr, FindArt(Menu, "mousecursor"), 0, 600, 295);
    return Save(Canvas, Dir, "main_menu.png", Error);
}

} // namespace

bool WritePreviews(const TArtList& Menu, const TArtList& Race, const std::string& Dir, std::string& Error)
{
    std::error_code Ec;
    std::filesystem::create_directories(Dir, Ec);
    return WriteRoadRun(Race, Dir, Error) && WriteRaceHud(Race, Dir, Error) &&
           WriteMainMenu(Menu, Dir, Error);
}

} // namespace vm::assetgen
