// footprint_bench: the game's peak memory, wall time and start-up, measured on the real programs of
// one or more build folders run as child processes, side by side in one table; with --breakdown,
// who holds the memory at the peak (heaptrack for the heap, /proc smaps for the rest). How to run
// it: README.md next to this file.
#include "child_process.h"
#include "common/command_line.h"
#include "engine/game_constants.h"
#include "footprint.h"

#include <CLI/CLI.hpp>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using namespace vm::footprint;
namespace fs = std::filesystem;

constexpr double KbPerMiB = 1024.0;
constexpr double BytesPerMiB = 1024.0 * 1024.0;
const char* const HeadlessStartMarker = "first frame presented after ";
const char* const RaceReadyMarker = "first race frame presented ";
const char* const GameStartMarker = "velomarch: first frame presented after ";

struct TOptions
{
    std::vector<std::string> Builds;
    int Runs = 5;
    bool Quick = false;
    bool Window = false;
    bool Breakdown = false;
    long MenuFrames = 200;
    long RaceFrames = 1500;
    long OffscreenRunFrames = 6000;
    long RunCap = 60000;
    double WindowSeconds = 3;
    std::string Keep;
    bool WindowInner = false; // set by the program itself when it runs again under xvfb-run
    std::string Work;         // the inner run's folder
};

struct TBuild
{
    std::string Dir; // absolute
    std::string Label;
    std::string Headless;
    std::string Game;
};

enum class TKind
{
    Menu,
    Race,
    Run
};

struct TScenario
{
    std::string Title;
    TKind Kind;
    bool Null;
    std::vector<long> Frames; // per build: a whole run's length differs by build only if the game does
    bool Capped = false;
};

// What the runs of one scenario on one build gave.
struct TSamples
{
    std::vector<double> PeakMiB, WallSeconds, StartupMs, RaceReadyMs, RealTime;
    std::vector<double> SeenMs; // the game's first frame as the bench saw its line, from exec
    bool Failed = false;
};

std::string Decimal(double Value)
{
    std::ostringstream Text;
    Text << Value;
    return Text.str();
}

void Say(const std::string& Text) { std::fprintf(stderr, "footprint_bench: %s\n", Text.c_str()); }

// The last lines a failed program printed, for the message about it.
std::string Tail(const std::vector<std::string>& Lines, std::size_t Count = 6)
{
    std::string Text;
    for (std::size_t I = Lines.size() > Count ? Lines.size() - Count : 0; I < Lines.size(); ++I)
        Text += "\n    " + Lines[I];
    return Text;
}

bool OnPath(const std::string& Program)
{
    const char* Path = std::getenv("PATH");
    std::stringstream Folders(Path != nullptr ? Path : "");
    std::string Folder;
    while (std::getline(Folders, Folder, ':'))
        if (!Folder.empty() && access((Folder + "/" + Program).c_str(), X_OK) == 0)
            return true;
    return false;
}

std::string ReadFile(const std::string& Path)
{
    std::ifstream In(Path, std::ios::binary);
    std::stringstream Text;
    Text << In.rdbuf();
    return Text.str();
}

// Checks the folders and names their columns by their last part (the whole path when two agree).
bool FindBuilds(const TOptions& Options, bool NeedGame, std::vector<TBuild>& Builds)
{
    for (const std::string& Given : Options.Builds)
    {
        std::error_code Ec;
        const fs::path Dir = fs::weakly_canonical(fs::absolute(Given, Ec), Ec);
        TBuild Build{Dir.string(), Dir.filename().string(), (Dir / "velomarch-headless").string(),
                     (Dir / "velomarch").string()};
        if (!fs::is_directory(Dir / "Data", Ec) || access(Build.Headless.c_str(), X_OK) != 0 ||
            (NeedGame && access(Build.Game.c_str(), X_OK) != 0))
        {
            Say(Given + " is not a build folder: it needs velomarch-headless" +
                std::string(NeedGame ? ", velomarch" : "") + " and Data/ (Sounds/ too, for the game)");
            return false;
        }
        Builds.push_back(Build);
    }
    for (TBuild& Build : Builds)
        for (const TBuild& Other : Builds)
            if (&Build != &Other && Build.Label == Other.Label)
                Build.Label = Build.Dir;
    return true;
}

// A fresh, empty folder inside Work.
std::string FreshFolder(const std::string& Work, const std::string& Name)
{
    const fs::path Dir = fs::path(Work) / Name;
    std::error_code Ec;
    fs::remove_all(Dir, Ec);
    fs::create_directories(Dir, Ec);
    return Dir.string();
}

// The headless runner's arguments for a scenario.
std::vector<std::string> HeadlessArgs(const TBuild& Build, const std::string& WorkDir, TKind Kind, bool Null,
                                      long Frames, const std::string& StateFile)
{
    std::vector<std::string> Args{
        Build.Headless, "--data", Build.Dir, "--workdir", WorkDir, "--frames", std::to_string(Frames)};
    if (Kind != TKind::Menu)
        Args.insert(Args.end(), {"--race", "0", "--autopilot"});
    if (Null)
        Args.push_back("--null-renderer");
    if (!StateFile.empty())
        Args.insert(Args.end(), {"--state", StateFile});
    return Args;
}

TChildLaunch HeadlessLaunch(std::vector<std::string> Args, long Frames, const std::string& Stdout)
{
    TChildLaunch Launch;
    Launch.Argv = std::move(Args);
    Launch.Env = {{"VM_STARTUP_TIMING", "1"}};
    Launch.StdoutPath = Stdout;
    // The offscreen renderer draws 30 to 70 frames a second here; this leaves plenty of room.
    Launch.TimeoutSeconds = 180 + static_cast<double>(Frames) * 0.3;
    return Launch;
}

// A whole run's length on this build: the frame its run was over, from one run up to the cap.
std::optional<long> ProbeRunLength(const TOptions& Options, const TBuild& Build, const std::string& Work)
{
    const std::string WorkDir = FreshFolder(Work, "probe-" + Build.Label);
    const std::string State = WorkDir + ".json";
    const TChildLaunch Launch = HeadlessLaunch(
        HeadlessArgs(Build, WorkDir, TKind::Run, true, Options.RunCap, State), Options.RunCap, "/dev/null");
    const TChildResult Result = RunChild(Launch);
    TRunState Run;
    std::string Error;
    if (!Result.Started || Result.ExitStatus != 0)
        Error = DescribeEnd(Result, Launch) + Tail(Result.StderrLines);
    else if (!ReadRunState(ReadFile(State), Run, Error))
        Error = State + ": " + Error;
    else if (const auto Over = RunOverFrame(Run); Run.RunEnd == "none" || !Over)
        Error = "the run did not end within " + std::to_string(Options.RunCap) + " frames (--run-cap)";
    else
        return Over;
    Say(Build.Dir + ": finding a whole run's length: " + Error);
    return std::nullopt;
}

// One run of a scenario on a build, added to Samples; false (with a message) when it failed.
bool MeasureOnce(const TBuild& Build, const TScenario& Scenario, long Frames, long RunOver,
                 const std::string& Work, int RunNumber, TSamples& Samples)
{
    const std::string WorkDir = FreshFolder(Work, "run");
    const std::string State = Work + "/run.json";
    fs::remove(State);
    const TChildLaunch Launch = HeadlessLaunch(
        HeadlessArgs(Build, WorkDir, Scenario.Kind, Scenario.Null, Frames, State), Frames, "/dev/null");
    const TChildResult Result = RunChild(Launch);
    TRunState Run;
    std::string Error;
    if (!Result.Started || Result.ExitStatus != 0)
        Error = DescribeEnd(Result, Launch) + Tail(Result.StderrLines);
    else if (!ReadRunState(ReadFile(State), Run, Error))
        Error = "its state file: " + Error;
    else if (Run.Frame != Frames)
        Error = "it stopped at frame " + std::to_string(Run.Frame) + " of " + std::to_string(Frames);
    else if (Scenario.Kind == TKind::Race && !Run.InRace)
        Error = "it was not in the race at the end";
    else if (Scenario.Kind == TKind::Run && !Scenario.Capped &&
             (Run.RunEnd == "none" || RunOverFrame(Run) != RunOver))
        Error = "its run was not over at frame " + std::to_string(RunOver) + " as in the first run";
    if (!Error.empty())
    {
        Say(Build.Dir + ": " + Scenario.Title + ", run " + std::to_string(RunNumber) + ": " + Error);
        Samples.Failed = true;
        return false;
    }
    Samples.PeakMiB.push_back(static_cast<double>(Result.MaxRssKb) / KbPerMiB);
    Samples.WallSeconds.push_back(Result.WallSeconds);
    if (const auto Ms = NumberAfter(Result.StderrLines, HeadlessStartMarker))
        Samples.StartupMs.push_back(*Ms);
    if (const auto Ms = NumberAfter(Result.StderrLines, RaceReadyMarker))
        Samples.RaceReadyMs.push_back(*Ms);
    if (Scenario.Kind == TKind::Run && Scenario.Null)
        Samples.RealTime.push_back(static_cast<double>(Frames) / vm::FrameRate / Result.WallSeconds);
    return true;
}

TCell CellOf(const std::vector<double>& Values, bool Failed, const char* Missing = "not reported")
{
    TCell Cell;
    Cell.Values = Values;
    Cell.Failed = Failed;
    Cell.Note = Missing;
    return Cell;
}

// The real game in a window, run by the program itself under xvfb-run: one line per run on
// standard output, "window BUILD RUN OK GAME_MS EXEC_MS PEAK_KB" ("-" for a time not reported).
int RunWindowInner(const TOptions& Options, const std::vector<TBuild>& Builds)
{
    bool AllOk = true;
    for (int Run = 1; Run <= Options.Runs; ++Run)
        for (std::size_t B = 0; B < Builds.size(); ++B)
        {
            const TBuild& Build = Builds[B];
            TChildLaunch Launch;
            Launch.Argv = {Build.Game, "--windowed", "--data",
                           Build.Dir,  "--workdir",  FreshFolder(Options.Work, "window")};
            Launch.Env = {{"VM_STARTUP_TIMING", "1"}};
            // Sound as a player has it, on SDL's silent driver: the mixer runs and the sounds load.
            if (std::getenv("SDL_AUDIODRIVER") == nullptr)
                Launch.Env.emplace_back("SDL_AUDIODRIVER", "dummy");
            Launch.TimeoutSeconds = Options.WindowSeconds + 120;
            TChildStop Stop;
            // A game that does not tell its first frame gets a fixed time from its start instead.
            Stop.AtSeconds = Options.WindowSeconds + 5;
            std::optional<double> GameMs, ExecMs;
            Launch.OnLine = [&](const std::string& Line, double Seconds) {
                if (GameMs)
                    return;
                GameMs = NumberAfter({Line}, GameStartMarker);
                if (GameMs)
                {
                    ExecMs = Seconds * 1000.0;
                    Stop.AtSeconds = Seconds + Options.WindowSeconds;
                }
            };
            const TChildResult Result = RunChild(Launch, Stop);
            const bool Ok = Result.Started && Result.Stopped && Result.ExitStatus == 0;
            if (!Ok)
            {
                Say(Build.Dir + ": the game in a window, run " + std::to_string(Run) + ": " +
                    (Result.Stopped ? DescribeEnd(Result, Launch)
                                    : "it ended before it was stopped, " + DescribeEnd(Result, Launch)) +
                    Tail(Result.StderrLines));
                AllOk = false;
            }
            const auto Text = [](const std::optional<double>& Ms) {
                return Ms ? std::to_string(*Ms) : std::string("-");
            };
            std::printf("window %zu %d %d %s %s %ld\n", B, Run, Ok ? 1 : 0, Text(GameMs).c_str(),
                        Text(ExecMs).c_str(), Result.MaxRssKb);
            std::fflush(stdout);
        }
    return AllOk ? 0 : 1;
}

// Runs this program again under xvfb-run for the window rows; adds them to Rows.
bool MeasureWindow(const TOptions& Options, const std::vector<TBuild>& Builds, const std::string& Work,
                   std::vector<TRow>& Rows)
{
    std::vector<TSamples> Samples(Builds.size());
    bool Ok = true;
    if (!OnPath("xvfb-run"))
    {
        Say("--window needs xvfb-run (Debian package xvfb)");
        Ok = false;
        for (TSamples& S : Samples)
            S.Failed = true;
    }
    else
    {
        std::error_code Ec;
        TChildLaunch Launch;
        Launch.Argv = {"xvfb-run",
                       "-a",
                       "-s",
                       "-screen 0 1024x768x24 -nolisten tcp",
                       fs::read_symlink("/proc/self/exe", Ec).string(),
                       "--window-inner",
                       "--work",
                       FreshFolder(Work, "window"),
                       "--runs",
                       std::to_string(Options.Runs),
                       "--window-seconds",
                       Decimal(Options.WindowSeconds)};
        for (const TBuild& Build : Builds)
            Launch.Argv.insert(Launch.Argv.end(), {"--build", Build.Dir});
        Launch.Unset = {"SDL_VIDEODRIVER"};
        Launch.StdoutPath = Work + "/window.out";
        Launch.TimeoutSeconds =
            120 + Options.Runs * static_cast<double>(Builds.size()) * (Options.WindowSeconds + 60);
        Launch.OnLine = [](const std::string& Line, double) { std::fprintf(stderr, "%s\n", Line.c_str()); };
        const TChildResult Result = RunChild(Launch);
        if (!Result.Started || Result.ExitStatus != 0)
        {
            Say("the game in a window: " + DescribeEnd(Result, Launch));
            Ok = false;
        }
        std::istringstream Out(ReadFile(Launch.StdoutPath));
        std::string Line;
        std::vector<int> Seen(Builds.size(), 0);
        while (std::getline(Out, Line))
        {
            std::istringstream Fields(Line);
            std::string Word, Game, Exec;
            std::size_t B = 0;
            int Run = 0, RunOk = 0;
            long PeakKb = 0;
            if (!(Fields >> Word >> B >> Run >> RunOk >> Game >> Exec >> PeakKb) || Word != "window" ||
                B >= Builds.size())
                continue;
            ++Seen[B];
            if (RunOk == 0)
            {
                Samples[B].Failed = true;
                continue;
            }
            Samples[B].PeakMiB.push_back(static_cast<double>(PeakKb) / KbPerMiB);
            if (Game != "-")
                Samples[B].StartupMs.push_back(std::atof(Game.c_str()));
            if (Exec != "-")
                Samples[B].SeenMs.push_back(std::atof(Exec.c_str()));
        }
        for (std::size_t B = 0; B < Builds.size(); ++B)
            if (Seen[B] != Options.Runs)
                Samples[B].Failed = true;
    }
    Rows.push_back(
        {"the game in a window (velomarch under Xvfb; start page only: it has no option to start a race)",
         0,
         {}});
    TRow GameMs{"first frame, ms (the game's own timing)", 0, {}};
    TRow ExecMs{"first frame, ms (from exec, seen by the bench)", 0, {}};
    TRow Peak{"peak RSS MiB (up " + Decimal(Options.WindowSeconds) + " s after the first frame)", 1, {}};
    for (const TSamples& S : Samples)
    {
        GameMs.Cells.push_back(CellOf(S.StartupMs, S.Failed));
        ExecMs.Cells.push_back(CellOf(S.SeenMs, S.Failed));
        Peak.Cells.push_back(CellOf(S.PeakMiB, S.Failed));
    }
    Rows.insert(Rows.end(), {GameMs, ExecMs, Peak});
    return Ok;
}

// One section of the table: a scenario's rows, one column per build.
void AddScenarioRows(const TScenario& Scenario, const std::vector<TSamples>& Samples, std::vector<TRow>& Rows)
{
    std::string Title = Scenario.Title;
    if (Scenario.Kind == TKind::Menu)
        Title += " (" + std::to_string(Scenario.Frames.front()) + " frames, no input)";
    else if (Scenario.Kind == TKind::Race)
        Title += " (--race 0 --autopilot, " + std::to_string(Scenario.Frames.front()) + " frames)";
    else if (Scenario.Capped)
        Title += " (--race 0 --autopilot, capped at " +
                 std::to_string(*std::max_element(Scenario.Frames.begin(), Scenario.Frames.end())) +
                 " frames)";
    else
        Title += " (--race 0 --autopilot, to the page after the run)";
    Rows.push_back({Title, 0, {}});
    TRow Peak{"peak RSS, MiB", 1, {}}, Wall{"wall time, s", 2, {}};
    TRow Startup{"start-up to first frame, ms", 0, {}};
    TRow RaceReady{"car page's start to first race frame, ms", 0, {}};
    TRow Frames{"frames", 0, {}}, RealTime{"real-time factor (game time / wall time)", 1, {}};
    for (std::size_t B = 0; B < Samples.size(); ++B)
    {
        const TSamples& S = Samples[B];
        Peak.Cells.push_back(CellOf(S.PeakMiB, S.Failed));
        Wall.Cells.push_back(CellOf(S.WallSeconds, S.Failed));
        Startup.Cells.push_back(CellOf(S.StartupMs, S.Failed));
        RaceReady.Cells.push_back(CellOf(S.RaceReadyMs, S.Failed));
        Frames.Cells.push_back(CellOf({static_cast<double>(Scenario.Frames[B])}, Scenario.Frames[B] <= 0));
        RealTime.Cells.push_back(CellOf(S.RealTime, S.Failed));
    }
    Rows.insert(Rows.end(), {Peak, Wall, Startup});
    if (Scenario.Kind == TKind::Race)
        Rows.push_back(RaceReady);
    if (Scenario.Kind == TKind::Run)
        Rows.push_back(Frames);
    if (Scenario.Kind == TKind::Run && Scenario.Null)
        Rows.push_back(RealTime);
}

void PrintLegend(const TOptions& Options, const std::vector<TBuild>& Builds, const std::string& What)
{
    std::printf("%s\n", What.c_str());
    for (const TBuild& Build : Builds)
        std::printf("  %s = %s\n", Build.Label.c_str(), Build.Dir.c_str());
    if (Options.Runs > 1)
        std::printf("Each number is the median of %d runs, with the lowest and highest in brackets.\n",
                    Options.Runs);
    std::printf("\n");
}

bool RunComparison(const TOptions& Options, const std::vector<TBuild>& Builds, const std::string& Work)
{
    bool Ok = true;
    // A whole run ends where the game decides: each build's length is found by one run first.
    std::vector<long> RunLength;
    for (const TBuild& Build : Builds)
    {
        Say("finding the length of a whole run on " + Build.Dir);
        const auto Length = ProbeRunLength(Options, Build, Work);
        Ok = Ok && Length.has_value();
        RunLength.push_back(Length.value_or(0));
    }
    const std::vector<long> Menu(Builds.size(), Options.MenuFrames), Race(Builds.size(), Options.RaceFrames);
    std::vector<long> Offscreen;
    bool Capped = false;
    for (long Length : RunLength)
    {
        Offscreen.push_back(std::min(Length, Options.OffscreenRunFrames));
        Capped = Capped || Length > Options.OffscreenRunFrames;
    }
    const std::vector<TScenario> Scenarios{
        {"menu, null renderer", TKind::Menu, true, Menu},
        {"menu, offscreen GL", TKind::Menu, false, Menu},
        {"first race, null renderer", TKind::Race, true, Race},
        {"first race, offscreen GL", TKind::Race, false, Race},
        {"whole run, null renderer", TKind::Run, true, RunLength},
        {"whole run, offscreen GL", TKind::Run, false, Offscreen, Capped},
    };
    std::vector<std::vector<TSamples>> Samples(Scenarios.size(), std::vector<TSamples>(Builds.size()));
    for (int Run = 1; Run <= Options.Runs; ++Run)
        for (std::size_t S = 0; S < Scenarios.size(); ++S)
        {
            Say("run " + std::to_string(Run) + " of " + std::to_string(Options.Runs) + ": " +
                Scenarios[S].Title);
            // The builds take turns, so that a busy moment of the machine does not fall on one alone.
            for (std::size_t B = 0; B < Builds.size(); ++B)
            {
                if (Scenarios[S].Frames[B] <= 0)
                    Samples[S][B].Failed = true;
                else if (!MeasureOnce(Builds[B], Scenarios[S], Scenarios[S].Frames[B], RunLength[B], Work,
                                      Run, Samples[S][B]))
                    Ok = false;
            }
        }
    std::vector<TRow> Rows;
    for (std::size_t S = 0; S < Scenarios.size(); ++S)
        AddScenarioRows(Scenarios[S], Samples[S], Rows);
    if (Options.Window)
        Ok = MeasureWindow(Options, Builds, Work, Rows) && Ok;
    std::vector<std::string> Columns;
    for (const TBuild& Build : Builds)
        Columns.push_back(Build.Label);
    PrintLegend(
        Options, Builds,
        "Velomarch footprint: velomarch-headless (VM_STARTUP_TIMING=1) on each build; the game runs " +
            std::to_string(vm::FrameRate) + " frames a second of game time.");
    std::printf("%s", FormatTable(Columns, Rows).c_str());
    return Ok;
}

// The heap at heaptrack's peak by owner, for one scenario; false (with a message) when it failed.
bool HeapAtPeak(const TBuild& Build, const std::vector<std::string>& Args, long Frames,
                const std::string& Work, const std::string& Name, THeapBreakdown& Heap)
{
    const std::string Prefix = Work + "/heaptrack-" + Name;
    TChildLaunch Launch = HeadlessLaunch(Args, Frames, Prefix + ".log");
    Launch.Argv.insert(Launch.Argv.begin(), {"heaptrack", "-o", Prefix});
    // heaptrack slows the program several times over.
    Launch.TimeoutSeconds *= 4;
    const TChildResult Result = RunChild(Launch);
    std::string Data;
    std::error_code Ec;
    for (const auto& Entry : fs::directory_iterator(Work, Ec))
        if (Entry.path().filename().string().rfind("heaptrack-" + Name + ".", 0) == 0 &&
            Entry.path().extension() != ".log" && Entry.path().extension() != ".txt")
            Data = Entry.path().string();
    std::string Error;
    if (!Result.Started || Result.ExitStatus != 0 || Data.empty())
        Error = "heaptrack: " + DescribeEnd(Result, Launch) + (Data.empty() ? ", no data file" : "") +
                Tail(Result.StderrLines);
    else
    {
        TChildLaunch Print;
        Print.Argv = {"heaptrack_print",
                      "-f",
                      Data,
                      "--merge-backtraces=0",
                      "--print-peaks=1",
                      "--peak-limit=1000000000",
                      "--print-allocators=0",
                      "--print-temporary=0",
                      "--print-leaks=0"};
        Print.StdoutPath = Prefix + ".txt";
        Print.TimeoutSeconds = 600;
        const TChildResult Printed = RunChild(Print);
        std::ifstream Listing(Print.StdoutPath);
        if (!Printed.Started || Printed.ExitStatus != 0)
            Error = "heaptrack_print: " + DescribeEnd(Printed, Print) + Tail(Printed.StderrLines);
        else if (!ReadHeaptrackPeaks(Listing, Heap, Error))
            Error = Print.StdoutPath + ": " + Error;
    }
    if (Error.empty())
        return true;
    Say(Build.Dir + ": " + Name + ": " + Error);
    return false;
}

// Resident memory by mapping at the largest RSS of a run without heaptrack.
struct TResidentPeak
{
    long RssKb = 0;
    std::array<long, MappingGroupCount> Groups{};
    long MaxRssKb = 0;
};

bool ResidentAtPeak(const TBuild& Build, const std::vector<std::string>& Args, long Frames,
                    const std::string& Name, TResidentPeak& Peak)
{
    TChildLaunch Launch = HeadlessLaunch(Args, Frames, "/dev/null");
    // smaps names the program by its real path.
    std::error_code Ec;
    const std::string Program = fs::canonical(Build.Headless, Ec).string();
    Launch.Sample = [&Peak, &Program](pid_t Pid) {
        const std::string Proc = "/proc/" + std::to_string(Pid);
        std::ifstream Rollup(Proc + "/smaps_rollup");
        const auto Rss = ResidentKb(Rollup);
        if (!Rss || *Rss <= Peak.RssKb)
            return;
        std::ifstream Maps(Proc + "/smaps");
        const auto Groups = GroupSmaps(Maps, Program);
        long Sum = 0;
        for (long Kb : Groups)
            Sum += Kb;
        // A process that was ending (or changing fast) while being read gives a partial picture, or an
        // empty one: that is no sample.
        if (Sum > Peak.RssKb && Sum >= *Rss - *Rss / 20)
        {
            Peak.RssKb = Sum;
            Peak.Groups = Groups;
        }
    };
    // Often enough to come near the peak of a start-up that takes a fraction of a second.
    Launch.SampleSeconds = 0.01;
    const TChildResult Result = RunChild(Launch);
    Peak.MaxRssKb = Result.MaxRssKb;
    if (Result.Started && Result.ExitStatus == 0 && Peak.RssKb > 0)
        return true;
    Say(Build.Dir + ": " + Name + ": " +
        (Peak.RssKb > 0 ? DescribeEnd(Result, Launch) + Tail(Result.StderrLines)
                        : "no sample of /proc/PID/smaps"));
    return false;
}

bool RunBreakdown(const TOptions& Options, const std::vector<TBuild>& Builds, const std::string& Work)
{
    if (!OnPath("heaptrack") || !OnPath("heaptrack_print"))
    {
        Say("--breakdown needs heaptrack and heaptrack_print (Debian package heaptrack)");
        return false;
    }
    struct TCase
    {
        std::string Column, Name;
        TKind Kind;
        bool Null;
        long Frames;
    };
    const std::vector<TCase> Cases{
        {"menu null", "menu-null", TKind::Menu, true, Options.MenuFrames},
        {"menu offscreen", "menu-offscreen", TKind::Menu, false, Options.MenuFrames},
        {"race null", "race-null", TKind::Race, true, Options.RaceFrames},
        {"race offscreen", "race-offscreen", TKind::Race, false, Options.RaceFrames},
    };
    bool Ok = true;
    for (const TBuild& Build : Builds)
    {
        std::vector<TRow> Rows;
        const auto Section = [&Rows](const std::string& Title) { Rows.push_back({Title, 0, {}}); };
        const auto Row = [&Rows](const std::string& Label) {
            Rows.push_back({Label, 1, {}});
            return Rows.size() - 1;
        };
        Section("heap at heaptrack's peak, MiB, by the routines on each allocation's stack");
        const std::size_t Owners = Row(HeapOwnerName(THeapOwner(0)));
        for (std::size_t O = 1; O < HeapOwnerCount; ++O)
            Row(HeapOwnerName(static_cast<THeapOwner>(O)));
        const std::size_t HeapTotal = Row("heap total");
        Section("resident, MiB, at the largest RSS of a run without heaptrack (/proc/PID/smaps every 10 ms)");
        const std::size_t Groups = Row(MappingGroupName(TMappingGroup(0)));
        for (std::size_t G = 1; G < MappingGroupCount; ++G)
            Row(MappingGroupName(static_cast<TMappingGroup>(G)));
        const std::size_t SampleTotal = Row("total at that sample");
        Section("at the peak, MiB");
        const std::size_t PeakRss = Row("peak RSS (wait4)");
        const std::size_t Slack =
            Row("peak RSS - files - heap total (slack; < 0: untouched, or the runs differ)");
        const auto Fill = [&Rows](std::size_t At, double Value, bool Failed) {
            Rows[At].Cells.push_back(CellOf({Value}, Failed));
        };
        for (const TCase& Case : Cases)
        {
            Say(Build.Dir + ": " + Case.Column + ": heaptrack, then /proc/PID/smaps");
            THeapBreakdown Heap;
            const bool HeapOk = HeapAtPeak(
                Build, HeadlessArgs(Build, FreshFolder(Work, "run"), Case.Kind, Case.Null, Case.Frames, ""),
                Case.Frames, Work, Build.Label + "-" + Case.Name, Heap);
            TResidentPeak Peak;
            const bool PeakOk = ResidentAtPeak(
                Build, HeadlessArgs(Build, FreshFolder(Work, "run"), Case.Kind, Case.Null, Case.Frames, ""),
                Case.Frames, Case.Column, Peak);
            Ok = Ok && HeapOk && PeakOk;
            for (std::size_t O = 0; O < HeapOwnerCount; ++O)
                Fill(Owners + O, Heap.Bytes[O] / BytesPerMiB, !HeapOk);
            Fill(HeapTotal, Heap.PeakBytes / BytesPerMiB, !HeapOk);
            for (std::size_t G = 0; G < MappingGroupCount; ++G)
                Fill(Groups + G, static_cast<double>(Peak.Groups[G]) / KbPerMiB, !PeakOk);
            Fill(SampleTotal, static_cast<double>(Peak.RssKb) / KbPerMiB, !PeakOk);
            Fill(PeakRss, static_cast<double>(Peak.MaxRssKb) / KbPerMiB, !PeakOk);
            // The mapped files hardly change once the program runs, so the sample's stand for the peak's.
            const long FilesKb = Peak.RssKb - Peak.Groups[static_cast<std::size_t>(TMappingGroup::Anonymous)];
            Fill(Slack,
                 static_cast<double>(Peak.MaxRssKb - FilesKb) / KbPerMiB - Heap.PeakBytes / BytesPerMiB,
                 !PeakOk || !HeapOk);
        }
        std::vector<std::string> Columns;
        for (const TCase& Case : Cases)
            Columns.push_back(Case.Column);
        std::printf(
            "Memory by owner: %s (menu %ld frames, race --race 0 --autopilot %ld frames; one run each)\n\n",
            Build.Dir.c_str(), Options.MenuFrames, Options.RaceFrames);
        std::printf("%s\n", FormatTable(Columns, Rows).c_str());
        std::fflush(stdout);
    }
    return Ok;
}

} // namespace

int main(int Argc, char** Argv)
{
    TOptions Options;
    vm::TCommandLine CommandLine(
        "footprint_bench",
        "footprint_bench --build DIR [--build DIR]... [--runs N] [--quick] [--window] [--breakdown]\n"
        "                [--menu-frames N] [--race-frames N] [--offscreen-run-frames N] [--run-cap N]\n"
        "                [--window-seconds S] [--keep DIR]",
        "Measures the game's peak memory, wall time and start-up on the real programs of each build\n"
        "folder (the build's own, or a folder holding velomarch, velomarch-headless, Data/ and Sounds/)\n"
        "and prints the builds side by side.");
    CLI::App& App = CommandLine.App();
    App.add_option("--build", Options.Builds, "a build folder to measure; again for more")
        ->required()
        ->type_name("DIR");
    App.add_option("--runs", Options.Runs, "runs of each measurement (default 5); the table shows medians")
        ->type_name("N")
        ->check(CLI::Range(1, 1000));
    App.add_flag("--quick", Options.Quick,
                 "one run of each, with short menus and races: checks the tool, not the game");
    App.add_flag("--window", Options.Window,
                 "also the real game in a window under xvfb-run: first frame and peak RSS");
    App.add_flag("--breakdown", Options.Breakdown,
                 "instead of the comparison: the memory at the peak by owner, with heaptrack and\n"
                 "/proc/PID/smaps, for the menu and the first race on both renderers");
    App.add_option("--menu-frames", Options.MenuFrames, "frames of the menu runs (default 200)")
        ->type_name("N")
        ->check(CLI::Range(1L, 10000000L));
    App.add_option("--race-frames", Options.RaceFrames, "frames of the first-race runs (default 1500)")
        ->type_name("N")
        ->check(CLI::Range(1L, 10000000L));
    App.add_option("--offscreen-run-frames", Options.OffscreenRunFrames,
                   "the cap of the whole run on the offscreen renderer (default 6000)")
        ->type_name("N")
        ->check(CLI::Range(1L, 10000000L));
    App.add_option("--run-cap", Options.RunCap, "frames a whole run may take at most (default 60000)")
        ->type_name("N")
        ->check(CLI::Range(1L, 10000000L));
    App.add_option("--window-seconds", Options.WindowSeconds,
                   "how long the game's window stays up after its first frame (default 3)")
        ->type_name("S")
        ->check(CLI::Range(0.0, 600.0));
    App.add_option("--keep", Options.Keep, "keep the runs' files (logs, heaptrack data) in DIR")
        ->type_name("DIR");
    App.add_flag("--window-inner", Options.WindowInner)->group("");
    App.add_option("--work", Options.Work)->group("");
    if (const auto Status = CommandLine.Run(Argc, Argv))
        return *Status;
    if (Options.Quick)
    {
        Options.Runs = 1;
        Options.MenuFrames = std::min(Options.MenuFrames, 100L);
        Options.RaceFrames = std::min(Options.RaceFrames, 300L);
        Options.OffscreenRunFrames = std::min(Options.OffscreenRunFrames, 300L);
        Options.WindowSeconds = std::min(Options.WindowSeconds, 1.0);
    }
    std::vector<TBuild> Builds;
    if (!FindBuilds(Options, Options.Window || Options.WindowInner, Builds))
        return 2;
    if (Options.WindowInner)
        return RunWindowInner(Options, Builds);
    std::string Work = Options.Keep;
    std::error_code Ec;
    if (Work.empty())
    {
        std::string Template = (fs::temp_directory_path(Ec) / "footprint_bench.XXXXXX").string();
        if (mkdtemp(Template.data()) == nullptr)
        {
            Say("cannot make a folder in " + fs::temp_directory_path(Ec).string());
            return 1;
        }
        Work = Template;
    }
    else if (!fs::create_directories(Work, Ec) && Ec)
    {
        Say("cannot make " + Work + ": " + Ec.message());
        return 1;
    }
    Work = fs::absolute(Work, Ec).string();
    const bool Ok =
        Options.Breakdown ? RunBreakdown(Options, Builds, Work) : RunComparison(Options, Builds, Work);
    if (Options.Keep.empty())
        fs::remove_all(Work, Ec);
    else
        Say("the runs' files are in " + Work);
    return Ok ? 0 : 1;
}
