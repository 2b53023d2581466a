// Course generation: bends and straights, then terrain, then the closing run-out.
#include "world/course.h"

#include "engine/random.h"

#include <algorithm>

namespace vm {

namespace {

// Bend state while generating.
enum : int
{
    BendNone = 0,
    BendLeft = 1,
    BendRight = 2,
};

// Segments shorter than two pieces would put a bend's exit straight against the next bend's entry, a join
// no road picture exists for. The run's bounds (SegmentMin >= 1) never get near it.
constexpr int MinSegmentLength = 2;

// Distance from the start to the first terrain switch.
constexpr int FirstTerrainSwitch = 5;

} // namespace

void InitPieceOffsets(TCourse& Course)
{
    for (std::size_t Kind = 0; Kind < PieceKinds.size(); ++Kind)
        Course.PieceOffsets[Kind] = {PieceKinds[Kind].EntryOffset, PieceKinds[Kind].ExitOffset};
}

int GenerateCourse(TCourse& Course, TRandom& Random, std::string_view /*DataFile*/, int CourseLength,
                   int SegmentMin, int SegmentMax)
{
    // Clamped rather than refused: the run never asks for more than MaxCourseLength, and a race must
    // always get a course.
    const int N = std::clamp(CourseLength, 0, TCourse::MaxCourseLength);
    auto& Codes = Course.CourseCodes;
    auto& Terrain = Course.CourseTerrain;

    // Bends. A segment runs from the piece that starts it for Length pieces; the first starts at 0.
    int Bend = BendNone;
    int Length = 0;
    int Count = 0;
    for (int J = 0; J <= N; ++J)
    {
        const auto Pos = static_cast<std::size_t>(J);
        if (Count == Length)
        {
            if (Bend == BendNone)
            {
                const int R = Random.Random(2);
                Bend = R + 1;
                Codes[Pos] = R == 0 ? PieceStraightLeft : PieceStraightRight;
            }
            else
            {
                Codes[Pos] = Bend == BendLeft ? PieceLeftStraight : PieceRightStraight;
                Bend = BendNone;
            }
            // Random(k) with k <= 0 draws nothing and gives 0 (SegmentMax <= SegmentMin).
            Length = std::max(Random.Random(SegmentMax - SegmentMin) + SegmentMin + 2, MinSegmentLength);
            Count = 0;
        }
        else
        {
            // Inside a segment the kind is the bend itself: 0 straight, 1 left, 2 right.
            Codes[Pos] = static_cast<std::uint8_t>(Bend);
        }
        ++Count;
    }

    // Terrain: switches between normal and other terrain, first at position 5, then 10..19 apart.
    bool On = false;
    int Next = FirstTerrainSwitch;
    Count = 0;
    for (int J = 0; J < N; ++J)
    {
        const auto Pos = static_cast<std::size_t>(J);
        if (Count == Next)
        {
            Terrain[Pos] = On ? TerrainLeave : TerrainEnter;
            On = !On;
            Next = Random.Random(10) + 10;
            Count = 0;
        }
        else
        {
            Terrain[Pos] = On ? TerrainOther : TerrainNormal;
        }
        ++Count;
    }
    // The last generated position always returns to normal terrain.
    Terrain[static_cast<std::size_t>(N)] = On ? TerrainLeave : TerrainNormal;

    Course.CourseLength = N;
    Course.CourseLast = N;
    return N;
}

void CloseCourse(TCourse& Course)
{
    // CourseLength never exceeds MaxCourseLength, so N + 21 is inside the arrays.
    const int N = std::clamp(Course.CourseLength, 0, TCourse::MaxCourseLength);
    auto& Codes = Course.CourseCodes;
    std::uint8_t Closing = PieceStraight;
    switch (Codes[static_cast<std::size_t>(N)])
    {
    case PieceLeft:
    case PieceStraightLeft: Closing = PieceLeftStraight; break;
    case PieceRight:
    case PieceStraightRight: Closing = PieceRightStraight; break;
    default: break;
    }
    Codes[static_cast<std::size_t>(N + 1)] = Closing;
    for (int J = N + 2; J <= N + 21; ++J)
        Codes[static_cast<std::size_t>(J)] = PieceStraight;
    // Terrain above N is deliberately not touched: those pieces keep whatever terrain they held.
    Course.CourseLast = N + 21;
}

} // namespace vm
