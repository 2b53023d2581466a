// Load on the score server over loopback: version-plus-submission pairs from several client threads,
// as many games ending their runs at once. Reports request rate, submission latency and the row count.
#include "raw_http.h"
#include "score_server.h"
#include "sqlite_store.h"

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace vm::scored;
using vm::bench::ScoreInf;
using vm::bench::TokenOf;
using TClock = std::chrono::steady_clock;

constexpr int Pairs = 10000;
constexpr int ClientThreads = 4;

void BM_ScoredLoad(benchmark::State& State)
{
    char Pattern[] = "/tmp/velomarch-scored-bench-XXXXXX";
    const char* Folder = mkdtemp(Pattern);
    if (Folder == nullptr)
    {
        State.SkipWithError("cannot make a temporary folder");
        return;
    }
    const std::filesystem::path Database = std::filesystem::path(Folder) / "scores.db";

    for (auto _ : State)
    {
        std::vector<double> SubmitMs;
        std::int64_t Rows = 0;
        int Failures = 0;
        double Seconds = 0;
        {
            // Every request comes from one address: its limits are off.
            TStoreOptions Unlimited;
            Unlimited.FLimits.FTokensPerMinute = 0;
            Unlimited.FLimits.FPendingTokens = 0;
            Unlimited.FLimits.FSubmissionsPerMinute = 0;
            TSqliteStore Store(Database.string(), Unlimited);
            TScoreServer Server(Store);
            const int Port = Server.Bind("127.0.0.1", 0);
            if (Port <= 0)
            {
                State.SkipWithError("cannot bind a loopback port");
                break;
            }
            std::thread Serving([&Server] { Server.Run(); });

            std::vector<std::vector<double>> Latencies(ClientThreads);
            std::atomic<int> Failed{0};
            const auto Start = TClock::now();
            std::vector<std::thread> Clients;
            for (int T = 0; T < ClientThreads; ++T)
                Clients.emplace_back([&, T] {
                    // A fresh connection a request, as the game makes.
                    httplib::Client Client("127.0.0.1", Port);
                    for (int I = T; I < Pairs; I += ClientThreads)
                    {
                        const auto Version = Client.Get("/cgi/version.pl?version&prg=Velomarch");
                        if (!Version || Version->status != 200)
                        {
                            ++Failed;
                            continue;
                        }
                        const std::string Path =
                            "/cgi/version.pl?hs&prg=Velomarch&inf=" +
                            ScoreInf("Bench" + std::to_string(I % 1000), I, TokenOf(Version->body), "bench");
                        const auto Sent0 = TClock::now();
                        const auto Sent = Client.Get(Path.c_str());
                        Latencies[static_cast<std::size_t>(T)].push_back(
                            std::chrono::duration<double, std::milli>(TClock::now() - Sent0).count());
                        if (!Sent || Sent->status != 200)
                            ++Failed;
                    }
                });
            for (auto& Client : Clients)
                Client.join();
            Seconds = std::chrono::duration<double>(TClock::now() - Start).count();
            Server.Stop();
            Serving.join();
            Rows = Store.Count();
            Failures = Failed;
            for (const auto& Share : Latencies)
                SubmitMs.insert(SubmitMs.end(), Share.begin(), Share.end());
        }
        std::sort(SubmitMs.begin(), SubmitMs.end());
        const double P99 = SubmitMs.empty() ? 0 : SubmitMs[SubmitMs.size() * 99 / 100];
        State.SetIterationTime(Seconds);
        State.counters["requests_per_s"] = 2.0 * Pairs / Seconds;
        State.counters["submissions_per_s"] = Pairs / Seconds;
        State.counters["submit_p50_ms"] = SubmitMs.empty() ? 0 : SubmitMs[SubmitMs.size() / 2];
        State.counters["submit_p99_ms"] = P99;
        State.counters["rows"] = static_cast<double>(Rows);
        State.counters["failed_requests"] = Failures;
        if (Rows != Pairs)
            State.SkipWithError(
                ("expected " + std::to_string(Pairs) + " rows, found " + std::to_string(Rows)).c_str());
        std::filesystem::remove(Database);
    }
    std::filesystem::remove_all(Folder);
}

BENCHMARK(BM_ScoredLoad)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
