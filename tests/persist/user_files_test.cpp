// Moving the player's files from an older start's working folder, and clearing what interrupted
// saves left behind.
#include "persist/safe_file.h"
#include "persist/user_files.h"

#include "persist_fixture.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>

namespace vm {
namespace {

namespace fs = std::filesystem;

TUserFiles FilesIn(const test::TTempDir& Dir)
{
    fs::create_directories(Dir.Path() / "config");
    fs::create_directories(Dir.Path() / "data");
    return TUserFiles{Dir.File("config/Config.cfg"), Dir.File("data/Configdat.cfg"), Dir.File("config")};
}

TEST(MoveOldFiles, MovesEachFileOnceAndNeverOverwrites)
{
    test::TTempDir Dir;
    const TUserFiles Files = FilesIn(Dir);
    fs::create_directories(Dir.Path() / "old");
    test::WriteBytes(Dir.File("old/Config.cfg"), "old settings");
    test::WriteBytes(Dir.File("old/Configdat.cfg"), "old progress");
    test::WriteBytes(Dir.File("old/website.url"), "URL=https://example.org/\n");
    test::WriteBytes(Dir.File("old/other.txt"), "not ours");
    fs::create_directories(Dir.Path() / "old/play.url"); // a folder by a shortcut's name stays

    const TMoveReport First = MoveOldFiles(Dir.File("old"), Files);
    EXPECT_EQ(First.Moved, (std::vector<std::string>{"Config.cfg", "Configdat.cfg", "website.url"}));
    EXPECT_TRUE(First.Failed.empty());
    EXPECT_TRUE(First.Skipped.empty());
    EXPECT_EQ(test::ReadBytes(Files.SettingsFile), "old settings");
    EXPECT_EQ(test::ReadBytes(Files.ProgressFile), "old progress");
    EXPECT_EQ(test::ReadBytes(Files.ShortcutPath("website.url")), "URL=https://example.org/\n");
    EXPECT_FALSE(fs::exists(Dir.File("old/Config.cfg")));
    EXPECT_TRUE(fs::exists(Dir.File("old/other.txt")));

    // Nothing left to move: a second start reports nothing.
    const TMoveReport Second = MoveOldFiles(Dir.File("old"), Files);
    EXPECT_TRUE(Second.Moved.empty() && Second.Failed.empty() && Second.Skipped.empty());

    // An old file that turns up again never replaces the player's current one.
    test::WriteBytes(Dir.File("old/Config.cfg"), "older still");
    const TMoveReport Third = MoveOldFiles(Dir.File("old"), Files);
    EXPECT_EQ(Third.Skipped, std::vector<std::string>{"Config.cfg"});
    EXPECT_EQ(test::ReadBytes(Files.SettingsFile), "old settings");
    EXPECT_EQ(test::ReadBytes(Dir.File("old/Config.cfg")), "older still");

    // Started in the per-user folder itself: its files are already where they belong.
    const TMoveReport Fourth = MoveOldFiles(Dir.File("config"), Files);
    EXPECT_TRUE(Fourth.Moved.empty() && Fourth.Failed.empty() && Fourth.Skipped.empty());
    EXPECT_EQ(test::ReadBytes(Files.SettingsFile), "old settings");
}

TEST(MoveOldFiles, AFileThatCannotMoveIsReportedAndStays)
{
    test::TTempDir Dir;
    TUserFiles Files = FilesIn(Dir);
    Files.ProgressFile = Dir.File("no-such-folder/Configdat.cfg");
    fs::create_directories(Dir.Path() / "old");
    test::WriteBytes(Dir.File("old/Configdat.cfg"), "progress");
    const TMoveReport Report = MoveOldFiles(Dir.File("old"), Files);
    ASSERT_EQ(Report.Failed.size(), 1u);
    EXPECT_NE(Report.Failed[0].find(Dir.File("old/Configdat.cfg")), std::string::npos) << Report.Failed[0];
    EXPECT_EQ(test::ReadBytes(Dir.File("old/Configdat.cfg")), "progress");
}

// A child that starts writing a temporary file the way a save does and is killed half way.
pid_t KilledDuringASave(const std::string& Path)
{
    const pid_t Child = ::fork();
    if (Child == 0)
    {
        const std::string Temp = Path + ".tmp-" + std::to_string(::getpid()) + "-0";
        const int Fd = ::open(Temp.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (Fd >= 0 && ::write(Fd, "half a fi", 9) == 9)
            ::kill(::getpid(), SIGKILL);
        ::_exit(1);
    }
    int Status = 0;
    ::waitpid(Child, &Status, 0);
    EXPECT_TRUE(WIFSIGNALED(Status) && WTERMSIG(Status) == SIGKILL);
    return Child;
}

TEST(RemoveStaleTemporaries, RemovesWhatAKilledSaveLeftAndKeepsALiveOne)
{
    test::TTempDir Dir;
    const std::string Path = Dir.File("Config.cfg");
    test::WriteBytes(Path, "whole");
    const pid_t Dead = KilledDuringASave(Path);
    const std::string Stale = Path + ".tmp-" + std::to_string(Dead) + "-0";
    ASSERT_TRUE(fs::exists(Stale));
    // Process 1 always runs: its save may be going on now.
    const std::string Live = Path + ".tmp-1-3";
    test::WriteBytes(Live, "busy");
    // Names that only look alike are not ours.
    for (const char* Name : {"Config.cfg.tmp-", "Config.cfg.tmp-12", "Config.cfg.tmp-x-1",
                             "Config.cfg.tmp-12-3b", "Configdat.cfg.tmp-999999-0"})
        test::WriteBytes(Dir.File(Name), "keep");

    EXPECT_EQ(RemoveStaleTemporaries(Path), std::vector<std::string>{Stale});
    EXPECT_FALSE(fs::exists(Stale));
    EXPECT_TRUE(fs::exists(Live));
    EXPECT_EQ(test::ReadBytes(Path), "whole");
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir.Path()), fs::directory_iterator()), 7);
    EXPECT_TRUE(RemoveStaleTemporaries(Dir.File("missing-folder/Config.cfg")).empty());
}

} // namespace
} // namespace vm
