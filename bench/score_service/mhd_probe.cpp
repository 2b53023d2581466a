// mhd_probe: the score service over libmicrohttpd as a program, started like velomarch-scored, so the
// measurement script can compare the two HTTP libraries. Not installed.
#include "mhd_front.h"
#include "raw_http.h"

#include "common/command_line.h"

#include <CLI/CLI.hpp>
#include <pthread.h>
#include <signal.h>

#include <cstdio>

int main(int Argc, char** Argv)
{
    using namespace vm;
    std::string Listen = "127.0.0.1:8088";
    std::string Database = "scores.db";
    std::string Motd;
    bench::TMhdLimits Limits;
    bool NoLimits = false;
    TCommandLine CommandLine("mhd_probe", "mhd_probe [--listen ADDR:PORT] [--db FILE] [--motd TEXT] [limits]",
                             "The score service over GNU libmicrohttpd, for measuring it against the\n"
                             "score server's own front. Stops on SIGTERM or SIGINT.");
    CLI::App& App = CommandLine.App();
    App.add_option("--listen", Listen,
                   "the numeric IPv4 address to serve on (default 127.0.0.1:8088; port 0 picks one)")
        ->type_name("ADDR:PORT")
        ->check([](const std::string& Text) {
            // Port 0 is allowed here, unlike for a target to connect to.
            const bool Free = Text.size() > 2 && Text.ends_with(":0");
            return bench::ParseTarget(Free ? Text.substr(0, Text.size() - 1) + "1" : Text)
                       ? std::string()
                       : "wants ADDR:PORT with a numeric IPv4 address, not " + Text;
        });
    App.add_option("--db", Database, "the SQLite file or postgresql:// URI of the scores (default scores.db)")
        ->type_name("FILE|URI");
    App.add_flag("--no-limits", NoLimits, "no per-address token or submission limits (for load runs)");
    App.add_option("--motd", Motd, "the message of the day in the version reply")
        ->type_name("TEXT")
        ->check([](const std::string& Text) {
            for (const char C : Text)
                if (C == '|' || static_cast<unsigned char>(C) < 0x20 || C == 0x7F)
                    return std::string("may not hold \"|\" or control characters");
            return std::string();
        });
    App.add_option("--threads", Limits.FThreads, "epoll threads (default 4)")->check(CLI::Range(1, 64));
    App.add_option("--memory", Limits.FMemoryBytes,
                   "bytes a connection may use for its request head (default 16384)")
        ->check(CLI::Range(4096L, 1L << 20));
    App.add_option("--timeout", Limits.FTimeoutSeconds,
                   "seconds before an idle connection is closed (default 10)")
        ->check(CLI::Range(1, 3600));
    App.add_option("--per-address", Limits.FPerAddressConnections,
                   "connections one client address may hold (default 0: no limit)")
        ->check(CLI::Range(0, 100000));
    App.add_option("--connections", Limits.FConnections, "connections in all (default 10000)")
        ->check(CLI::Range(1, 1000000));
    if (const auto Status = CommandLine.Run(Argc, Argv))
        return *Status;

    sigset_t StopSignals;
    sigemptyset(&StopSignals);
    sigaddset(&StopSignals, SIGINT);
    sigaddset(&StopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &StopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);
    bench::RaiseFileLimit(); // the connection limit is worth nothing beyond the open-file limit

    const std::size_t Colon = Listen.rfind(':');
    const std::string Host = Listen.substr(0, Colon);
    const int Port = std::stoi(Listen.substr(Colon + 1));
    try
    {
        scored::TStoreOptions StoreOptions;
        StoreOptions.FConnections = Limits.FThreads;
        if (NoLimits)
            StoreOptions.FLimits = scored::TStoreLimits{0, 0, 0, 0, 0, 600};
        const auto Store = scored::OpenStore(Database, StoreOptions);
        scored::TScoreServerOptions Options = scored::DefaultServerOptions();
        if (!Motd.empty())
            Options.FMessageOfTheDay = Motd;
        bench::TMhdFront Front(*Store, Limits, Options);
        const int Bound = Front.Start(Host, Port);
        if (Bound < 0)
        {
            std::fprintf(stderr, "mhd_probe: cannot listen on %s (address in use or not available)\n",
                         Listen.c_str());
            return 1;
        }
        std::printf("mhd_probe listening on %s:%d\n", Host.c_str(), Bound);
        std::fflush(stdout);
        int Signal = 0;
        sigwait(&StopSignals, &Signal);
        Front.Stop();
        return 0;
    }
    catch (const scored::TStoreError& Failure)
    {
        std::fprintf(stderr, "mhd_probe: %s\n", Failure.what());
        return 1;
    }
}
