// Tests which recordings are kept, how new ones are named, and that bad files are passed over.
#include "persist/replay_keeper.h"
#include "persist/replay_writer.h"

#include "persist_fixture.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

namespace vm {
namespace {

namespace fs = std::filesystem;

TKeptRun KeptRun(const std::string& Name, std::int64_t Time, const std::string& Player, int Score,
                 bool Finished = true, long long Bytes = 100)
{
    TKeptRun R;
    R.Path = Name;
    R.Time = Time;
    R.Player = Player;
    R.Score = Score;
    R.Finished = Finished;
    R.Bytes = Bytes;
    return R;
}

std::set<std::string> Removed(std::vector<TKeptRun> Runs, const TKeepRules& Rules)
{
    std::set<std::string> Names;
    for (std::size_t I : RunsToRemove(Runs, Rules))
        Names.insert(Runs[I].Path);
    return Names;
}

TEST(ReplayKeeping, TheLastRunsAndEachPlayersBestStay)
{
    TKeepRules Rules;
    Rules.LastRuns = 3;
    std::vector<TKeptRun> Runs = {
        KeptRun("a1", 10, "Ann", 500), KeptRun("b1", 20, "Bob", 90), KeptRun("a2", 30, "Ann", 700),
        KeptRun("a3", 40, "Ann", 100), KeptRun("b2", 50, "Bob", 80), KeptRun("c1", 60, "Cy", 10),
        KeptRun("a4", 70, "Ann", 700), // ties the best: the earlier one keeps its place
    };
    // Last three: a4, c1, b2. Bests: Ann a2 (700, first), Bob b1 (90), Cy c1.
    EXPECT_EQ(Removed(Runs, Rules), (std::set<std::string>{"a1", "a3"}));

    // Sorted newest first whatever order they came in.
    std::vector<TKeptRun> Sorted = Runs;
    RunsToRemove(Sorted, Rules);
    EXPECT_EQ(Sorted.front().Path, "a4");
    EXPECT_EQ(Sorted.back().Path, "a1");
}

TEST(ReplayKeeping, UnfinishedRunsCountAmongTheLastButAreNoBest)
{
    TKeepRules Rules;
    Rules.LastRuns = 2;
    std::vector<TKeptRun> Runs = {
        KeptRun("old", 10, "Ann", 50),
        KeptRun("crash-old", 20, "Ann", 0, false),
        KeptRun("crash", 30, "Ann", 0, false),
        KeptRun("new", 40, "Ann", 20),
    };
    // The last two are "new" and "crash"; Ann's best is "old"; an older crash goes.
    EXPECT_EQ(Removed(Runs, Rules), (std::set<std::string>{"crash-old"}));
}

TEST(ReplayKeeping, TheSizeCapDropsOldRunsThenLowBestsButNeverTheNewest)
{
    TKeepRules Rules;
    Rules.LastRuns = 10;
    Rules.MaxBytes = 250;
    std::vector<TKeptRun> Runs = {
        KeptRun("best-ann", 10, "Ann", 900), KeptRun("best-bob", 20, "Bob", 300),
        KeptRun("plain1", 30, "Ann", 1),     KeptRun("plain2", 40, "Bob", 2),
        KeptRun("newest", 50, "Ann", 5),
    };
    // 500 bytes kept: the plain runs go oldest first, then Bob's lower best; 200 left.
    EXPECT_EQ(Removed(Runs, Rules), (std::set<std::string>{"plain1", "plain2", "best-bob"}));

    // A newest run larger than the cap alone is still kept.
    Rules.MaxBytes = 10;
    EXPECT_EQ(Removed({KeptRun("huge", 5, "Ann", 1, true, 1000)}, Rules), std::set<std::string>{});
}

// A real recording of Frames frames by Player, finished with Score when Finished.
void Record(const std::string& Path, const std::string& Player, int Score, int Frames, bool Finished)
{
    TReplayHeader Header;
    Header.GameVersion = "1.0";
    Header.PlayerName = Player;
    TReplayWriter Writer(5);
    std::string Error;
    ASSERT_TRUE(Writer.Open(Path, Header, Error)) << Error;
    for (int F = 0; F < Frames; ++F)
    {
        Writer.Add({TReplayEventKind::KeyDown, 0, 38, 0, 0});
        Writer.Add({TReplayEventKind::Frame, 0, 0, 0, 0});
    }
    if (!Finished)
        return; // the writer's end leaves "Path.part", as a crash would
    TReplayEnd End;
    End.Frames = Frames;
    End.Score = Score;
    End.RaceNumber = 3;
    End.PlayerName = Player;
    ASSERT_TRUE(Writer.Finish(&End, Error)) << Error;
}

TEST(ReplayKeeper, ListsTheFolderNewestFirstAndPassesOverDamage)
{
    test::TTempDir Dir;
    const TReplayKeeper Keeper((Dir.Path() / "replays").string());
    EXPECT_TRUE(Keeper.List().empty()); // no folder yet

    const std::string First = Keeper.NextPath(1'800'000'000);
    ASSERT_FALSE(First.empty());
    EXPECT_TRUE(fs::is_directory(Dir.Path() / "replays"));
    EXPECT_EQ(fs::path(First).filename().string(), "run-20270115-080000.vmr");
    Record(First, "Ann", 4321, 12, true);
    // The same second again gets a name of its own.
    const std::string Second = Keeper.NextPath(1'800'000'000);
    EXPECT_NE(Second, First);
    Record(Second, "Bob", 0, 7, false);
    test::WriteBytes(Keeper.Folder() + "/run-20270116-080000.vmr", "not a recording at all");
    test::WriteBytes(Keeper.Folder() + "/notes.txt", "not ours");

    testing::internal::CaptureStderr();
    const std::vector<TKeptRun> Runs = Keeper.List();
    const std::string Err = testing::internal::GetCapturedStderr();
    EXPECT_NE(Err.find("run-20270116-080000.vmr"), std::string::npos) << Err;
    EXPECT_EQ(Err.find("notes.txt"), std::string::npos) << Err;
    ASSERT_EQ(Runs.size(), 2u);
    EXPECT_EQ(Runs[0].Player, "Bob");
    EXPECT_FALSE(Runs[0].Finished);
    EXPECT_EQ(Runs[0].Path, Second + ".part");
    EXPECT_EQ(Runs[0].Frames, 5); // up to the last complete chunk
    EXPECT_EQ(Runs[1].Player, "Ann");
    EXPECT_TRUE(Runs[1].Finished);
    EXPECT_EQ(Runs[1].Score, 4321);
    EXPECT_EQ(Runs[1].Races, 3);
    EXPECT_EQ(Runs[1].Frames, 12);
    EXPECT_EQ(Runs[1].Time, 1'800'000'000);
    EXPECT_GT(Runs[1].Bytes, 0);
}

TEST(ReplayKeeper, PruneRemovesOnlyWhatTheRulesDrop)
{
    test::TTempDir Dir;
    TKeepRules Rules;
    Rules.LastRuns = 2;
    const TReplayKeeper Keeper(Dir.File("replays"), Rules);
    std::vector<std::string> Paths;
    const int Scores[] = {900, 100, 200, 300};
    for (int I = 0; I < 4; ++I)
    {
        Paths.push_back(Keeper.NextPath(1'800'000'000 + I * 60));
        Record(Paths.back(), "Ann", Scores[I], 3, true);
    }
    test::WriteBytes(Keeper.Folder() + "/run-20200101-000000.vmr", "damaged");
    EXPECT_EQ(Keeper.Prune(), 1);
    EXPECT_TRUE(fs::exists(Paths[0])); // the best
    EXPECT_FALSE(fs::exists(Paths[1]));
    EXPECT_TRUE(fs::exists(Paths[2]));
    EXPECT_TRUE(fs::exists(Paths[3]));
    // A damaged file is not the keeper's to judge: it stays.
    EXPECT_TRUE(fs::exists(Keeper.Folder() + "/run-20200101-000000.vmr"));

    // Without a folder nothing is recorded.
    EXPECT_EQ(TReplayKeeper("").NextPath(0), "");
}

TEST(ReplayKeeper, AFolderThatCannotBeMadeGivesNoPathAndSaysWhy)
{
    test::TTempDir Dir;
    test::WriteBytes(Dir.File("file"), "x");
    testing::internal::CaptureStderr();
    EXPECT_EQ(TReplayKeeper(Dir.File("file") + "/replays").NextPath(0), "");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("replays folder"), std::string::npos);
}

} // namespace
} // namespace vm
