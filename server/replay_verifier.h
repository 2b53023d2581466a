// Plays uploaded run recordings with the game's own code, on worker threads of their own.
#pragma once

#include "persist/replay.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace vm::scored {

struct TVerifierOptions
{
    std::string FDataDir;                   // the game's Data/ and Sounds/; empty: nothing is played
    int FThreads = 1;                       // recordings played at once
    int FQueue = 8;                         // recordings waiting beyond those; more are refused
    double FCpuSeconds = 30;                // the thread CPU time one recording may take
    std::int32_t FMaxFrames = 90 * 60 * 60; // the frames a recording may hold (an hour of play)
    int FNice = 10;                         // the workers' nice value, so requests go first
};

// What a recording must play to: the stored row's score and name.
struct TExpectedRun
{
    std::int64_t FScore = 0;
    std::string FName;
};

enum class EVerdict
{
    Verified,     // the playback ended the run with the expected score and name
    Mismatch,     // it ended otherwise, or the run did not end
    Unplayable,   // damaged, unfinished, too long, or a start the game cannot use
    OtherVersion, // recorded by another version of the game: not played
    OverBudget,   // the playback took more CPU time than a recording may
    Unavailable,  // this server plays no recordings (no game data), or it is stopping
};

struct TVerdict
{
    EVerdict FOutcome = EVerdict::Unavailable;
    std::string FReason;      // short, in words for the player; "" when verified
    std::int32_t FFrames = 0; // frames played
    double FCpuSeconds = 0;   // the thread CPU time the playback took
};

// The checks that need no playing: the bytes read as a finished run of this version within the
// frame limit. A verdict when they fail, none when the recording may be played.
std::optional<TVerdict> CheckRecording(const std::string& Bytes, const TVerifierOptions& Options,
                                       TReplay* Replay = nullptr);

// Reads and plays the recording on a fresh game of its own (the null render device, silent audio,
// no text rasteriser, a manual clock; its player files in Folder, which it never writes), on the
// calling thread, within the options' CPU time.
TVerdict PlayRecording(const std::string& Bytes, const TExpectedRun& Expected,
                       const TVerifierOptions& Options, const std::string& Folder);

// A bounded queue of recordings and the threads that play them. Every member may be called from
// any thread.
class TReplayVerifier
{
public:
    using TDone = std::function<void(const TVerdict&)>;

    explicit TReplayVerifier(TVerifierOptions Options);
    ~TReplayVerifier();
    TReplayVerifier(const TReplayVerifier&) = delete;
    TReplayVerifier& operator=(const TReplayVerifier&) = delete;

    const TVerifierOptions& Options() const { return FOptions; }
    // Queues a recording; Done gets its verdict on a worker thread. False (Done dropped uncalled)
    // when the queue is full or the verifier stopped.
    bool Enqueue(std::string Bytes, TExpectedRun Expected, TDone Done);
    // Whole seconds (at least 1) a refused upload should wait before it comes again.
    int RetryAfter() const;
    // Recordings waiting and playing now.
    int Pending() const;
    // Takes no more; recordings still waiting get Unavailable, those playing end; the threads are
    // joined. Harmless when called twice.
    void Stop();

private:
    struct TJob
    {
        std::string Bytes;
        TExpectedRun Expected;
        TDone Done;
    };
    void Work();

    TVerifierOptions FOptions;
    std::string FFolder; // the games' player files: an empty folder of this verifier's own
    mutable std::mutex FMutex;
    std::condition_variable FWake;
    std::deque<TJob> FJobs;
    int FPlaying = 0;
    bool FStopping = false;
    double FSecondsPerJob = 5; // the last playbacks' wall time, for RetryAfter
    std::vector<std::thread> FThreads;
};

} // namespace vm::scored
