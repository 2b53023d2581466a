// scored_load: drives the score server over loopback with plain sockets, well-behaved or not, and
// prints what it measured. Not installed; the score service measurement script runs it.
#include "load_scenarios.h"

#include "common/command_line.h"

#include <CLI/CLI.hpp>
#include <signal.h>

#include <iostream>
#include <map>

namespace {

using namespace vm::bench;

using TScenario = int (*)(const TLoadOptions&, std::ostream&);

const std::map<std::string, TScenario>& Scenarios()
{
    static const std::map<std::string, TScenario> Table = {
        {"header-flood", RunHeaderFlood}, {"slow", RunSlow},
        {"token-flood", RunTokenFlood},   {"load", RunLoad},
        {"keepalive", RunKeepAlive},
    };
    return Table;
}

} // namespace

int main(int Argc, char** Argv)
{
    TLoadOptions Options;
    std::string Mode;
    std::vector<std::string> Targets;
    vm::TCommandLine CommandLine(
        "scored_load", "scored_load MODE [--target ADDR:PORT]... [options]",
        "Measures the score server over loopback. MODE is one of:\n"
        "  header-flood  clients send endless header lines; how each ended, the server's memory\n"
        "  slow          slow and idle connections while valid clients ask for versions\n"
        "  token-flood   127.0.0.2 asks for tokens as fast as it can while 127.0.0.3 holds one\n"
        "  load          version + submission pairs from many clients, over one or more targets\n"
        "  keepalive     the same requests over fresh connections and over one kept alive\n"
        "Each measurement is one line, then the same as \"RESULT key=value ...\".");
    CLI::App& App = CommandLine.App();
    std::vector<std::string> Names;
    for (const auto& [Name, Run] : Scenarios())
        Names.push_back(Name);
    App.add_option("MODE", Mode, "the scenario")->required()->check(CLI::IsMember(Names));
    App.add_option("--target", Targets, "a server to measure (default 127.0.0.1:8088); load spreads over all")
        ->type_name("ADDR:PORT")
        ->delimiter(',')
        ->check([](const std::string& Text) {
            return ParseTarget(Text) ? std::string() : "wants a numeric IPv4 ADDR:PORT, not " + Text;
        });
    const auto Positive = CLI::PositiveNumber;
    App.add_option("--seconds", Options.FSeconds, "the bound of the run (default 20)")->check(Positive);
    App.add_option("--clients", Options.FClients,
                   "flooding clients, load threads or token flooders (default 8)")
        ->check(CLI::Range(1, 4000));
    App.add_option("--header-mb", Options.FHeaderMegabytes,
                   "header-flood: megabytes each client sends at most (default 4)")
        ->check(Positive);
    App.add_option("--limit-bytes", Options.FLimitBytes,
                   "header-flood: count cut-off times from this many header bytes (default 4096)")
        ->check(CLI::NonNegativeNumber);
    App.add_option("--pid", Options.FPid, "header-flood: the server process whose memory is sampled")
        ->check(Positive);
    App.add_option("--slow", Options.FSlow, "slow: connections sending a byte an interval (default 500)")
        ->check(CLI::Range(0, 100000));
    App.add_option("--idle", Options.FIdle, "slow: connections that send nothing (default 1500)")
        ->check(CLI::Range(0, 100000));
    App.add_option("--valid", Options.FValid, "slow: threads making valid requests meanwhile (default 4)")
        ->check(CLI::Range(1, 256));
    App.add_option("--interval", Options.FIntervalSeconds, "slow: seconds between two bytes (default 2)")
        ->check(Positive);
    App.add_option(
           "--sources", Options.FSources,
           "spread abusers and load threads over this many addresses from 127.0.0.2 (default 0: none)")
        ->check(CLI::Range(0, 60000));
    App.add_option("--tokens", Options.FTokens, "token-flood: version requests at most (default 120000)")
        ->check(Positive);
    App.add_option("--pairs", Options.FPairs,
                   "load, keepalive: version + submission pairs at most (default 4000)")
        ->check(Positive);
    App.add_flag("--keep-alive", Options.FKeepAlive,
                 "load, token-flood: keep connections alive between requests");
    App.add_flag("--cross", Options.FCross, "load: submit to the target after the one that gave the token");
    App.add_flag("--check", Options.FCheck, "load: check the JSON table against the stored submissions");
    App.add_option("--timeout", Options.FTimeoutSeconds, "seconds a valid request may take (default 5)")
        ->check(Positive);
    if (const auto Status = CommandLine.Run(Argc, Argv))
        return *Status;

    for (const std::string& Text : Targets)
        Options.FTargets.push_back(*ParseTarget(Text));
    if (Options.FTargets.empty())
        Options.FTargets.push_back(TTarget{"127.0.0.1", 8088});
    // Thousands of connections at once need the hard limit of open files; a hang-up must not end the run.
    const long Files = RaiseFileLimit();
    if (Mode == "slow" && Files >= 0 && Files < Options.FSlow + Options.FIdle + 64)
        std::cerr << "scored_load: only " << Files << " open files allowed; some connections will fail\n";
    signal(SIGPIPE, SIG_IGN);
    return Scenarios().at(Mode)(Options, std::cout);
}
