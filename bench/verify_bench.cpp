// The score server playing uploaded run recordings: CPU time per minute of play over 100 whole
// runs, and the latency of other requests while the recordings' queue is busy.
#include "common/line_codec.h"
#include "headless_runner.h"
#include "persist/replay_reader.h"
#include "persist/replay_writer.h"
#include "replay_verifier.h"
#include "score_server.h"
#include "sqlite_store.h"

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace vm::scored;
using TClock = std::chrono::steady_clock;

constexpr int Replays = 100;
constexpr int Uploads = 8;
const char* const PlayerName = "Bench";

std::string ReadBytes(const std::string& Path)
{
    std::ifstream In(Path, std::ios::binary);
    std::ostringstream Bytes;
    Bytes << In.rdbuf();
    return Bytes.str();
}

// A whole autopilot run of car 0 with Seed, recorded by the headless game and written again with
// a player's name (a stored score needs one); empty when it did not end.
struct TRun
{
    std::string Bytes;
    vm::TReplay Replay;
};

TRun RecordRun(std::uint64_t Seed, const std::string& Folder)
{
    vm::THeadlessOptions Options;
    Options.Seed = Seed;
    Options.Frames = 60000;
    Options.Autopilot = true;
    Options.RaceCar = 0;
    Options.NullRenderer = true;
    Options.DataDir = VM_ASSET_DIR;
    Options.WorkDir = Folder;
    Options.RecordFile = Folder + "/run.vmreplay";
    TRun Run;
    std::string Error;
    if (vm::RunHeadless(Options) != 0 || !vm::ReadReplay(ReadBytes(Options.RecordFile), Run.Replay, Error) ||
        !Run.Replay.Finished)
        return {};
    Run.Replay.Header.PlayerName = PlayerName;
    Run.Replay.End.PlayerName = PlayerName;
    vm::TReplayWriter Writer;
    const std::string Named = Folder + "/named.vmreplay";
    if (!Writer.Open(Named, Run.Replay.Header, Error))
        return {};
    for (const vm::TReplayEvent& Event : Run.Replay.Events)
        Writer.Add(Event, Event.Kind == vm::TReplayEventKind::Text
                              ? Run.Replay.Texts[static_cast<std::size_t>(Event.A)]
                              : std::string());
    if (!Writer.Finish(&Run.Replay.End, Error))
        return {};
    Run.Bytes = ReadBytes(Named);
    return Run;
}

const std::vector<TRun>& Runs()
{
    static const std::vector<TRun> Made = [] {
        std::vector<TRun> Made;
        char Pattern[] = "/tmp/velomarch-verify-bench-XXXXXX";
        if (mkdtemp(Pattern) == nullptr)
            return Made;
        for (std::uint64_t Seed : {1, 2, 3})
            if (TRun Run = RecordRun(Seed, Pattern); !Run.Bytes.empty())
                Made.push_back(std::move(Run));
        std::filesystem::remove_all(Pattern);
        return Made;
    }();
    return Made;
}

double Percentile(std::vector<double> Values, int Percent)
{
    if (Values.empty())
        return 0;
    std::sort(Values.begin(), Values.end());
    return Values[Values.size() * static_cast<std::size_t>(Percent) / 100];
}

// 100 whole runs played one after another on this thread, as one verifier thread plays them.
void BM_PlayRecordings(benchmark::State& State)
{
    if (Runs().empty())
    {
        State.SkipWithError("the headless game made no whole recording");
        return;
    }
    TVerifierOptions Options;
    Options.FDataDir = VM_ASSET_DIR;
    Options.FCpuSeconds = 600;
    char Pattern[] = "/tmp/velomarch-verify-bench-XXXXXX";
    const std::string Folder = mkdtemp(Pattern) != nullptr ? Pattern : "/tmp";
    for (auto _ : State)
    {
        double Cpu = 0, Worst = 0;
        long long Frames = 0;
        int Failed = 0;
        for (int I = 0; I < Replays; ++I)
        {
            const TRun& Run = Runs()[static_cast<std::size_t>(I) % Runs().size()];
            const TVerdict Verdict =
                PlayRecording(Run.Bytes, {Run.Replay.End.Score, PlayerName}, Options, Folder);
            Failed += Verdict.FOutcome != EVerdict::Verified;
            Cpu += Verdict.FCpuSeconds;
            Worst = std::max(Worst, Verdict.FCpuSeconds);
            Frames += Verdict.FFrames;
        }
        const double PlayMinutes = static_cast<double>(Frames) / 90.0 / 60.0;
        State.counters["replays"] = Replays;
        State.counters["play_minutes"] = PlayMinutes;
        State.counters["cpu_s_per_replay"] = Cpu / Replays;
        State.counters["cpu_s_worst_replay"] = Worst;
        State.counters["cpu_s_per_play_minute"] = Cpu / PlayMinutes;
        State.counters["not_verified"] = Failed;
        if (Failed != 0)
            State.SkipWithError("a recording did not verify");
    }
    std::filesystem::remove_all(Folder);
}

// The version request's latency on a quiet server, then while 8 uploads wait for one verifier
// thread; every upload is answered (verified or busy).
void BM_LatencyWhileVerifying(benchmark::State& State)
{
    if (Runs().empty())
    {
        State.SkipWithError("the headless game made no whole recording");
        return;
    }
    char Pattern[] = "/tmp/velomarch-verify-bench-XXXXXX";
    if (mkdtemp(Pattern) == nullptr)
    {
        State.SkipWithError("cannot make a temporary folder");
        return;
    }
    const std::string Folder = Pattern;
    for (auto _ : State)
    {
        TStoreOptions Unlimited;
        Unlimited.FLimits.FTokensPerMinute = 0;
        Unlimited.FLimits.FPendingTokens = 0;
        Unlimited.FLimits.FSubmissionsPerMinute = 0;
        TSqliteStore Store(Folder + "/scores.db", Unlimited);
        TScoreServerOptions ServerOptions = DefaultServerOptions();
        ServerOptions.FVerifier.FDataDir = VM_ASSET_DIR;
        ServerOptions.FVerifier.FThreads = 1;
        ServerOptions.FVerifier.FQueue = Uploads;
        TScoreServer Server(Store, ServerOptions);
        const int Port = Server.Bind("127.0.0.1", 0);
        if (Port <= 0)
        {
            State.SkipWithError("cannot bind a loopback port");
            break;
        }
        std::thread Serving([&Server] { Server.Run(); });
        // Times version requests, one every 20 ms, until told to stop.
        auto Probe = [Port](const std::atomic<bool>& Stop, int Most) {
            std::vector<double> Ms;
            httplib::Client Client("127.0.0.1", Port);
            while (!Stop && static_cast<int>(Ms.size()) < Most)
            {
                const auto Sent = TClock::now();
                const auto Reply = Client.Get("/cgi/version.pl?version&prg=Velomarch");
                if (Reply && Reply->status == 200)
                    Ms.push_back(std::chrono::duration<double, std::milli>(TClock::now() - Sent).count());
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            return Ms;
        };
        const std::atomic<bool> Never{false};
        const std::vector<double> Quiet = Probe(Never, 50);

        // Each upload's score is submitted first, as the game does.
        std::vector<std::string> Tokens;
        httplib::Client Submitter("127.0.0.1", Port);
        for (int I = 0; I < Uploads; ++I)
        {
            const auto Version = Submitter.Get("/cgi/version.pl?version&prg=Velomarch");
            std::string Token = Version ? Version->body : std::string();
            for (int Field = 0; Field < 4 && Token.find('|') != std::string::npos; ++Field)
                Token.erase(0, Token.find('|') + 1);
            Token = Token.substr(0, Token.find('|'));
            const TRun& Run = Runs()[static_cast<std::size_t>(I) % Runs().size()];
            const std::string Text = "type=0|name=" + std::string(PlayerName) +
                                     "|score=" + std::to_string(Run.Replay.End.Score) + "|key=V|p=" + Token +
                                     "|add=|z=";
            std::string Padded = Text + std::string((5 - Text.size() % 5) % 5, '0');
            Submitter.Get(("/cgi/version.pl?hs&prg=Velomarch&inf=" + vm::EncodeLine(Padded)).c_str());
            Tokens.push_back(Token);
        }
        std::atomic<bool> Done{false};
        std::atomic<int> Verified{0}, Busy{0}, Other{0};
        const auto Start = TClock::now();
        std::vector<std::thread> Uploaders;
        for (int I = 0; I < Uploads; ++I)
            Uploaders.emplace_back([&, I] {
                httplib::Client Client("127.0.0.1", Port);
                Client.set_read_timeout(600);
                const TRun& Run = Runs()[static_cast<std::size_t>(I) % Runs().size()];
                const auto Reply = Client.Post(
                    ("/cgi/replay?prg=Velomarch&token=" + Tokens[static_cast<std::size_t>(I)]).c_str(),
                    Run.Bytes, "application/octet-stream");
                if (Reply && Reply->body == "OK verified")
                    ++Verified;
                else if (Reply && Reply->status == 503)
                    ++Busy;
                else
                    ++Other;
            });
        std::vector<double> Loaded;
        std::thread Prober([&] { Loaded = Probe(Done, 1 << 20); });
        for (std::thread& Uploader : Uploaders)
            Uploader.join();
        const double Seconds = std::chrono::duration<double>(TClock::now() - Start).count();
        Done = true;
        Prober.join();
        Server.Stop();
        Serving.join();
        State.SetIterationTime(Seconds);
        State.counters["quiet_p50_ms"] = Percentile(Quiet, 50);
        State.counters["quiet_p99_ms"] = Percentile(Quiet, 99);
        State.counters["busy_p50_ms"] = Percentile(Loaded, 50);
        State.counters["busy_p99_ms"] = Percentile(Loaded, 99);
        State.counters["busy_requests"] = static_cast<double>(Loaded.size());
        State.counters["uploads_verified"] = Verified.load();
        State.counters["uploads_busy"] = Busy.load();
        State.counters["uploads_failed"] = Other.load();
        if (Other != 0)
            State.SkipWithError("an upload was neither verified nor told to wait");
    }
    std::filesystem::remove_all(Folder);
}

BENCHMARK(BM_PlayRecordings)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_LatencyWhileVerifying)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
