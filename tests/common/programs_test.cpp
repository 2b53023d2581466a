// Every program's command line as its user meets it: --help, and a bad argument, on the real binaries.
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace vm {
namespace {

struct TProgram
{
    std::string Name;
    std::string Binary;
    // Bad command lines, each with a word its reason must name.
    std::vector<std::pair<std::string, std::string>> BadArguments;
};

const std::vector<TProgram>& Programs()
{
    static const std::vector<TProgram> List = {
        {"velomarch",
         VM_GAME_BIN,
         {{"--no-such-option", "--no-such-option"},
          {"stray", "stray"},
          {"--windowed --fullscreen", "--windowed"},
          {"--data", "--data"}}},
        {"velomarch-headless",
         VM_HEADLESS_BIN,
         {{"--no-such-option", "--no-such-option"},
          {"--frames", "--frames"},
          {"--seed ten", "--seed"},
          {"--race 5", "--race"},
          {"--null-renderer --shot 1:a.png", "--null-renderer"}}},
        {"velomarch-scored",
         VM_SCORED_BIN,
         {{"--no-such-option", "--no-such-option"}, {"--listen nowhere", "--listen"}, {"--db", "--db"}}},
        {"assetgen",
         VM_ASSETGEN_BIN,
         {{"--no-such-option", "--no-such-option"}, {"", "--out"}, {"--sheet", "--sheet"}}},
    };
    return List;
}

struct TRun
{
    int Status = -1;
    std::string Out;
    std::string Err;
};

std::string ReadFile(const std::string& Path)
{
    std::ifstream In(Path, std::ios::binary);
    std::stringstream Buffer;
    Buffer << In.rdbuf();
    return Buffer.str();
}

// Runs the program in a fresh folder (nothing it might write lands elsewhere), with a time limit in
// case it wrongly goes on to do its work.
TRun RunProgram(const TProgram& Program, const std::string& Arguments, const std::string& Environment = "")
{
    test::TTempDir Dir;
    const std::string Command = "cd " + Dir.Path().string() + " && " + Environment + " timeout 60 " +
                                Program.Binary + " " + Arguments + " >out.txt 2>err.txt </dev/null";
    const int Status = std::system(Command.c_str());
    return {WIFEXITED(Status) ? WEXITSTATUS(Status) : -1, ReadFile(Dir.File("out.txt")),
            ReadFile(Dir.File("err.txt"))};
}

TEST(ProgramCommandLines, HelpPrintsTheUsageOnStdoutAndExitsWithZero)
{
    for (const TProgram& Program : Programs())
        for (const char* Help : {"--help", "-h"})
        {
            const TRun Ran = RunProgram(Program, Help);
            EXPECT_EQ(Ran.Status, 0) << Program.Name << " " << Help << "\n" << Ran.Err;
            const std::string First = Ran.Out.substr(0, Ran.Out.find('\n'));
            EXPECT_TRUE(First == "usage: " + Program.Name ||
                        First.starts_with("usage: " + Program.Name + " "))
                << Ran.Out;
            EXPECT_NE(Ran.Out.find("\n  -h, --help "), std::string::npos) << Ran.Out;
            EXPECT_EQ(Ran.Err, "") << Program.Name;
        }
}

TEST(ProgramCommandLines, ABadArgumentGivesTheReasonThenTheUsageOnStderrAndExitsWithTwo)
{
    for (const TProgram& Program : Programs())
    {
        const std::string Usage = RunProgram(Program, "--help").Out;
        ASSERT_FALSE(Usage.empty()) << Program.Name;
        for (const auto& [Arguments, Named] : Program.BadArguments)
        {
            const TRun Ran = RunProgram(Program, Arguments);
            EXPECT_EQ(Ran.Status, 2) << Program.Name << " " << Arguments << "\n" << Ran.Err;
            EXPECT_EQ(Ran.Out, "") << Program.Name << " " << Arguments;
            // "PROGRAM: reason" on one line, then exactly the usage --help prints.
            const std::size_t LineEnd = Ran.Err.find('\n');
            ASSERT_NE(LineEnd, std::string::npos) << Ran.Err;
            const std::string Reason = Ran.Err.substr(0, LineEnd);
            EXPECT_EQ(Reason.rfind(Program.Name + ": ", 0), 0u) << Reason;
            EXPECT_NE(Reason.find(Named, Program.Name.size()), std::string::npos) << Reason;
            EXPECT_EQ(Ran.Err.substr(LineEnd + 1), Usage) << Program.Name << " " << Arguments;
        }
    }
}

TEST(ProgramCommandLines, VersionNamesTheProjectVersionAndTheRevision)
{
    for (const TProgram& Program : Programs())
    {
        const TRun Ran = RunProgram(Program, "--version");
        EXPECT_EQ(Ran.Status, 0) << Program.Name << "\n" << Ran.Err;
        EXPECT_EQ(Ran.Err, "") << Program.Name;
        // "PROGRAM 0.1.0 (git 0123abcd4567)", with "-modified" for uncommitted sources.
        const std::string Prefix = Program.Name + " " + VM_VERSION + " (git ";
        EXPECT_EQ(Ran.Out.rfind(Prefix, 0), 0u) << Ran.Out;
        EXPECT_TRUE(Ran.Out.ends_with(")\n")) << Ran.Out;
        const std::string Revision = Ran.Out.substr(Prefix.size(), Ran.Out.size() - Prefix.size() - 2);
        EXPECT_GE(Revision.size(), 7u) << Ran.Out;
        EXPECT_EQ(Revision.find_first_not_of("0123456789abcdef-modifiedunknown"), std::string::npos)
            << Ran.Out;
    }
}

// The game started where it cannot show itself or find its data: one line that says why, at once.
TEST(GameStart, WithoutADisplayOrDataItSaysWhyInOneLineAndEndsAtOnce)
{
    const TProgram Game = Programs()[0];
    const auto OneLine = [](const TRun& Ran) {
        return !Ran.Err.empty() && Ran.Err.find('\n') == Ran.Err.size() - 1;
    };
    const TRun NoDisplay = RunProgram(Game, "", "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER");
    EXPECT_EQ(NoDisplay.Status, 1) << NoDisplay.Err;
    EXPECT_TRUE(OneLine(NoDisplay)) << NoDisplay.Err;
    EXPECT_NE(NoDisplay.Err.find("velomarch: no display"), std::string::npos) << NoDisplay.Err;

    const TRun Unreachable = RunProgram(Game, "", "env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=:93");
    EXPECT_EQ(Unreachable.Status, 1) << Unreachable.Err;
    EXPECT_TRUE(OneLine(Unreachable)) << Unreachable.Err;
    EXPECT_NE(Unreachable.Err.find("DISPLAY=:93"), std::string::npos) << Unreachable.Err;

    for (const std::string How : {"--data .", ""})
    {
        const TRun NoData = RunProgram(Game, How, "env VELOMARCH_DATA=/nonexistent");
        EXPECT_EQ(NoData.Status, 2) << How << NoData.Err;
        EXPECT_TRUE(OneLine(NoData)) << NoData.Err;
        // --data wins over the variable, and each is named in the reason.
        EXPECT_NE(NoData.Err.find(How.empty() ? "$VELOMARCH_DATA" : "(--data)"), std::string::npos)
            << NoData.Err;
    }
}

} // namespace
} // namespace vm
