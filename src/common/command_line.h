// Every program's command line: one CLI11 parser set-up and one answer to --help and bad arguments.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace CLI {
class App;
} // namespace CLI

namespace vm {

enum class TCommandLineOutcome
{
    Run,     // parsed: the program goes on
    Help,    // --help or -h was given
    Version, // --version was given
    Bad      // an argument was wrong; the reason says which and why
};

// A program's parser. The program adds its options to App() (include <CLI/CLI.hpp> for that); an option
// given twice keeps its last value. Checks that need several options go in App().callback(), throwing
// CLI::ValidationError with the reason.
class TCommandLine
{
public:
    // Program: the name in messages. Synopsis: the usage line(s) after "usage: ", later lines indented
    // to line up under the first. Summary: a line or two on what the program does.
    TCommandLine(std::string Program, std::string Synopsis, std::string Summary);
    ~TCommandLine();
    TCommandLine(const TCommandLine&) = delete;
    TCommandLine& operator=(const TCommandLine&) = delete;

    CLI::App& App() { return *FApp; }

    // Reads the arguments after Argv[0] and prints nothing; on Bad, Reason holds one line.
    TCommandLineOutcome Read(int Argc, const char* const* Argv, std::string& Reason);

    // Read, answered alike by every program: nothing when the program goes on; otherwise its exit
    // status after printing the usage on stdout for --help (0), the version line on stdout for
    // --version (0), or "PROGRAM: reason" and then the usage on stderr for a bad argument (2).
    std::optional<int> Run(int Argc, const char* const* Argv);

    // The synopsis, the summary and every option with what it does.
    std::string Usage() const;

private:
    std::string FProgram;
    std::unique_ptr<CLI::App> FApp;
};

} // namespace vm
