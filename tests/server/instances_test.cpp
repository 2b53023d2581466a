// Two real velomarch-scored programs sharing one PostgreSQL database: each redeems the other's tokens,
// a load spread over both stores every pair exactly once, and killing one mid-load loses no row it
// acknowledged.
#include "program_support.h"
#include "server_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace {

using namespace vm::scored;
using namespace vm::scored::test;

// A server program on a free port of the shared database, with the per-address limits off (the whole
// load comes from 127.0.0.1).
struct TInstance
{
    TInstance(const std::string& Database, const vm::test::TTempDir& Folder, const std::string& Name)
        : Program({"--listen", "127.0.0.1:0", "--db", Database, "--tokens-per-minute", "0",
                   "--pending-tokens", "0", "--submissions-per-minute", "0", "--access-log", "off"},
                  Folder.File(Name + ".err")),
          Port(ListeningPort(Program.FirstLine()))
    {}

    std::unique_ptr<httplib::Client> Client() const
    {
        auto Made = std::make_unique<httplib::Client>("127.0.0.1", Port);
        Made->set_connection_timeout(2);
        Made->set_read_timeout(5);
        return Made;
    }

    TProgram Program;
    int Port;
};

std::string Token(httplib::Client& Client)
{
    const auto Reply = Client.Get("/cgi/version.pl?version&prg=Velomarch");
    return Reply && Reply->status == 200 ? TokenOf(Reply->body) : std::string();
}

// Submits a score with the token; the reply's body, or "" when none came.
std::string Submit(httplib::Client& Client, const std::string& Name, const std::string& Token)
{
    const auto Reply =
        Client.Get(("/cgi/version.pl?hs&prg=Velomarch&inf=" + ScoreInf(Name, "100", Token, "")).c_str());
    return Reply ? Reply->body : std::string();
}

std::set<std::string> StoredNames(const std::string& Database)
{
    std::set<std::string> Names;
    for (const TScoreRow& Row : OpenStore(Database)->Top(1000000))
        Names.insert(Row.FName);
    return Names;
}

TEST(PostgresInstances, EachRedeemsTheOthersTokensOnceAndALoadOverBothStoresEveryPair)
{
    vm::test::TTempDir Folder;
    const std::string Database = FreshStoreLocation(EStoreKind::Postgres, Folder);
    TInstance A(Database, Folder, "a"), B(Database, Folder, "b");
    ASSERT_GT(A.Port, 0);
    ASSERT_GT(B.Port, 0);

    const std::string FromA = Token(*A.Client());
    EXPECT_EQ(Submit(*B.Client(), "ByB", FromA), "OK");
    EXPECT_EQ(Submit(*A.Client(), "AgainByA", FromA), "ERR unknown token");

    // Four clients, each asking one server for the token and the other for the submission.
    constexpr int Clients = 4, Pairs = 150;
    std::atomic<int> Stored{0};
    std::vector<std::thread> Threads;
    for (int C = 0; C < Clients; ++C)
        Threads.emplace_back([&, C] {
            auto First = (C % 2 == 0 ? A : B).Client(), Second = (C % 2 == 0 ? B : A).Client();
            for (int I = 0; I < Pairs; ++I)
                Stored +=
                    Submit(*Second, "P" + std::to_string(C) + "-" + std::to_string(I), Token(*First)) == "OK";
        });
    for (auto& Thread : Threads)
        Thread.join();
    EXPECT_EQ(Stored, Clients * Pairs);
    EXPECT_EQ(OpenStore(Database)->Count(), Clients * Pairs + 1);
    EXPECT_EQ(OpenStore(Database)->TokenCount(), 0);
}

TEST(PostgresInstances, KillingOneServerMidLoadLosesNoAcknowledgedRow)
{
    vm::test::TTempDir Folder;
    const std::string Database = FreshStoreLocation(EStoreKind::Postgres, Folder);
    TInstance A(Database, Folder, "a"), B(Database, Folder, "b");
    ASSERT_GT(A.Port, 0);
    ASSERT_GT(B.Port, 0);

    // Clients alternate between the servers; B is killed while they run. A pair counts as acknowledged
    // only when its "OK" arrived.
    constexpr int Clients = 4, Pairs = 200;
    std::mutex Lock;
    std::set<std::string> Acknowledged;
    std::atomic<int> Sent{0};
    std::vector<std::thread> Threads;
    for (int C = 0; C < Clients; ++C)
        Threads.emplace_back([&, C] {
            auto OnA = A.Client(), OnB = B.Client();
            for (int I = 0; I < Pairs; ++I)
            {
                httplib::Client& Server = (I + C) % 2 == 0 ? *OnA : *OnB;
                const std::string Name = "K" + std::to_string(C) + "-" + std::to_string(I);
                ++Sent;
                if (Submit(Server, Name, Token(Server)) == "OK")
                {
                    const std::lock_guard Guard(Lock);
                    Acknowledged.insert(Name);
                }
            }
        });
    while (Sent < Clients * Pairs / 3)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    B.Program.Signal(SIGKILL);
    for (auto& Thread : Threads)
        Thread.join();
    EXPECT_EQ(B.Program.Wait(), -1); // killed, not stopped

    const std::set<std::string> Stored = StoredNames(Database);
    for (const std::string& Name : Acknowledged)
        EXPECT_TRUE(Stored.contains(Name)) << Name << " was acknowledged but is not stored";
    // The kill came mid-load (pairs sent to B afterwards failed), every pair sent to A still went
    // through, and nothing was stored twice.
    EXPECT_LT(Acknowledged.size(), static_cast<std::size_t>(Clients * Pairs));
    EXPECT_GE(Acknowledged.size(), static_cast<std::size_t>(Clients * Pairs / 2));
    EXPECT_LE(Stored.size(), static_cast<std::size_t>(Clients * Pairs));
    EXPECT_EQ(OpenStore(Database)->Count(), static_cast<std::int64_t>(Stored.size()));
}

} // namespace
