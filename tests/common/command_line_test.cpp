// The shared command-line parser: its outcomes, the reasons it gives and the usage it prints.
#include "common/command_line.h"

#include <CLI/CLI.hpp>
#include <gtest/gtest.h>

#include <vector>

namespace vm {
namespace {

// A parser with one option of each kind the programs use: a value, a checked value and a flag.
class CommandLineTest : public ::testing::Test
{
protected:
    CommandLineTest() : Line("prog", "prog [--name TEXT] [--size N]\n     [--loud]", "Does a thing.")
    {
        Line.App().add_option("--name", Name, "a name")->type_name("TEXT");
        Line.App().add_option("--size", Size, "a size")->type_name("N")->check([](const std::string& Text) {
            return Text == "0" ? "may not be 0" : std::string();
        });
        Line.App().add_flag("--loud", Loud, "be loud");
    }

    TCommandLineOutcome Read(std::vector<const char*> Args)
    {
        Args.insert(Args.begin(), "prog");
        Reason.clear();
        return Line.Read(static_cast<int>(Args.size()), Args.data(), Reason);
    }

    TCommandLine Line;
    std::string Name;
    int Size = 0;
    bool Loud = false;
    std::string Reason;
};

TEST_F(CommandLineTest, ReadsOptionsAndKeepsTheLastOfARepeatedOne)
{
    ASSERT_EQ(Read({"--name", "a", "--loud", "--size", "3", "--name", "b"}), TCommandLineOutcome::Run)
        << Reason;
    EXPECT_EQ(Name, "b");
    EXPECT_EQ(Size, 3);
    EXPECT_TRUE(Loud);
    // No arguments at all, not even the program's name.
    TCommandLine Bare("bare", "bare", "");
    std::string Why;
    EXPECT_EQ(Bare.Read(0, nullptr, Why), TCommandLineOutcome::Run);
}

TEST_F(CommandLineTest, HelpWinsAndBadArgumentsSayWhatIsWrongInOneLine)
{
    EXPECT_EQ(Read({"--help"}), TCommandLineOutcome::Help);
    EXPECT_EQ(Read({"--size", "3", "-h"}), TCommandLineOutcome::Help);

    const std::vector<std::pair<std::vector<const char*>, std::string>> Bad = {
        {{"--name"}, "--name needs a value"},
        {{"--size", "0"}, "--size: may not be 0"},
        {{"--size", "big"}, "--size"},
        {{"--fast"}, "unknown argument --fast"},
        {{"stray", "--size", "3", "--fast"}, "unknown arguments stray --fast"},
        {{"--loud=maybe"}, "--loud"},
    };
    for (const auto& [Args, Says] : Bad)
    {
        EXPECT_EQ(Read(Args), TCommandLineOutcome::Bad) << Args[0];
        EXPECT_NE(Reason.find(Says), std::string::npos) << Reason;
        EXPECT_EQ(Reason.find('\n'), std::string::npos) << Reason;
        EXPECT_FALSE(Reason.empty() || std::isupper(static_cast<unsigned char>(Reason[0]))) << Reason;
    }

    // A check across options, from the program's own callback, keeps its words.
    Line.App().callback([this] {
        if (Loud && Size > 5)
            throw CLI::ValidationError("--loud needs a size of 5 or less");
    });
    EXPECT_EQ(Read({"--loud", "--size", "6"}), TCommandLineOutcome::Bad);
    EXPECT_EQ(Reason, "--loud needs a size of 5 or less");
    // An unknown argument is the first thing to tell, whatever else is wrong.
    EXPECT_EQ(Read({"--loud", "--size", "6", "--fast"}), TCommandLineOutcome::Bad);
    EXPECT_EQ(Reason, "unknown argument --fast");
}

TEST_F(CommandLineTest, UsageLeadsWithTheSynopsisThenTheSummaryAndEveryOption)
{
    const std::string Usage = Line.Usage();
    EXPECT_EQ(Usage.rfind("usage: prog [--name TEXT] [--size N]\n            [--loud]\n\nDoes a thing.\n", 0),
              0u)
        << Usage;
    for (const char* Option : {"-h, --help", "--name TEXT", "--size N", "--loud"})
        EXPECT_NE(Usage.find("\n  " + std::string(Option) + " "), std::string::npos) << Option << "\n"
                                                                                     << Usage;
}

} // namespace
} // namespace vm
