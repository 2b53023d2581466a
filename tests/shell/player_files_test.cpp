// The player's files as the game keeps them: where they are read and written, the move from an
// older start, and what the player is told when a save fails.
#include "engine/clock.h"
#include "pages/page_rows.h"
#include "persist/persist_fixture.h"
#include "persist/settings_file.h"
#include "shell/game.h"
#include "support/recording_audio_device.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace vm {
namespace {

namespace fs = std::filesystem;

class PlayerFilesTest : public ::testing::Test
{
protected:
    PlayerFilesTest()
    {
        fs::create_directories(Dir.Path() / "config");
        fs::create_directories(Dir.Path() / "data");
        Files = TUserFiles{Dir.File("config/Config.cfg"), Dir.File("data/Configdat.cfg"), Dir.File("config")};
    }
    // A game as the platform hands it over: the files where Files says, an older start's files in
    // OldFolder (empty: none), and this start's full-screen choice.
    std::unique_ptr<TGame> Start(const std::string& OldFolder = {}, std::optional<bool> FullScreen = {})
    {
        TGamePlatform Platform{Device, Clock, Sound, Messages, Dir.File("no-data")};
        Platform.Files = Files;
        Platform.OldFilesFolder = OldFolder;
        Platform.FullScreenThisStart = FullScreen;
        return std::make_unique<TGame>(Platform, GamePages());
    }

    test::TTempDir Dir;
    TUserFiles Files;
    TNullRenderDevice Device;
    TManualClock Clock{90000};
    test::TRecordingAudioDevice Sound;
    test::TMessageRecorder Messages;
};

TEST_F(PlayerFilesTest, FilesGoWhereThePlatformSaysAndOldOnesMoveThereOnce)
{
    {
        auto Game = Start();
        Game->State.PlayerName = "Ada";
        Game->State.Score = 4321;
        ASSERT_TRUE(Game->SaveFiles());
        EXPECT_TRUE(Game->Notices.Posted().empty());
    }
    EXPECT_TRUE(fs::exists(Files.SettingsFile));
    EXPECT_TRUE(fs::exists(Files.ProgressFile));

    // Those files, as an older start would have left them in its working folder.
    fs::create_directories(Dir.Path() / "old");
    fs::rename(Files.SettingsFile, Dir.File("old/Config.cfg"));
    fs::rename(Files.ProgressFile, Dir.File("old/Configdat.cfg"));
    {
        auto Game = Start(Dir.File("old"));
        Game->LoadFiles();
        EXPECT_EQ(Game->State.PlayerName, "Ada");
        EXPECT_EQ(Game->State.Score, 4321);
        ASSERT_EQ(Game->Notices.Posted().size(), 1u);
        const std::string& Told = Game->Notices.Posted()[0];
        EXPECT_NE(Told.find("Moved Config.cfg, Configdat.cfg from " + Dir.File("old")), std::string::npos)
            << Told;
        EXPECT_NE(Told.find(Dir.File("config")), std::string::npos) << Told;
    }
    EXPECT_FALSE(fs::exists(Dir.File("old/Config.cfg")));
    // The next start has nothing to move and says nothing.
    auto Again = Start(Dir.File("old"));
    Again->LoadFiles();
    EXPECT_TRUE(Again->Notices.Posted().empty());
    EXPECT_EQ(Again->State.Score, 4321);
}

TEST_F(PlayerFilesTest, AStartRemovesWhatASaveKilledHalfWayLeft)
{
    test::WriteBytes(Files.SettingsFile, "");
    {
        auto Game = Start();
        Game->State.PlayerName = "Kept";
        ASSERT_TRUE(Game->SaveSettingsFile());
    }
    const std::string Whole = test::ReadBytes(Files.SettingsFile);
    // A kill during a save: the temporary file of a process that is gone.
    const pid_t Child = ::fork();
    if (Child == 0)
        ::_exit(0);
    ::waitpid(Child, nullptr, 0);
    const std::string Stale = Files.SettingsFile + ".tmp-" + std::to_string(Child) + "-0";
    test::WriteBytes(Stale, "half");
    auto Game = Start();
    Game->LoadFiles();
    EXPECT_FALSE(fs::exists(Stale));
    EXPECT_EQ(Game->State.PlayerName, "Kept");
    EXPECT_EQ(test::ReadBytes(Files.SettingsFile), Whole);
}

TEST_F(PlayerFilesTest, AFailedSaveIsToldOncePerKindAndTheGameGoesOn)
{
    // A folder where the settings file should be.
    fs::create_directories(Files.SettingsFile);
    auto Game = Start();
    EXPECT_FALSE(Game->SaveSettingsFile());
    EXPECT_FALSE(Game->SaveSettingsFile());
    ASSERT_EQ(Game->Notices.Posted().size(), 1u);
    const std::string Told = Game->Notices.Posted()[0];
    EXPECT_NE(Told.find("settings could not be saved"), std::string::npos) << Told;
    EXPECT_NE(Told.find(Files.SettingsFile), std::string::npos) << Told;
    EXPECT_NE(Told.find("Is a directory"), std::string::npos) << Told;
    EXPECT_EQ(Game->Notices.Notices().size(), 1u);

    // Another kind of failure (the progress folder gone) is told too; leaving says both in its box.
    fs::remove_all(Dir.Path() / "data");
    EXPECT_FALSE(Game->SaveFiles());
    ASSERT_EQ(Game->Notices.Posted().size(), 2u);
    EXPECT_NE(Game->Notices.Posted()[1].find("progress could not be saved"), std::string::npos);
    EXPECT_NE(Game->LastSaveFailure().find(Files.ProgressFile), std::string::npos) << Game->LastSaveFailure();
    EXPECT_TRUE(Messages.Messages.empty()); // notices, not boxes that stop the game

    // Once the way is clear again the save goes through.
    fs::remove(Files.SettingsFile);
    fs::create_directories(Dir.Path() / "data");
    EXPECT_TRUE(Game->SaveFiles());
    EXPECT_TRUE(Game->LastSaveFailure().empty());
}

TEST_F(PlayerFilesTest, AFullDiskKeepsTheOldFileAndTellsThePlayer)
{
    {
        auto Game = Start();
        Game->State.PlayerName = "Before";
        ASSERT_TRUE(Game->SaveSettingsFile());
    }
    const std::string Before = test::ReadBytes(Files.SettingsFile);
    // The disk fills up part of the way through the new file (a file-size limit in a child).
    const int Result = test::RunWithFileSizeLimit(64, [this] {
        auto Game = Start();
        if (Game->SaveSettingsFile())
            return 1;
        if (Game->Notices.Posted().size() != 1 ||
            Game->Notices.Posted()[0].find("File too large") == std::string::npos)
            return 2;
        return 0;
    });
    EXPECT_EQ(Result, 0);
    EXPECT_EQ(test::ReadBytes(Files.SettingsFile), Before);
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir.Path() / "config"), fs::directory_iterator()), 1);
}

TEST_F(PlayerFilesTest, AReadOnlyFolderKeepsTheOldFileAndTellsThePlayer)
{
    {
        auto Game = Start();
        ASSERT_TRUE(Game->SaveSettingsFile());
    }
    const std::string Before = test::ReadBytes(Files.SettingsFile);
    ::chmod(Dir.Path().c_str(), 0755);
    ::chmod((Dir.Path() / "config").c_str(), 0555);
    // Root may write anywhere: the save runs as an ordinary user then.
    const pid_t Child = ::fork();
    if (Child == 0)
    {
        if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        auto Game = Start();
        Game->State.PlayerName = "After";
        const bool Saved = Game->SaveSettingsFile();
        const bool Told = Game->Notices.Posted().size() == 1 &&
                          Game->Notices.Posted()[0].find("Permission denied") != std::string::npos;
        ::_exit(Saved ? 1 : Told ? 0 : 2);
    }
    int Status = 0;
    ::waitpid(Child, &Status, 0);
    ::chmod((Dir.Path() / "config").c_str(), 0755);
    ASSERT_TRUE(WIFEXITED(Status));
    EXPECT_EQ(WEXITSTATUS(Status), 0);
    EXPECT_EQ(test::ReadBytes(Files.SettingsFile), Before);
}

TEST_F(PlayerFilesTest, WindowedOrFullScreenForOneStartLeavesTheStoredChoice)
{
    {
        auto Game = Start();
        Game->State.FullScreenOn = true;
        ASSERT_TRUE(Game->SaveSettingsFile());
    }
    auto Game = Start({}, false);
    Game->FormCreate(1);
    EXPECT_FALSE(Game->Screen.FullScreen);
    EXPECT_FALSE(Game->State.FullScreenApplied);
    EXPECT_TRUE(Game->State.FullScreenOn);
    ASSERT_TRUE(Game->SaveSettingsFile());
    TGameState Stored;
    THighScoreTable Scores;
    TProfiles Profiles;
    std::vector<std::string> Problems;
    Stored.FullScreenOn = false;
    LoadSettings(Files.SettingsFile, Stored, Scores, Profiles, Problems);
    EXPECT_TRUE(Stored.FullScreenOn);

    Game->State.FullScreenOn = false;
    ASSERT_TRUE(Game->SaveSettingsFile());
    auto Full = Start({}, true);
    Full->FormCreate(1);
    EXPECT_TRUE(Full->Screen.FullScreen);
    EXPECT_TRUE(Full->State.FullScreenApplied);
    EXPECT_FALSE(Full->State.FullScreenOn);
}

} // namespace
} // namespace vm
