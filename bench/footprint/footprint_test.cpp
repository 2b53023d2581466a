// footprint_bench's parts: spreads, the game's timing lines and state file, heaptrack's listing and
// smaps by owner, the table, and the child-process watcher on real processes.
#include "child_process.h"
#include "footprint.h"
#include "state/game_state.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace vm::footprint {
namespace {

TEST(Footprint, SpreadIsMedianMinAndMaxOfAnyOrder)
{
    EXPECT_FALSE(SpreadOf({}).has_value());
    const auto Odd = SpreadOf({5, 1, 3});
    ASSERT_TRUE(Odd);
    EXPECT_EQ(Odd->Median, 3);
    EXPECT_EQ(Odd->Min, 1);
    EXPECT_EQ(Odd->Max, 5);
    const auto Even = SpreadOf({4, 10, 2, 8});
    ASSERT_TRUE(Even);
    EXPECT_EQ(Even->Median, 6);
}

TEST(Footprint, TimingLinesGiveTheirNumberAndOthersNothing)
{
    const std::vector<std::string> Lines{
        "SDL says something",
        "velomarch-headless: first frame presented after 1721.5 ms",
        "velomarch-headless: first race frame presented 812.0 ms after the car page's start",
    };
    EXPECT_EQ(NumberAfter(Lines, "first frame presented after "), 1721.5);
    EXPECT_EQ(NumberAfter(Lines, "first race frame presented "), 812.0);
    EXPECT_FALSE(NumberAfter(Lines, "velomarch: first frame presented after ").has_value());
    EXPECT_FALSE(
        NumberAfter({"first frame presented after soon"}, "first frame presented after ").has_value());
}

TEST(Footprint, StateFileTellsWhereTheRunWasOver)
{
    // A whole run as the headless runner reports it: two races, times up, the score pages, then the
    // high-score table.
    const std::string Json = R"({"frame": 18924, "screen_state": 8, "score": 5,
        "autopilot": {"races_finished": 2, "run_end": "times_up", "first_race_frames": 4285, "wrecks": 1},
        "screens": [[0, 12], [4536, 16], [5492, 12], [16748, 27], [16948, 12], [18518, 24], [18717, 25],
                    [18921, 26], [18924, 8]]})";
    TRunState State;
    std::string Error;
    ASSERT_TRUE(ReadRunState(Json, State, Error)) << Error;
    EXPECT_EQ(State.Frame, 18924);
    EXPECT_EQ(State.RunEnd, "times_up");
    EXPECT_FALSE(State.InRace);
    EXPECT_EQ(RunOverFrame(State), 18924);

    // Still racing: the race world is up and nothing is over.
    ASSERT_TRUE(ReadRunState(R"({"frame": 300, "screen_state": 12, "player": {"health": 10},
                                 "screens": [[0, 12]]})",
                             State, Error));
    EXPECT_TRUE(State.InRace);
    EXPECT_EQ(State.RunEnd, "none");
    EXPECT_FALSE(RunOverFrame(State).has_value());
    // Pausing and the exit question belong to the run.
    State.Screens = {{0, ssRace}, {40, ssPause}, {50, ssRace}, {60, ssRaceExitQuestion}, {70, ssMainMenu}};
    EXPECT_EQ(RunOverFrame(State), 70);

    for (const char* Bad :
         {"", "[1, 2]", R"({"frame": 3})", R"({"frame": 3, "screen_state": 1, "screens": [[1]]})"})
    {
        Error.clear();
        EXPECT_FALSE(ReadRunState(Bad, State, Error)) << Bad;
        EXPECT_FALSE(Error.empty());
    }
}

// heaptrack_print --print-peaks --merge-backtraces=0, cut down but in its own layout.
const char* const PeakListing = R"(reading file "heaptrack.zst" - please wait, this might take some time...
Debuggee command was: velomarch-headless --race 0 --autopilot --frames 600
finished reading file, now analyzing data:

PEAK MEMORY CONSUMERS
478.07M peak memory consumed over 10406 calls from
  0x7fa4220dfd95
    in /usr/lib/x86_64-linux-gnu/dri/swrast_dri.so
  0x7fa42a5ff7f6
    in /lib/x86_64-linux-gnu/libSDL2-2.0.so.0
  vm::TSdlRenderDevice::Present()
    at ../src/platform/sdl/sdl_render_device.cpp:127
    in velomarch-headless
  vm::EndRaceFrame(vm::TGame&)
    at ../src/race/race_frame.cpp:88
    in velomarch-headless

76.32M peak memory consumed over 120 calls from
  std::vector<>::assign(unsigned long, unsigned int const&)
    at /usr/include/c++/12/bits/stl_vector.h:804
  vm::TImageListItem::CreateTexture()
    at ../src/engine/image_list.cpp:154
  vm::TImageList::LoadTextures()
    at ../src/engine/image_list.cpp:307
    in velomarch-headless

78.09M peak memory consumed over 120 calls from
  0x7fa4220e12f3
    in /usr/lib/x86_64-linux-gnu/dri/swrast_dri.so
  vm::TSdlRenderDevice::CreateTexture(int, int, unsigned int const*)
    at ../src/platform/sdl/sdl_render_device.cpp:48
  vm::TImageListItem::CreateTexture()
    at ../src/engine/image_list.cpp:176
    in velomarch-headless

1.50M peak memory consumed over 3 calls from
  vm::DecodePng(std::vector<> const&, vm::TPixels&)
    at ../src/engine/picture.cpp:80
  vm::TImageListItem::CreateTexture()
    in velomarch-headless

5.02M peak memory consumed over 2 calls from
  std::__new_allocator<>::allocate(unsigned long, void const*)
    in velomarch-headless
  vm::TImageListCollection::LoadFromStream(std::vector<> const&)
    at ../src/engine/vil_stream.cpp:60
    in velomarch-headless

512.00K peak memory consumed over 4 calls from
  0x7fa4300a0001
    in /usr/lib/x86_64-linux-gnu/libfreetype.so.6
  vm::TSdlTextRasterizer::Open()
    in velomarch-headless

26.79M peak memory consumed over 900 calls from
  0x7fa4220e0000
    in /usr/lib/x86_64-linux-gnu/libLLVM-15.so.1
  vm::TSdlVideo::Open(bool, std::string&)
    in velomarch-headless

110.00K peak memory consumed over 7 calls from
  0x7fa4310b0000
    in /lib/x86_64-linux-gnu/libgnutls.so.30
  0x7fa4310b0100
    in /lib64/ld-linux-x86-64.so.2

64B peak memory consumed over 1 calls from
  vm::PlaceWalls(vm::TRaceWorld&)
    in velomarch-headless

total runtime: 34.5s.
calls to allocation functions: 146892 (4257/s)
peak heap memory consumption: 666.34M
peak RSS (including heaptrack overhead): 1.20G
total memory leaked: 142.03K
)";

TEST(Footprint, HeaptrackPeaksAreSummedByOwner)
{
    std::istringstream In(PeakListing);
    THeapBreakdown Heap;
    std::string Error;
    ASSERT_TRUE(ReadHeaptrackPeaks(In, Heap, Error)) << Error;
    const auto Bytes = [&Heap](THeapOwner Owner) { return Heap.Bytes[static_cast<std::size_t>(Owner)]; };
    EXPECT_DOUBLE_EQ(Heap.PeakBytes, 666.34e6);
    EXPECT_DOUBLE_EQ(Bytes(THeapOwner::GlDrawing), 478.07e6);
    EXPECT_DOUBLE_EQ(Bytes(THeapOwner::CollisionTexels), 76.32e6);
    EXPECT_DOUBLE_EQ(Bytes(THeapOwner::Textures), 78.09e6);
    EXPECT_DOUBLE_EQ(Bytes(THeapOwner::PicturesDecoding), 1.5e6);
    EXPECT_DOUBLE_EQ(Bytes(THeapOwner::PicturesEncoded), 5.02e6);
    EXPECT_DOUBLE_EQ(Bytes(THeapOwner::Fonts), 512e3);
    EXPECT_DOUBLE_EQ(Bytes(THeapOwner::GlContext), 26.79e6);
    EXPECT_DOUBLE_EQ(Bytes(THeapOwner::LibrariesOwn), 110e3);
    EXPECT_DOUBLE_EQ(Bytes(THeapOwner::GameOther), 64);
    EXPECT_DOUBLE_EQ(Bytes(THeapOwner::Audio), 0);
}

TEST(Footprint, HeaptrackOutputWithoutListingOrTotalIsRefused)
{
    const std::string Listing = PeakListing;
    for (const std::string& Cut : {Listing.substr(0, Listing.find("total runtime")),
                                   Listing.substr(Listing.find("total runtime")), std::string()})
    {
        std::istringstream In(Cut);
        THeapBreakdown Heap;
        std::string Error;
        EXPECT_FALSE(ReadHeaptrackPeaks(In, Heap, Error));
        EXPECT_FALSE(Error.empty());
    }
}

TEST(Footprint, SmapsAreGroupedByMapping)
{
    std::istringstream In(
        "55d0c0000000-55d0c0100000 r-xp 00000000 08:01 123   /work/build/velomarch-headless\n"
        "Size:               1024 kB\n"
        "Rss:                 900 kB\n"
        "55d0c1000000-55d0e0000000 rw-p 00000000 00:00 0      [heap]\n"
        "Rss:              500000 kB\n"
        "7f0000000000-7f0010000000 rw-p 00000000 00:00 0 \n"
        "Rss:               30000 kB\n"
        "7f0010000000-7f0020000000 r-xp 00000000 08:01 77   /usr/lib/x86_64-linux-gnu/libLLVM-15.so.1\n"
        "Rss:               55000 kB\n"
        "7f0020000000-7f0030000000 r-xp 00000000 08:01 78   /usr/lib/x86_64-linux-gnu/dri/swrast_dri.so\n"
        "Rss:                7800 kB\n"
        "7f0030000000-7f0030100000 rw-s 00000000 00:01 79   /memfd:pulseaudio (deleted)\n"
        "Rss:                  64 kB\n"
        "7f0040000000-7f0040100000 r-xp 00000000 08:01 80   /usr/lib/x86_64-linux-gnu/libc.so.6\n"
        "Rss:                1600 kB\n"
        "7f0050000000-7f0050100000 r--p 00000000 08:01 81   /usr/share/fonts/truetype/play/Play-Regular.ttf\n"
        "Rss:                 120 kB\n"
        "7f0060000000-7f0060100000 r-xp 00000000 08:01 82   "
        "/usr/lib/x86_64-linux-gnu/libSDL2-2.0.so.0.2600.5\n"
        "Rss:                1100 kB\n"
        "7f0070000000-7f0070100000 r-xp 00000000 08:01 83   /usr/lib/x86_64-linux-gnu/libX11.so.6\n"
        "Rss:                 248 kB\n"
        "VmFlags: rd ex mr mw me sd\n"
        "7ffd00000000-7ffd00021000 rw-p 00000000 00:00 0      [stack]\n"
        "Rss:                 132 kB\n");
    const auto Kb = GroupSmaps(In, "/work/build/velomarch-headless");
    const auto Group = [&Kb](TMappingGroup G) { return Kb[static_cast<std::size_t>(G)]; };
    EXPECT_EQ(Group(TMappingGroup::Program), 900);
    EXPECT_EQ(Group(TMappingGroup::Anonymous), 500000 + 30000 + 132);
    EXPECT_EQ(Group(TMappingGroup::Llvm), 55000);
    EXPECT_EQ(Group(TMappingGroup::GlDriver), 7800);
    EXPECT_EQ(Group(TMappingGroup::SharedMemory), 64);
    EXPECT_EQ(Group(TMappingGroup::CRuntime), 1600);
    EXPECT_EQ(Group(TMappingGroup::FontLibraries), 120);
    EXPECT_EQ(Group(TMappingGroup::Sdl), 1100);
    EXPECT_EQ(Group(TMappingGroup::OtherLibraries), 248);

    EXPECT_EQ(GroupOf("/usr/lib/x86_64-linux-gnu/libSDL2_mixer-2.0.so.0", ""), TMappingGroup::AudioLibraries);
    EXPECT_EQ(GroupOf("/usr/lib/x86_64-linux-gnu/libSDL2_ttf-2.0.so.0", ""), TMappingGroup::FontLibraries);
    EXPECT_EQ(GroupOf("/usr/lib/x86_64-linux-gnu/libstdc++.so.6.0.30", ""), TMappingGroup::CxxRuntime);
    EXPECT_EQ(GroupOf("/usr/lib/x86_64-linux-gnu/libcurl.so.4.8.0", ""), TMappingGroup::NetworkTls);

    std::istringstream Rollup("55d0c0000000-7ffd00021000 ---p 00000000 00:00 0  [rollup]\n"
                              "Rss:              596764 kB\nPss:              590000 kB\n");
    EXPECT_EQ(ResidentKb(Rollup), 596764);
    std::istringstream Empty("");
    EXPECT_FALSE(ResidentKb(Empty).has_value());
}

TEST(Footprint, TableLinesUpAndTellsFailuresAndMissingNumbers)
{
    TCell Spread;
    Spread.Values = {183.2, 181.0, 190.44};
    TCell One;
    One.Values = {42};
    TCell Failed;
    Failed.Values = {1};
    Failed.Failed = true;
    TCell Missing;
    Missing.Note = "not reported";
    const std::string Table = FormatTable({"before", "build-test"}, {{"menu", 0, {}},
                                                                     {"peak RSS, MiB", 1, {Spread, One}},
                                                                     {"start-up, ms", 0, {Failed, Missing}},
                                                                     {"frames", 0, {TCell{}}}});
    std::istringstream Lines(Table);
    std::vector<std::string> Line(5);
    for (std::string& L : Line)
        std::getline(Lines, L);
    EXPECT_EQ(Line[1], "menu");
    EXPECT_NE(Line[2].find("183.2 (181.0-190.4)"), std::string::npos) << Table;
    EXPECT_NE(Line[2].find("42.0"), std::string::npos) << Table;
    EXPECT_NE(Line[3].find("failed"), std::string::npos) << Table;
    EXPECT_NE(Line[3].find("not reported"), std::string::npos) << Table;
    EXPECT_NE(Line[4].find("n/a"), std::string::npos) << Table;
    // Every column starts where its heading does.
    const auto Second = Line[0].find("build-test");
    EXPECT_EQ(Line[2].find("42.0"), Second) << Table;
    EXPECT_EQ(Line[3].find("not reported"), Second) << Table;
    EXPECT_EQ(Line[2].find("183.2"), Line[0].find("before")) << Table;
}

TEST(ChildProcess, ReportsExitStderrLinesStdoutAndMemory)
{
    const std::string Out = testing::TempDir() + "footprint_child_out.txt";
    TChildLaunch Launch;
    Launch.Argv = {"sh", "-c",
                   "echo first >&2; echo \"$FOOTPRINT_TEST\" >&2; printf partial >&2; echo out; exit 3"};
    Launch.Env = {{"FOOTPRINT_TEST", "given"}};
    Launch.StdoutPath = Out;
    std::vector<std::string> Seen;
    Launch.OnLine = [&Seen](const std::string& Line, double) { Seen.push_back(Line); };
    const TChildResult Result = RunChild(Launch);
    ASSERT_TRUE(Result.Started) << Result.Error;
    EXPECT_EQ(Result.ExitStatus, 3);
    EXPECT_EQ(Result.Signal, 0);
    EXPECT_EQ(Result.StderrLines, (std::vector<std::string>{"first", "given", "partial"}));
    EXPECT_EQ(Seen, Result.StderrLines);
    EXPECT_GT(Result.MaxRssKb, 0);
    EXPECT_GT(Result.WallSeconds, 0);
    std::ifstream In(Out);
    std::string Line;
    std::getline(In, Line);
    EXPECT_EQ(Line, "out");
    std::remove(Out.c_str());
    EXPECT_EQ(DescribeEnd(Result, Launch), "exit status 3");
}

TEST(ChildProcess, AProgramThatCannotRunIsToldNotStarted)
{
    TChildLaunch Launch;
    Launch.Argv = {"/nonexistent/footprint-program"};
    const TChildResult Result = RunChild(Launch);
    EXPECT_FALSE(Result.Started);
    EXPECT_NE(Result.Error.find("cannot run /nonexistent/footprint-program"), std::string::npos)
        << Result.Error;
}

TEST(ChildProcess, StopsOnRequestFromALineAndKillsAtTheTimeout)
{
    // The child says it is ready, then waits to be stopped; SIGTERM ends it with status 0.
    TChildLaunch Launch;
    Launch.Argv = {"sh", "-c", "trap 'exit 0' TERM; echo ready >&2; while :; do sleep 0.02; done"};
    TChildStop Stop;
    double ReadyAt = -1;
    Launch.OnLine = [&](const std::string& Line, double Seconds) {
        if (Line == "ready")
        {
            ReadyAt = Seconds;
            Stop.AtSeconds = Seconds + 0.2;
        }
    };
    int Samples = 0;
    Launch.Sample = [&Samples](pid_t) { ++Samples; };
    Launch.SampleSeconds = 0.02;
    TChildResult Result = RunChild(Launch, Stop);
    ASSERT_TRUE(Result.Started) << Result.Error;
    EXPECT_TRUE(Result.Stopped);
    EXPECT_FALSE(Result.TimedOut);
    EXPECT_EQ(Result.ExitStatus, 0);
    EXPECT_GE(ReadyAt, 0);
    EXPECT_GE(Result.WallSeconds, ReadyAt + 0.2);
    EXPECT_GE(Samples, 3);

    // A child that ignores nothing and never ends is killed at the timeout.
    TChildLaunch Endless;
    Endless.Argv = {"sleep", "30"};
    Endless.TimeoutSeconds = 0.3;
    Result = RunChild(Endless);
    EXPECT_TRUE(Result.TimedOut);
    EXPECT_EQ(Result.Signal, 9);
    EXPECT_LT(Result.WallSeconds, 10);
    EXPECT_EQ(DescribeEnd(Result, Endless), "timed out after 0.3 s");
}

} // namespace
} // namespace vm::footprint
