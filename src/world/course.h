// The generated race course: the piece kind and terrain kind of every course position, and the routines
// that generate, close and measure it. Pure data; the road sprites read it.
#pragma once

#include "world/road_piece_kinds.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace vm {

class TRandom;

// Terrain kinds of a course position.
enum : std::uint8_t
{
    TerrainNormal = 0,
    TerrainOther = 1,
    TerrainLeave = 2, // the tile that leaves the other terrain
    TerrainEnter = 3, // the tile that enters the other terrain
};

// Where the road centre crosses a piece's lower (Entry) and upper (Exit) edge.
struct TPieceOffsets
{
    int EntryOffset = 0;
    int ExitOffset = 0;
};

// One course, rebuilt at every race setup (GenerateCourse, CloseCourse, InitPieceOffsets, in that order)
// and read by the road sprites while the race runs. Owned by the game; holds no pointers.
struct TCourse
{
    // The longest course the run asks for; longer requests are clamped to it (see GenerateCourse).
    static constexpr int MaxCourseLength = 250;
    // Positions 0..n come from the generator, n + 1 closes a bend, n + 2..n + 21 are the run-out.
    static constexpr int Capacity = MaxCourseLength + 22;

    std::array<std::uint8_t, Capacity> CourseCodes{};   // piece kind (0..6) of each position
    std::array<std::uint8_t, Capacity> CourseTerrain{}; // terrain kind (0..3) of each position
    int CourseLast = 0;                                 // index of the last position of the course
    int CourseLength = 0;                               // n: the length the course was generated with
    std::array<TPieceOffsets, PieceKindCount> PieceOffsets{};

    // Kind and terrain at Position; 0 (a straight on normal terrain) outside the arrays.
    std::uint8_t CodeAt(int Position) const
    {
        return Position >= 0 && Position < Capacity ? CourseCodes[static_cast<std::size_t>(Position)] : 0;
    }
    std::uint8_t TerrainAt(int Position) const
    {
        return Position >= 0 && Position < Capacity ? CourseTerrain[static_cast<std::size_t>(Position)] : 0;
    }
    // The road-centre shift of a piece of Kind from PieceOffsets (ExitOffset - EntryOffset); 0 for an
    // unknown kind or before InitPieceOffsets.
    int PieceShift(int Kind) const
    {
        if (Kind < 0 || Kind >= PieceKindCount)
            return 0;
        const TPieceOffsets& Offsets = PieceOffsets[static_cast<std::size_t>(Kind)];
        return Offsets.ExitOffset - Offsets.EntryOffset;
    }
};

// Fills Course.PieceOffsets from the piece table.
void InitPieceOffsets(TCourse& Course);

// Fills positions 0..CourseLength of the piece and terrain kinds with Random's draws (all bends first,
// then all terrain) and sets CourseLast to CourseLength. CourseLength is clamped to 0..MaxCourseLength so
// that the closing pieces always fit. SegmentMin and SegmentMax are the run's segment bounds. DataFile is
// the track's data file name and is not used. Returns the length used.
int GenerateCourse(TCourse& Course, TRandom& Random, std::string_view DataFile, int CourseLength,
                   int SegmentMin, int SegmentMax);

// Appends the piece that closes a bend still open at the last generated position and twenty straights,
// and sets CourseLast to CourseLength + 21. Terrain kinds above CourseLength are left as they were.
// Calling it again rewrites the same positions.
void CloseCourse(TCourse& Course);

} // namespace vm
