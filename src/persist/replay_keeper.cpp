// The kept recordings: file names by start time, the keeping rules, and the folder's listing.
#include "persist/replay_keeper.h"

#include "persist/replay.h"
#include "persist/replay_reader.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <utility>

namespace vm {

namespace fs = std::filesystem;

namespace {

constexpr const char* Extension = ".vmr";
constexpr const char* PartExtension = ".vmr.part";

bool EndsWith(const std::string& Text, const std::string& End)
{
    return Text.size() >= End.size() && Text.compare(Text.size() - End.size(), End.size(), End) == 0;
}

// "run-YYYYMMDD-HHMMSS[-N]..." gives the start time (UTC) and the sequence N (1 when missing);
// false for any other name.
bool TimeFromName(const std::string& Name, std::int64_t& Time, int& Sequence)
{
    int Y = 0, Mo = 0, D = 0, H = 0, Mi = 0, S = 0, Used = 0;
    if (std::sscanf(Name.c_str(), "run-%4d%2d%2d-%2d%2d%2d%n", &Y, &Mo, &D, &H, &Mi, &S, &Used) != 6)
        return false;
    Sequence = 1;
    if (int N = 0; Name[static_cast<std::size_t>(Used)] == '-' &&
                   std::sscanf(Name.c_str() + Used + 1, "%d", &N) == 1 && N > 1)
        Sequence = N;
    std::tm Tm{};
    Tm.tm_year = Y - 1900;
    Tm.tm_mon = Mo - 1;
    Tm.tm_mday = D;
    Tm.tm_hour = H;
    Tm.tm_min = Mi;
    Tm.tm_sec = S;
    Time = static_cast<std::int64_t>(::timegm(&Tm));
    return Mo >= 1 && Mo <= 12 && D >= 1 && D <= 31;
}

std::int64_t FileTime(const std::string& Path)
{
    struct stat Info
    {};
    return ::stat(Path.c_str(), &Info) == 0 ? static_cast<std::int64_t>(Info.st_mtime) : 0;
}

} // namespace

void SortNewestFirst(std::vector<TKeptRun>& Runs)
{
    std::stable_sort(Runs.begin(), Runs.end(), [](const TKeptRun& A, const TKeptRun& B) {
        if (A.Time != B.Time)
            return A.Time > B.Time;
        return A.Sequence != B.Sequence ? A.Sequence > B.Sequence : A.Path > B.Path;
    });
}

std::vector<std::size_t> RunsToRemove(std::vector<TKeptRun>& Runs, const TKeepRules& Rules)
{
    SortNewestFirst(Runs);
    // Each player's best finished run; of equal scores the earliest, which reached it first.
    std::map<std::string, std::size_t> Best;
    for (std::size_t I = 0; I < Runs.size(); ++I)
    {
        if (!Runs[I].Finished)
            continue;
        auto [It, New] = Best.try_emplace(Runs[I].Player, I);
        if (!New && Runs[I].Score >= Runs[It->second].Score)
            It->second = I;
    }
    std::vector<bool> IsBest(Runs.size(), false), Keep(Runs.size(), false);
    for (const auto& Entry : Best)
        IsBest[Entry.second] = true;
    long long Total = 0;
    for (std::size_t I = 0; I < Runs.size(); ++I)
    {
        Keep[I] = I < Rules.LastRuns || IsBest[I];
        if (Keep[I])
            Total += Runs[I].Bytes;
    }
    // Over the cap: the oldest plain runs go first, then the lowest bests; never the newest.
    std::vector<std::size_t> Order;
    for (std::size_t I = Runs.size(); I-- > 1;)
        if (Keep[I] && !IsBest[I])
            Order.push_back(I);
    std::vector<std::size_t> Bests;
    for (std::size_t I = 1; I < Runs.size(); ++I)
        if (Keep[I] && IsBest[I])
            Bests.push_back(I);
    std::stable_sort(Bests.begin(), Bests.end(),
                     [&Runs](std::size_t A, std::size_t B) { return Runs[A].Score < Runs[B].Score; });
    Order.insert(Order.end(), Bests.begin(), Bests.end());
    for (std::size_t I : Order)
    {
        if (Total <= Rules.MaxBytes)
            break;
        Keep[I] = false;
        Total -= Runs[I].Bytes;
    }
    std::vector<std::size_t> Remove;
    for (std::size_t I = 0; I < Runs.size(); ++I)
        if (!Keep[I])
            Remove.push_back(I);
    return Remove;
}

std::string FormatRunTime(std::int64_t Time)
{
    const auto Seconds = static_cast<std::time_t>(Time);
    std::tm Local{};
    if (::localtime_r(&Seconds, &Local) == nullptr)
        return "?";
    char Text[32];
    std::strftime(Text, sizeof Text, "%Y-%m-%d %H:%M", &Local);
    return Text;
}

TReplayKeeper::TReplayKeeper(std::string Folder, TKeepRules Rules) : FFolder(std::move(Folder)), FRules(Rules)
{}

std::string TReplayKeeper::NextPath(std::time_t Now) const
{
    if (FFolder.empty())
        return {};
    std::error_code Ec;
    fs::create_directories(FFolder, Ec);
    if (!fs::is_directory(FFolder, Ec))
    {
        std::fprintf(stderr, "velomarch: cannot make the replays folder \"%s\"%s%s\n", FFolder.c_str(),
                     Ec ? ": " : "", Ec ? Ec.message().c_str() : "");
        return {};
    }
    std::tm Utc{};
    ::gmtime_r(&Now, &Utc);
    char Stamp[32];
    std::strftime(Stamp, sizeof Stamp, "run-%Y%m%d-%H%M%S", &Utc);
    for (int N = 1; N < 1000; ++N)
    {
        const std::string Base =
            (fs::path(FFolder) / (N == 1 ? std::string(Stamp) : std::string(Stamp) + "-" + std::to_string(N)))
                .string();
        if (!fs::exists(Base + Extension, Ec) && !fs::exists(Base + PartExtension, Ec))
            return Base + Extension;
    }
    std::fprintf(stderr, "velomarch: no free name for a recording in \"%s\"\n", FFolder.c_str());
    return {};
}

std::vector<TKeptRun> TReplayKeeper::List() const
{
    std::vector<TKeptRun> Runs;
    std::error_code Ec;
    if (FFolder.empty() || !fs::is_directory(FFolder, Ec))
        return Runs;
    for (fs::directory_iterator It(FFolder, Ec), End; !Ec && It != End; It.increment(Ec))
    {
        const std::string Path = It->path().string();
        const std::string Name = It->path().filename().string();
        if (!It->is_regular_file(Ec) || !(EndsWith(Name, Extension) || EndsWith(Name, PartExtension)))
            continue;
        TReplay Replay;
        std::string Error;
        if (!ReadReplayFile(Path, Replay, Error))
        {
            std::fprintf(stderr, "velomarch: the recording \"%s\" is left out: %s\n", Path.c_str(),
                         Error.c_str());
            continue;
        }
        TKeptRun Run;
        Run.Path = Path;
        if (!TimeFromName(Name, Run.Time, Run.Sequence))
            Run.Time = FileTime(Path);
        Run.Finished = Replay.Finished;
        Run.Player = Replay.Finished ? Replay.End.PlayerName : Replay.Header.PlayerName;
        Run.Score = Replay.Finished ? Replay.End.Score : 0;
        Run.Races = Replay.Finished ? Replay.End.RaceNumber : 0;
        Run.Frames = Replay.Frames;
        Run.Bytes = static_cast<long long>(It->file_size(Ec));
        Runs.push_back(std::move(Run));
    }
    if (Ec)
        std::fprintf(stderr, "velomarch: cannot read the replays folder \"%s\": %s\n", FFolder.c_str(),
                     Ec.message().c_str());
    SortNewestFirst(Runs);
    return Runs;
}

int TReplayKeeper::Prune() const
{
    std::vector<TKeptRun> Runs = List();
    int Removed = 0;
    for (std::size_t I : RunsToRemove(Runs, FRules))
    {
        std::error_code Ec;
        if (fs::remove(Runs[I].Path, Ec))
            ++Removed;
        else if (Ec)
            std::fprintf(stderr, "velomarch: cannot remove the recording \"%s\": %s\n", Runs[I].Path.c_str(),
                         Ec.message().c_str());
    }
    return Removed;
}

} // namespace vm
