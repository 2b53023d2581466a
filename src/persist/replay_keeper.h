// Keeps the player's run recordings in their folder: names new ones, lists them, removes the rest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace vm {

// What the replays page shows of one kept recording.
struct TKeptRun
{
    std::string Path;
    std::int64_t Time = 0; // when the run started (seconds since the epoch)
    int Sequence = 1;      // of the runs started in the same second, the later ones count up
    std::string Player;
    bool Finished = false; // false: cut short (a crash); Score and Races are then unknown (0)
    std::int32_t Score = 0, Races = 0, Frames = 0;
    long long Bytes = 0;
};

// The last LastRuns runs (finished or not) and each player's best finished run are kept, while
// all of them together stay within MaxBytes.
struct TKeepRules
{
    std::size_t LastRuns = 10;
    long long MaxBytes = 64LL * 1024 * 1024;
};

// Newest first (by start time, then by sequence, then by path).
void SortNewestFirst(std::vector<TKeptRun>& Runs);
// Sorts Runs newest first and returns the indices (into the sorted Runs) of those the rules drop.
// Over the size cap, the oldest runs that are no player's best go first, then the bests with the
// lowest scores; the newest run always stays.
std::vector<std::size_t> RunsToRemove(std::vector<TKeptRun>& Runs, const TKeepRules& Rules);

// "2026-12-08 13:05" in the local time zone.
std::string FormatRunTime(std::int64_t Time);

// The recordings of one folder. An empty folder name keeps nothing (NextPath returns "").
class TReplayKeeper
{
public:
    explicit TReplayKeeper(std::string Folder, TKeepRules Rules = {});

    const std::string& Folder() const { return FFolder; }
    bool Enabled() const { return !FFolder.empty(); }
    // A new file's path named by Now (UTC) and unique in the folder, which is made when missing;
    // "" (with the reason on stderr) when it cannot be made.
    std::string NextPath(std::time_t Now) const;
    // The recordings in the folder, whole or cut short, newest first. Files that are not
    // readable recordings are left out, each with a message on stderr.
    std::vector<TKeptRun> List() const;
    // Removes the recordings the rules drop; returns how many went.
    int Prune() const;

private:
    std::string FFolder;
    TKeepRules FRules;
};

} // namespace vm
