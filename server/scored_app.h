// The velomarch-scored program: its options and its run from start to a clean stop.
#pragma once

#include "common/command_line.h"
#include "http_front.h"
#include "replay_verifier.h"
#include "score_store.h"

#include <memory>
#include <string>

namespace vm::scored {

struct TScoredOptions
{
    std::string FHost = "127.0.0.1";
    int FPort = 8088;
    std::string FDatabase = "scores.db"; // an SQLite file, or a postgresql:// URI
    TStoreLimits FLimits;
    std::string FMessageOfTheDay; // empty: the default
    TFrontOptions FFront;         // threads, connection limits, trusted proxies; the log is set by RunScored
    bool FAccessLog = true;       // one line per request on stderr
    TVerifierOptions FVerifier;   // the game data found and the playing of recordings
    std::string FGameData;        // --game-data as given; empty: found as described in --help
};

// The game's data folder for playing recordings: Given when it holds Data/, else $VELOMARCH_DATA,
// else the installed game's; empty when none holds it.
std::string FindGameData(const std::string& Given);

// The program's command line; reading it fills Options, which must outlive it.
std::unique_ptr<TCommandLine> ScoredCommandLine(TScoredOptions& Options);

// Runs the server until SIGTERM or SIGINT. Exit status: 0 after a clean stop, 1 when the address
// or the database cannot be used (a line on stderr says which, never a password), 2 on bad arguments. Call
// from the main thread before any other thread exists (it blocks the stop signals for every thread it
// starts).
int RunScored(int ArgC, char** ArgV);

} // namespace vm::scored
