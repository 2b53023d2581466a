// The velomarch-scored program: options, start-up checks, the stop signals and a clean shutdown.
#include "scored_app.h"

#include "score_server.h"
#include "score_store.h"
#include "token_book.h"

#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <thread>

namespace vm::scored {

namespace {

constexpr const char* Usage =
    "usage: velomarch-scored [--listen ADDR:PORT] [--db FILE] [--motd TEXT]\n"
    "  --listen ADDR:PORT  address to serve on (default 127.0.0.1:8088; port 0 picks one)\n"
    "  --db FILE           SQLite database of the scores (default scores.db)\n"
    "  --motd TEXT         message of the day in the version reply\n";

// "ADDR:PORT" or "[V6ADDR]:PORT".
bool ParseListen(const std::string& Text, TScoredOptions& Options)
{
    const std::size_t Colon = Text.rfind(':');
    if (Colon == std::string::npos || Colon == 0)
        return false;
    std::string Host = Text.substr(0, Colon);
    const std::string Port = Text.substr(Colon + 1);
    if (Host.size() >= 2 && Host.front() == '[' && Host.back() == ']')
        Host = Host.substr(1, Host.size() - 2);
    if (Host.empty() || Port.empty() || Port.size() > 5 ||
        Port.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int Number = std::stoi(Port);
    if (Number > 65535)
        return false;
    Options.FHost = Host;
    Options.FPort = Number;
    return true;
}

} // namespace

std::optional<TScoredOptions> ParseScoredOptions(const std::vector<std::string>& Args, std::string& Error)
{
    TScoredOptions Options;
    for (std::size_t I = 0; I < Args.size(); ++I)
    {
        const std::string& Arg = Args[I];
        if (Arg == "--help" || Arg == "-h")
        {
            Options.FHelp = true;
            continue;
        }
        if (Arg != "--listen" && Arg != "--db" && Arg != "--motd")
        {
            Error = "unknown option " + Arg;
            return std::nullopt;
        }
        if (I + 1 >= Args.size())
        {
            Error = Arg + " needs a value";
            return std::nullopt;
        }
        const std::string& Value = Args[++I];
        if (Arg == "--listen" && !ParseListen(Value, Options))
        {
            Error = "--listen wants ADDR:PORT with a port of 0..65535, not " + Value;
            return std::nullopt;
        }
        if (Arg == "--db")
        {
            if (Value.empty())
            {
                Error = "--db needs a file name";
                return std::nullopt;
            }
            Options.FDatabase = Value;
        }
        if (Arg == "--motd")
        {
            // The reply's fields are split at "|" and the game reads one line.
            for (const char C : Value)
                if (C == '|' || static_cast<unsigned char>(C) < 0x20 || C == 0x7F)
                {
                    Error = "--motd may not hold \"|\" or control characters";
                    return std::nullopt;
                }
            Options.FMessageOfTheDay = Value;
        }
    }
    return Options;
}

int RunScored(int ArgC, char** ArgV)
{
    std::string Error;
    const auto Options =
        ParseScoredOptions(std::vector<std::string>(ArgV + (ArgC > 0 ? 1 : 0), ArgV + ArgC), Error);
    if (!Options)
    {
        std::fprintf(stderr, "velomarch-scored: %s\n%s", Error.c_str(), Usage);
        return 2;
    }
    if (Options->FHelp)
    {
        std::fputs(Usage, stdout);
        return 0;
    }

    // The stop signals are taken by one waiting thread, not a handler: stopping the server is not
    // safe inside a signal handler. Blocked here, before any thread starts, so every thread inherits it.
    sigset_t StopSignals;
    sigemptyset(&StopSignals);
    sigaddset(&StopSignals, SIGINT);
    sigaddset(&StopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &StopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN); // a client that hangs up must not end the server

    try
    {
        TScoreStore Store(Options->FDatabase);
        TTokenBook Tokens;
        TScoreServerOptions ServerOptions = DefaultServerOptions();
        if (!Options->FMessageOfTheDay.empty())
            ServerOptions.FMessageOfTheDay = Options->FMessageOfTheDay;
        TScoreServer Server(Store, Tokens, ServerOptions);

        const int Port = Server.Bind(Options->FHost, Options->FPort);
        if (Port < 0)
        {
            std::fprintf(stderr,
                         "velomarch-scored: cannot listen on %s:%d (address in use or not available)\n",
                         Options->FHost.c_str(), Options->FPort);
            return 1;
        }
        std::printf("velomarch-scored listening on %s:%d\n", Options->FHost.c_str(), Port);
        std::fflush(stdout);

        std::thread Waiter([&Server, StopSignals] {
            int Signal = 0;
            sigwait(&StopSignals, &Signal);
            Server.Stop();
        });
        const bool Served = Server.Run();
        // Wakes the waiter when the server ended on its own; after a signal it is finishing anyway.
        pthread_kill(Waiter.native_handle(), SIGTERM);
        Waiter.join();
        if (!Served)
        {
            std::fprintf(stderr, "velomarch-scored: accepting connections failed\n");
            return 1;
        }
        return 0; // Server, then Store, close here: the database is closed cleanly
    }
    catch (const TStoreError& Failure)
    {
        std::fprintf(stderr, "velomarch-scored: %s\n", Failure.what());
        return 1;
    }
}

} // namespace vm::scored
