// A run of road composed as a race lays it out: ground tiles, pieces, walls and decorations.
// Walls must stand beside the drawn road, close to its edges; the composed picture can be
// written for review by setting VM_ROAD_PREVIEW to a PNG path.
#include "assetgen/road_test_pictures.h"

#include "art/canvas.h"
#include "engine/random.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

using namespace road_test;

struct TWallPlace
{
    double Angle;
    int Kind; // 0 wall1, 1 wall2
    double Up, Right;
};

// Four walls per piece kind: angle, picture, height above the piece's lower edge, offset from
// the road centre at that edge.
const TWallPlace WallPlaces[7][4] = {
    {{0, 0, 75, 250}, {0, 0, 225, 250}, {180, 0, 75, -250}, {180, 0, 225, -250}},
    {{-35, 1, 81, 250}, {-35, 1, 230, 144}, {145, 1, 81, -355}, {145, 1, 230, -461}},
    {{35, 1, 81, 355}, {35, 1, 230, 461}, {215, 1, 81, -250}, {215, 1, 230, -144}},
    {{180, 0, 75, -250}, {186, 0, 225, -243}, {10, 0, 75, 263}, {30, 1, 229, 321}},
    {{0, 0, 75, 250}, {-6, 0, 225, 243}, {170, 0, 75, -263}, {150, 1, 229, -321}},
    {{0, 0, 225, 321}, {6, 0, 75, 312}, {190, 0, 229, -192}, {212, 1, 77, -255}},
    {{180, 0, 225, -321}, {174, 0, 75, -312}, {-10, 0, 229, 192}, {-32, 1, 77, 255}},
};

// Ground tiles beside each piece kind, as offsets of their left edge from the road centre.
const std::vector<int> TileOffsets[7] = {
    {-800, 0},      {-800, 800, -1600, 0}, {-800, 800, -1600, 0}, {-800, -1600, 0},
    {-800, 800, 0}, {-800, -1600, 0},      {-800, 800, 0},
};

struct TPlacedWall
{
    double X, Y, Angle, Width, Height;
};

// Paints Pixels with their centre at (X, Y), turned by Angle degrees (clockwise on screen).
void PaintTurned(cairo_t* Cr, const vm::TPixels& Pixels, double X, double Y, double Angle)
{
    cairo_save(Cr);
    cairo_translate(Cr, X, Y);
    cairo_rotate(Cr, Angle * M_PI / 180);
    vm::assetgen::PaintPixels(Cr, Pixels, -Pixels.Width / 2.0, -Pixels.Height / 2.0);
    cairo_restore(Cr);
}

// Paints a ground tile scaled 1.1 times down from (X, Y), its edge texels held (not faded into
// nothing) as the game's texture sampling holds them.
void PaintTile(cairo_t* Cr, const vm::TPixels& Tile, double X, double Y)
{
    cairo_surface_t* Surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Tile.Width, Tile.Height);
    cairo_t* Copy = cairo_create(Surface);
    vm::assetgen::PaintPixels(Copy, Tile, 0, 0);
    cairo_destroy(Copy);
    cairo_save(Cr);
    cairo_translate(Cr, X, Y);
    cairo_scale(Cr, 1, 1.1);
    cairo_set_source_surface(Cr, Surface, 0, 0);
    cairo_pattern_set_extend(cairo_get_source(Cr), CAIRO_EXTEND_PAD);
    cairo_rectangle(Cr, 0, 0, Tile.Width, Tile.Height);
    cairo_fill(Cr);
    cairo_restore(Cr);
    cairo_surface_destroy(Surface);
}

// One pattern of a tiled picture.
vm::TPixels Pattern(const vm::TPixels& Sheet, const vm::TImageListItem& Item, int Index)
{
    vm::TPixels Out;
    Out.Width = Item.TileWidth();
    Out.Height = Item.TileHeight();
    const int Columns = std::max(1, Item.Columns());
    const int Left = (Index % Columns) * Out.Width, Top = (Index / Columns) * Out.Height;
    for (int Y = 0; Y < Out.Height; ++Y)
        for (int X = 0; X < Out.Width; ++X)
            Out.Argb.push_back(At(Sheet, Left + X, Top + Y));
    return Out;
}

class TCourse
{
public:
    static constexpr int Width = 2000;

    TCourse(const std::vector<int>& Kinds, const std::vector<int>& Terrain)
        : FHeight(static_cast<int>(Kinds.size()) * 300 + 300),
          FWorld(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Width, FHeight)),
          FRoad(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Width, FHeight))
    {
        TRacePictures& P = TRacePictures::Get();
        cairo_t* World = cairo_create(FWorld);
        cairo_t* Road = cairo_create(FRoad);
        cairo_set_source_rgb(World, 0.06, 0.07, 0.1); // uncovered ground shows dark
        cairo_paint(World);

        // Lower edge and road centre of each piece, as the race chains them.
        std::vector<double> Xs, Ys;
        double X = 1000, Y = FHeight - 150;
        for (int Kind : Kinds)
        {
            Xs.push_back(X);
            Ys.push_back(Y);
            X += Pieces[Kind].Exit - Pieces[Kind].Entry;
            Y -= 300;
        }
        static const char* TileKeys[4] = {"back1", "back2", "back3", "back4"};
        for (std::size_t I = 0; I < Kinds.size(); ++I)
            for (int Offset : TileOffsets[Kinds[I]])
                PaintTile(World, P.Picture(TileKeys[Terrain[I]]), Xs[I] + Offset, Ys[I] - 300);
        for (std::size_t I = 0; I < Kinds.size(); ++I)
        {
            const TPieceKind& Piece = Pieces[Kinds[I]];
            for (cairo_t* Cr : {World, Road})
                vm::assetgen::PaintPixels(Cr, P.Picture(Piece.Key), Xs[I] - Piece.Entry, Ys[I] - 300);
        }
        for (std::size_t I = 0; I < Kinds.size(); ++I)
            for (const TWallPlace& Place : WallPlaces[Kinds[I]])
            {
                const vm::TPixels& Wall = P.Picture(Place.Kind == 0 ? "wall1" : "wall2");
                const TPlacedWall Placed{Xs[I] + Place.Right, Ys[I] - Place.Up, Place.Angle,
                                         static_cast<double>(Wall.Width), static_cast<double>(Wall.Height)};
                FWalls.push_back(Placed);
                PaintTurned(World, Wall, Placed.X, Placed.Y, Placed.Angle);
            }
        // The start line across the second piece and the grid behind it.
        const double StartY = Ys[1] - 150;
        PaintTurned(World, P.Picture("startline"), Xs[1], StartY, 0);
        for (int Slot = 1; Slot <= 3; ++Slot)
            PaintTurned(World, P.Picture("inplace"), Xs[1] + (Slot % 2 ? -70 : 70),
                        StartY + 100 * Slot + (Slot % 2 ? 0 : 40), 0);
        vm::TRandom Random(5);
        for (std::size_t I = 0; I < Kinds.size(); ++I)
        {
            const char* Key = Terrain[I] == 0 ? "trees" : "desert";
            const vm::TImageListItem* Item = P.Item(Key);
            if (!Item)
                continue;
            const bool Left = Kinds[I] == 1 || Kinds[I] == 4 || Kinds[I] == 6;
            const double Spots[4][2] = {
                {75, 430}, {225, 530}, {75, Left ? -460.0 : -430.0}, {225, Left ? -630.0 : -530.0}};
            for (const auto& Spot : Spots)
            {
                double Right = Spot[1];
                if (Kinds[I] == 0) // straights pair their decorations nearer the road
                    Right = Spot[0] == 225 ? (Right > 0 ? 330 : -330) : Right;
                const double Angle = Random.Random(360);
                const vm::TPixels Look = Pattern(P.Picture(Key), *Item, Random.Random(8));
                PaintTurned(World, Look, Xs[I] + Right + 40 - Random.Random(80),
                            Ys[I] - Spot[0] + 40 - Random.Random(80), Angle);
            }
        }
        cairo_destroy(World);
        cairo_destroy(Road);
        cairo_surface_flush(FRoad);
    }
    ~TCourse()
    {
        cairo_surface_destroy(FWorld);
        cairo_surface_destroy(FRoad);
    }

    // Alpha of the road layer at a point, 0 outside the picture.
    int RoadAlpha(int X, int Y) const
    {
        if (X < 0 || Y < 0 || X >= Width || Y >= FHeight)
            return 0;
        const unsigned char* Data = cairo_image_surface_get_data(FRoad);
        const int Stride = cairo_image_surface_get_stride(FRoad);
        return reinterpret_cast<const std::uint32_t*>(Data + Y * Stride)[X] >> 24;
    }
    const std::vector<TPlacedWall>& Walls() const { return FWalls; }
    void Write(const char* Path) const { cairo_surface_write_to_png(FWorld, Path); }

private:
    int FHeight;
    cairo_surface_t* FWorld;
    cairo_surface_t* FRoad;
    std::vector<TPlacedWall> FWalls;
};

// A course with every join a race can make: straight, right bend, straight, left bend, straight,
// crossing from grass into sand and back.
const std::vector<int> CourseKinds = {0, 0, 3, 2, 2, 5, 0, 0, 4, 1, 1, 6, 0, 3, 5, 4, 6, 0};
const std::vector<int> CourseTerrain = {0, 0, 0, 3, 1, 1, 1, 1, 2, 0, 0, 0, 0, 3, 1, 2, 0, 0};

TEST(RoadCourse, WallsStandBesideTheDrawnRoadCloseToItsEdges)
{
    ASSERT_TRUE(TRacePictures::Get().Loaded());
    const TCourse Course(CourseKinds, CourseTerrain);
    if (const char* Path = std::getenv("VM_ROAD_PREVIEW"))
        Course.Write(Path);
    ASSERT_EQ(Course.Walls().size(), CourseKinds.size() * 4);
    for (const TPlacedWall& Wall : Course.Walls())
    {
        // Nothing of the wall's box stands on the road.
        const double C = std::cos(Wall.Angle * M_PI / 180), S = std::sin(Wall.Angle * M_PI / 180);
        int OnRoad = 0;
        for (double A = -Wall.Width / 2; A <= Wall.Width / 2; A += 2)
            for (double B = -Wall.Height / 2; B <= Wall.Height / 2; B += 2)
                if (Course.RoadAlpha(static_cast<int>(Wall.X + C * A - S * B),
                                     static_cast<int>(Wall.Y + S * A + C * B)) > 0)
                    ++OnRoad;
        EXPECT_EQ(OnRoad, 0) << "wall at " << Wall.X << ", " << Wall.Y;
        // And the road's edge is near: within 140 px of the wall's centre.
        double Nearest = 1e9;
        for (int Dy = -140; Dy <= 140; Dy += 2)
            for (int Dx = -140; Dx <= 140; Dx += 2)
                if (Course.RoadAlpha(static_cast<int>(Wall.X) + Dx, static_cast<int>(Wall.Y) + Dy) == 255)
                    Nearest = std::min(Nearest, std::hypot(Dx, Dy));
        EXPECT_LE(Nearest, 140) << "wall at " << Wall.X << ", " << Wall.Y;
    }
}

} // namespace
