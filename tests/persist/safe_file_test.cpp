// Tests that replacing a file never leaves it half written, even when the write or the rename fails.
#include "persist/safe_file.h"

#include "persist_fixture.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace vm {
namespace {

namespace fs = std::filesystem;

// Names in the folder other than Keep: a failed or finished save must leave no temporary behind.
std::vector<std::string> Others(const fs::path& Folder, const std::string& Keep)
{
    std::vector<std::string> Names;
    for (const auto& Entry : fs::directory_iterator(Folder))
        if (Entry.path().filename() != Keep)
            Names.push_back(Entry.path().filename().string());
    return Names;
}

TEST(SafeFile, CreatesAndReplacesLeavingNoTemporary)
{
    test::TTempDir Dir;
    const std::string Path = Dir.File("Config.cfg");
    std::string Error = "stale";
    ASSERT_TRUE(WriteFileAtomically(Path, "first", Error)) << Error;
    EXPECT_TRUE(Error.empty());
    EXPECT_EQ(test::ReadBytes(Path), "first");

    ::chmod(Path.c_str(), 0600); // the player's own choice survives a save
    ASSERT_TRUE(WriteFileAtomically(Path, std::string("x\0y", 3), Error)) << Error;
    EXPECT_EQ(test::ReadBytes(Path), std::string("x\0y", 3));
    EXPECT_EQ(fs::status(Path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(Others(Dir.Path(), "Config.cfg").empty());
}

TEST(SafeFile, FailsWithAReasonWhenTheFolderIsMissing)
{
    test::TTempDir Dir;
    std::string Error;
    EXPECT_FALSE(WriteFileAtomically(Dir.File("no/such/folder/Config.cfg"), "data", Error));
    EXPECT_NE(Error.find("No such file"), std::string::npos) << Error;
}

TEST(SafeFile, AFailedRenameKeepsWhatIsThereAndRemovesTheTemporary)
{
    // A directory in the file's place cannot be renamed over, not even by root.
    test::TTempDir Dir;
    const std::string Path = Dir.File("Config.cfg");
    fs::create_directory(Path);
    test::WriteBytes(Path + "/inside", "kept");
    std::string Error;
    EXPECT_FALSE(WriteFileAtomically(Path, "new content", Error));
    EXPECT_FALSE(Error.empty());
    EXPECT_TRUE(fs::is_directory(Path));
    EXPECT_EQ(test::ReadBytes(Path + "/inside"), "kept");
    EXPECT_TRUE(Others(Dir.Path(), "Config.cfg").empty());
}

TEST(SafeFile, AWriteThatFailsMidwayLeavesTheOldFileWhole)
{
    test::TTempDir Dir;
    const std::string Path = Dir.File("Configdat.cfg");
    const std::string Old(300, 'o');
    test::WriteBytes(Path, Old);
    const std::string New(5000, 'n');

    const int Result = test::RunWithFileSizeLimit(1000, [&] {
        std::string Error;
        const bool Saved = WriteFileAtomically(Path, New, Error);
        return Saved ? 1 : Error.find("cannot write") == std::string::npos ? 2 : 0;
    });
    EXPECT_EQ(Result, 0) << "1: reported success, 2: no write error named";
    EXPECT_EQ(test::ReadBytes(Path), Old);
    EXPECT_TRUE(Others(Dir.Path(), "Configdat.cfg").empty());
}

} // namespace
} // namespace vm
