// The seven road piece kinds: image key, sprite name, where the road centre crosses the piece's edges,
// and half the drivable width. Shared by the course generator, the road sprites and the asset checks.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vm {

// Piece kinds as stored in a course.
enum : std::uint8_t
{
    PieceStraight = 0,
    PieceLeft = 1,          // diagonal to the left
    PieceRight = 2,         // diagonal to the right
    PieceStraightRight = 3, // straight into a right diagonal
    PieceStraightLeft = 4,  // straight into a left diagonal
    PieceRightStraight = 5, // right diagonal back to straight
    PieceLeftStraight = 6,  // left diagonal back to straight
};

inline constexpr int PieceKindCount = 7;
inline constexpr int PieceLength = 300; // every piece is this long along the direction of travel

// One row of the piece table. Offsets are pixels from the left edge of the piece image: EntryOffset where
// the road centre meets the lower edge, ExitOffset where it meets the upper edge.
struct TPieceKind
{
    std::string_view ImageKey;   // key in the game image list
    std::string_view SpriteName; // a label only
    int EntryOffset;
    int ExitOffset;
    int Shift; // sideways move of the road centre over the piece: ExitOffset - EntryOffset
    int HalfWidth;
};

inline constexpr std::array<TPieceKind, PieceKindCount> PieceKinds{{
    {"r_str", "roadstr", 150, 150, 0, 150},
    {"r_left", "roadstrvert", 394, 184, -210, 184},
    {"r_right", "roadroters", 184, 394, 210, 184},
    {"r_str_right", "roadroters", 150, 221, 71, 170},
    {"r_str_left", "roadroters", 254, 184, -70, 170},
    {"r_right_str", "roadroters", 184, 254, 70, 170},
    {"r_left_str", "shina", 221, 150, -71, 170},
}};

// The table's shift column must agree with its offsets: the road would break at a join otherwise.
consteval bool PieceShiftsAgree()
{
    for (const TPieceKind& Kind : PieceKinds)
        if (Kind.Shift != Kind.ExitOffset - Kind.EntryOffset)
            return false;
    return true;
}
static_assert(PieceShiftsAgree());

// The row of Kind; an unknown kind reads as a straight so that a damaged course still draws a road.
constexpr const TPieceKind& PieceKindOf(int Kind)
{
    return Kind >= 0 && Kind < PieceKindCount ? PieceKinds[static_cast<std::size_t>(Kind)] : PieceKinds[0];
}

// The road-centre shift of a piece of Kind (0 for an unknown kind).
constexpr int PieceShift(int Kind)
{
    return Kind >= 0 && Kind < PieceKindCount ? PieceKinds[static_cast<std::size_t>(Kind)].Shift : 0;
}

} // namespace vm
