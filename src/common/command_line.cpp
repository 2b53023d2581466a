// Every program's command line: one CLI11 parser set-up and one answer to --help and bad arguments.
#include "common/command_line.h"

#include "common/build_info.h"

#include <CLI/CLI.hpp>

#include <cctype>
#include <cstdio>
#include <vector>

namespace vm {

namespace {

// The help text: the synopsis first, then the summary, the options and the footer.
class TUsageFormatter : public CLI::Formatter
{
public:
    explicit TUsageFormatter(std::string Synopsis) : FSynopsis(std::move(Synopsis)) { column_width(28); }

    std::string make_help(const CLI::App* App, std::string, CLI::AppFormatMode) const override
    {
        std::string Text = "usage: ";
        for (const char C : FSynopsis)
            Text += C == '\n' ? std::string("\n       ") : std::string(1, C);
        Text += "\n";
        if (!App->get_description().empty())
            Text += "\n" + App->get_description() + "\n";
        Text += make_groups(App, CLI::AppFormatMode::Normal);
        if (!App->get_footer().empty())
            Text += "\n" + App->get_footer() + "\n";
        return Text;
    }

    // "-h, --help" rather than "-h,--help".
    std::string make_option_name(const CLI::Option* Option, bool Positional) const override
    {
        std::string Name = CLI::Formatter::make_option_name(Option, Positional);
        for (std::size_t At = Name.find(','); At != std::string::npos; At = Name.find(',', At + 2))
            Name.insert(At + 1, " ");
        return Name;
    }

private:
    std::string FSynopsis;
};

// CLI11's reason as one line in the house's words: "--db needs a value" for its
// "--db: 1 required TEXT missing", and a lower-case start to follow "PROGRAM: ".
std::string ReasonOf(const CLI::ParseError& Error)
{
    std::string Text = Error.what();
    const std::size_t Colon = Text.find(": ");
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&Error) != nullptr && Colon != std::string::npos &&
        Text.find(" required ", Colon) != std::string::npos && Text.ends_with(" missing"))
        return Text.substr(0, Colon) + " needs a value";
    const std::size_t End = Text.find('\n');
    if (End != std::string::npos)
        Text.resize(End);
    if (Text.size() > 1 && std::isupper(static_cast<unsigned char>(Text[0])) &&
        std::islower(static_cast<unsigned char>(Text[1])))
        Text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(Text[0])));
    return Text;
}

// "unknown argument(s) A B", in the order given, or "" when there are none. CLI11 collects them
// (allow_extras) rather than throwing, so they can be named in that order.
std::string UnknownReason(const std::vector<std::string>& Unknown)
{
    if (Unknown.empty())
        return {};
    std::string Reason = Unknown.size() == 1 ? "unknown argument" : "unknown arguments";
    for (const std::string& Arg : Unknown)
        Reason += " " + Arg;
    return Reason;
}

} // namespace

TCommandLine::TCommandLine(std::string Program, std::string Synopsis, std::string Summary)
    : FProgram(std::move(Program)), FApp(std::make_unique<CLI::App>(std::move(Summary), FProgram))
{
    FApp->formatter(std::make_shared<TUsageFormatter>(std::move(Synopsis)));
    FApp->set_help_flag("-h,--help", "print this help and exit");
    FApp->set_version_flag("--version", VersionLine(FProgram), "print the version and exit");
    FApp->option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    FApp->allow_extras();
}

TCommandLine::~TCommandLine() = default;

TCommandLineOutcome TCommandLine::Read(int Argc, const char* const* Argv, std::string& Reason)
{
    // CLI11 takes the arguments last first.
    std::vector<std::string> Args;
    for (int I = Argc - 1; I >= 1; --I)
        Args.emplace_back(Argv[I]);
    try
    {
        FApp->parse(Args);
        Reason = UnknownReason(FApp->remaining());
    }
    catch (const CLI::CallForHelp&)
    {
        return TCommandLineOutcome::Help;
    }
    catch (const CLI::CallForVersion&)
    {
        return TCommandLineOutcome::Version;
    }
    catch (const CLI::ParseError& Error)
    {
        // Unknown arguments first: a check over the options that were read may have failed only for
        // want of what the user meant to give.
        Reason = UnknownReason(FApp->remaining());
        if (Reason.empty())
            Reason = ReasonOf(Error);
    }
    return Reason.empty() ? TCommandLineOutcome::Run : TCommandLineOutcome::Bad;
}

std::optional<int> TCommandLine::Run(int Argc, const char* const* Argv)
{
    std::string Why;
    switch (Read(Argc, Argv, Why))
    {
    case TCommandLineOutcome::Run: return std::nullopt;
    case TCommandLineOutcome::Help: std::fputs(Usage().c_str(), stdout); return 0;
    case TCommandLineOutcome::Version: std::printf("%s\n", VersionLine(FProgram).c_str()); return 0;
    case TCommandLineOutcome::Bad: break;
    }
    std::fprintf(stderr, "%s: %s\n%s", FProgram.c_str(), Why.c_str(), Usage().c_str());
    return 2;
}

std::string TCommandLine::Usage() const { return FApp->help(); }

} // namespace vm
