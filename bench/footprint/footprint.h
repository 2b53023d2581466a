// The footprint benchmark's parts that need no child process: spreads of repeated runs, the timing
// lines the game prints, the headless runner's state file, heaptrack's peak by owner, /proc smaps by
// mapping, and the tables.
#pragma once

#include <array>
#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vm::footprint {

// Median, lowest and highest of repeated runs.
struct TSpread
{
    double Median = 0;
    double Min = 0;
    double Max = 0;
};

// Nothing for no values; the median of an even count is the mean of the middle two.
std::optional<TSpread> SpreadOf(std::vector<double> Values);

// The number right after Marker on the first line holding Marker, as the game's timing lines put it
// ("velomarch-headless: first frame presented after 812.5 ms"); nothing when no line has it.
std::optional<double> NumberAfter(const std::vector<std::string>& Lines, const std::string& Marker);

// What the headless runner's --state file says about how far a run got.
struct TRunState
{
    long Frame = 0;
    int ScreenState = 0;
    bool InRace = false;                       // the race world was up at the end
    std::string RunEnd = "none";               // the autopilot's "times_up", "game_over", ... or "none"
    std::vector<std::pair<long, int>> Screens; // (frame, page) at each change of page, from frame 0
};

// False with Error saying why when Json is not such a state file.
bool ReadRunState(const std::string& Json, TRunState& State, std::string& Error);

// The frame where a whole run was over: the first page after frame 0 that is none of the run's own
// (its races, the pages between them, the end of the run and the score pages); nothing when the
// run had not ended.
std::optional<long> RunOverFrame(const TRunState& State);

// Who holds heap memory at heaptrack's peak, told from each allocation's stack.
enum class THeapOwner
{
    PicturesEncoded,  // the pictures' file bytes the image lists keep
    PicturesDecoding, // pixels being decoded
    Textures,         // the render device's copies (the GL driver's texture storage)
    CollisionTexels,  // TImageListItem::FTexels, kept for the pixel-exact collision test
    Fonts,
    Audio,
    GlContext,    // the GL driver's own, from opening the renderer
    GlDrawing,    // the GL driver's own, from drawing and presenting frames
    LibrariesOwn, // allocations with no game routine on their stack
    GameOther,    // the game's remaining heap
    Count
};
inline constexpr std::size_t HeapOwnerCount = static_cast<std::size_t>(THeapOwner::Count);
const char* HeapOwnerName(THeapOwner Owner);

// One allocation stack of heaptrack_print's peak listing: bytes held at the peak, its routines
// from the allocation outwards, and the files they are in.
struct TPeakStack
{
    double Bytes = 0;
    std::vector<std::string> Routines;
    std::vector<std::string> Modules;
};

THeapOwner OwnerOf(const TPeakStack& Stack);

// Bytes per owner at the heap's peak, and the peak as heaptrack reports it.
struct THeapBreakdown
{
    std::array<double, HeapOwnerCount> Bytes{};
    double PeakBytes = 0;
};

// Reads `heaptrack_print --print-peaks --merge-backtraces=0` output. False with Error when the
// listing or its peak total is missing.
bool ReadHeaptrackPeaks(std::istream& In, THeapBreakdown& Breakdown, std::string& Error);

// Resident memory by mapping, from /proc/PID/smaps.
enum class TMappingGroup
{
    Anonymous, // the heap, anonymous mappings, stacks: no file behind them
    SharedMemory,
    GlDriver,
    Llvm,
    Sdl,
    FontLibraries,
    AudioLibraries,
    NetworkTls,
    CRuntime,
    CxxRuntime,
    Program,
    OtherLibraries,
    Count
};
inline constexpr std::size_t MappingGroupCount = static_cast<std::size_t>(TMappingGroup::Count);
const char* MappingGroupName(TMappingGroup Group);

// The group of a mapping by its smaps pathname ("" for anonymous); Program is the executable's path.
TMappingGroup GroupOf(const std::string& Pathname, const std::string& Program);

// Resident kB of every group in a whole smaps file.
std::array<long, MappingGroupCount> GroupSmaps(std::istream& In, const std::string& Program);

// The Rss line of /proc/PID/smaps_rollup (or status's VmRSS) in kB; nothing when there is none.
std::optional<long> ResidentKb(std::istream& In);

// A table of numbers with one column per build. A row without cells is a section heading.
struct TCell
{
    std::vector<double> Values; // one per run that gave the number
    bool Failed = false;        // a run failed: the number is not shown
    std::string Note;           // shown instead of a number when there is none ("n/a" by default)
};

struct TRow
{
    std::string Label;
    int Decimals = 1;
    std::vector<TCell> Cells;
};

// Each cell as "median (min-max)", or the value alone when all runs agree or there was one run;
// "failed" or the cell's note when there is no number. Columns line up.
std::string FormatTable(const std::vector<std::string>& Columns, const std::vector<TRow>& Rows);

} // namespace vm::footprint
