// Walls along the road's edges: the only solid roadside objects. They push, turn and slow a car that
// touches them, and the player's car takes damage.
#pragma once

#include "world/geometry.h"
#include "world/turned_box.h"
#include "world/world_sprite.h"

#include <array>

namespace vm {

class TCar;
struct TRaceWorld;

// Wall kinds: which of the two wall pictures a wall shows.
enum TWallKind : int
{
    WallStraight = 0, // "wall1", the wall along straights
    WallDiagonal = 1, // "wall2", the longer wall along diagonals
};

// One wall. Owned by the sprite engine; created four to a road piece; ends itself below Y 3000.
class TRoadRock : public TWorldSprite
{
public:
    static constexpr int ContactSlots = 18; // opponent slots

    // Centred on (X, Y); Kind is a TWallKind (another kind shows "wall1"); turned by WallAngle degrees
    // about its middle.
    TRoadRock(TRaceWorld& World, float X, float Y, int Kind, double WallAngle);

    // World shift, UpdateCorners, CheckContacts, CheckLookAhead, then the end test.
    void Move(float MoveCount) override;
    // Recomputes Corners from the position, the size and Angle. CheckContacts and CheckLookAhead
    // test against the corners of the last call.
    void UpdateCorners();
    // Tests the opponents (only those within 150 pixels) and the player against the outline and
    // calls HitCar for each car that touches it.
    void CheckContacts();
    // Pushes Car away from the wall, turns it and slows it; Player selects the player's handling
    // (the world is moved instead of the car, and the car takes damage).
    void HitCar(TCar& Car, bool Player);
    // For every opponent, its two wall sensors: each is flagged when the 80 x 80 square centred on
    // it overlaps the outline, and cleared otherwise. Other look-ahead points are left alone.
    void CheckLookAhead();

    TBoxCorners Corners{};
    std::array<bool, ContactSlots> Contact{};
    bool PlayerContact = false;
    std::array<double, 4> CornerAngles{};
    int Kind = 0;
    double WallAngle = 0.0;

private:
    TRaceWorld& FWorld;
    TQuadOutline FOutline; // Corners as UpdateCorners last set them
    TBoxTurn FTurn;
};

// One row of the wall table: angle, wall kind, and the centre relative to the piece's road centre
// at its lower edge.
struct TWallPlace
{
    double Angle;
    int Kind;
    double Dy;
    double Dx;
};

// The four walls of each piece kind, in the order they are made.
inline constexpr std::array<std::array<TWallPlace, 4>, 7> WallPlaces{{
    {{{0, WallStraight, -75, 250},
      {0, WallStraight, -225, 250},
      {180, WallStraight, -75, -250},
      {180, WallStraight, -225, -250}}},
    {{{-35, WallDiagonal, -81, 250},
      {-35, WallDiagonal, -230, 144},
      {145, WallDiagonal, -81, -355},
      {145, WallDiagonal, -230, -461}}},
    {{{35, WallDiagonal, -81, 355},
      {35, WallDiagonal, -230, 461},
      {215, WallDiagonal, -81, -250},
      {215, WallDiagonal, -230, -144}}},
    {{{180, WallStraight, -75, -250},
      {186, WallStraight, -225, -243},
      {10, WallStraight, -75, 263},
      {30, WallDiagonal, -229, 321}}},
    {{{0, WallStraight, -75, 250},
      {-6, WallStraight, -225, 243},
      {170, WallStraight, -75, -263},
      {150, WallDiagonal, -229, -321}}},
    {{{0, WallStraight, -225, 321},
      {6, WallStraight, -75, 312},
      {190, WallStraight, -229, -192},
      {212, WallDiagonal, -77, -255}}},
    {{{180, WallStraight, -225, -321},
      {174, WallStraight, -75, -312},
      {-10, WallStraight, -229, 192},
      {-32, WallDiagonal, -77, 255}}},
}};

// The four walls of a new piece of Kind whose road centre at the lower edge is (X, Y); an unknown
// kind gets a straight's walls. Called by the piece's constructor.
void PlaceWalls(TRaceWorld& World, int Kind, double X, double Y);

} // namespace vm
