// The real velomarch-scored program as a subprocess: start on a free port, serve, stop on SIGTERM
// with the scores kept, and refuse to start on a taken port or an unusable database.
#include "program_support.h"
#include "server_test_support.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <regex>

namespace {

using namespace vm::scored;
using namespace vm::scored::test;

// Every test runs against each store.
class ScoredProgram : public testing::TestWithParam<EStoreKind>
{};

TEST_P(ScoredProgram, ServesOnAFreePortAndKeepsTheScoresAfterSigterm)
{
    vm::test::TTempDir Folder;
    const std::string Database = FreshStoreLocation(GetParam(), Folder);
    TProgram Program({"--listen", "127.0.0.1:0", "--db", Database}, Folder.File("err.txt"));
    const std::string Line = Program.FirstLine();
    std::smatch Match;
    ASSERT_TRUE(
        std::regex_match(Line, Match, std::regex("velomarch-scored listening on 127\\.0\\.0\\.1:(\\d+)")))
        << Line << ReadFile(Folder.File("err.txt"));
    const int Port = std::stoi(Match[1]);
    ASSERT_GT(Port, 0);

    httplib::Client Client("127.0.0.1", Port);
    const auto Version = Client.Get("/cgi/version.pl?version&prg=Velomarch");
    ASSERT_TRUE(Version);
    const std::string Inf = ScoreInf("Fay", "4242", TokenOf(Version->body), "fay");
    const auto Sent = Client.Get(("/cgi/version.pl?hs&prg=Velomarch&inf=" + Inf).c_str());
    ASSERT_TRUE(Sent);
    EXPECT_EQ(Sent->body, "OK");

    Program.Signal(SIGTERM);
    EXPECT_EQ(Program.Wait(), 0) << ReadFile(Folder.File("err.txt"));
    // Closed cleanly: the WAL was folded back into the file and the row is there.
    if (GetParam() == EStoreKind::Sqlite)
    {
        EXPECT_FALSE(std::filesystem::exists(Database + "-wal"));
    }
    const auto Store = OpenStore(Database);
    ASSERT_EQ(Store->Count(), 1);
    EXPECT_EQ(Store->Top(1)[0].FName, "Fay");
    EXPECT_EQ(Store->Top(1)[0].FScore, 4242);
}

TEST_P(ScoredProgram, StopsOnSigintToo)
{
    vm::test::TTempDir Folder;
    TProgram Program({"--listen", "127.0.0.1:0", "--db", FreshStoreLocation(GetParam(), Folder, "s.db")},
                     Folder.File("err.txt"));
    ASSERT_FALSE(Program.FirstLine().empty());
    Program.Signal(SIGINT);
    EXPECT_EQ(Program.Wait(), 0);
}

TEST_P(ScoredProgram, RefusesATakenPort)
{
    TRunningServer Taken(GetParam());
    ASSERT_GT(Taken.Port, 0);
    vm::test::TTempDir Folder;
    TProgram Program({"--listen", "127.0.0.1:" + std::to_string(Taken.Port), "--db",
                      FreshStoreLocation(GetParam(), Folder, "s.db")},
                     Folder.File("err.txt"));
    EXPECT_EQ(Program.Wait(), 1);
    const std::string Error = ReadFile(Folder.File("err.txt"));
    EXPECT_NE(Error.find("cannot listen on 127.0.0.1:" + std::to_string(Taken.Port)), std::string::npos)
        << Error;
    EXPECT_EQ(std::count(Error.begin(), Error.end(), '\n'), 1) << Error;
    EXPECT_EQ(Taken.Get("version&prg=Velomarch").first, 200); // the first server is unharmed
}

TEST_P(ScoredProgram, RefusesAnUnusableDatabaseAndLeavesForeignFilesAlone)
{
    vm::test::TTempDir Folder;
    if (GetParam() == EStoreKind::Postgres)
    {
        // No cluster at that socket folder, and no such database on the real one: one line each,
        // naming the location without its password.
        const std::string Reachable = FreshStoreLocation(GetParam(), Folder);
        const std::string Query = Reachable.substr(Reachable.find('?'));
        for (const std::string& Database : {std::string("postgresql://ann:s3cret@/scores?host=") +
                                                Folder.File("none") + "&connect_timeout=2",
                                            "postgresql://ann:s3cret@/no_such_database" + Query})
        {
            TProgram Program({"--listen", "127.0.0.1:0", "--db", Database}, Folder.File("err.txt"));
            EXPECT_EQ(Program.Wait(), 1) << Database;
            const std::string Error = ReadFile(Folder.File("err.txt"));
            EXPECT_TRUE(Error.starts_with("velomarch-scored: cannot use database postgresql://ann:***@/"))
                << Error;
            EXPECT_EQ(Error.find("s3cret"), std::string::npos) << Error;
            EXPECT_EQ(std::count(Error.begin(), Error.end(), '\n'), 1) << Error;
        }
        return;
    }
    std::ofstream(Folder.File("notes.txt")) << "my notes\n";
    const std::string Garbage(4096, 'x');
    std::ofstream(Folder.File("garbage.db"), std::ios::binary) << Garbage;
    std::filesystem::create_directory(Folder.File("folder.db"));

    for (const std::string& Database :
         {Folder.File("notes.txt") + "/scores.db", Folder.File("missing/scores.db"), Folder.File("folder.db"),
          Folder.File("garbage.db")})
    {
        TProgram Program({"--listen", "127.0.0.1:0", "--db", Database}, Folder.File("err.txt"));
        EXPECT_EQ(Program.Wait(), 1) << Database;
        const std::string Error = ReadFile(Folder.File("err.txt"));
        EXPECT_TRUE(Error.starts_with("velomarch-scored: cannot ")) << Error;
        EXPECT_NE(Error.find(Database), std::string::npos) << Error;
    }
    EXPECT_EQ(ReadFile(Folder.File("garbage.db")), Garbage);
    EXPECT_EQ(ReadFile(Folder.File("notes.txt")), "my notes\n");
    EXPECT_FALSE(std::filesystem::exists(Folder.File("missing")));
}

TEST_P(ScoredProgram, BadArgumentsExitWithTwo)
{
    vm::test::TTempDir Folder;
    for (const std::vector<std::string>& Args :
         std::vector<std::vector<std::string>>{{"--listen", "nowhere"},
                                               {"--listen", "127.0.0.1:70000"},
                                               {"--listen", "127.0.0.1:-1"},
                                               {"--db"},
                                               {"--motd", "a|b"},
                                               {"--tokens-per-minute", "-1"},
                                               {"--token-burst", "0"},
                                               {"--pending-tokens", "many"},
                                               {"--submissions-per-minute", "x"},
                                               {"--frobnicate"}})
    {
        TProgram Program(Args, Folder.File("err.txt"));
        EXPECT_EQ(Program.Wait(), 2) << Args[0];
    }
}

INSTANTIATE_TEST_SUITE_P(Sqlite, ScoredProgram, testing::Values(EStoreKind::Sqlite), StoreKindName);
INSTANTIATE_TEST_SUITE_P(Postgres, ScoredProgram, testing::Values(EStoreKind::Postgres), StoreKindName);

// The access log goes to stderr, one line a request without its query; "--access-log off" silences it.
TEST(ScoredProgramOptions, AccessLogGoesToStderrUnlessOff)
{
    vm::test::TTempDir Folder;
    for (const bool Logging : {true, false})
    {
        std::vector<std::string> Args = {"--listen",
                                         "127.0.0.1:0",
                                         "--db",
                                         Folder.File("s.db"),
                                         "--threads",
                                         "2",
                                         "--max-per-address",
                                         "5",
                                         "--trusted-proxy",
                                         "10.0.0.1",
                                         "--trusted-proxy",
                                         "::1"};
        if (!Logging)
            Args.insert(Args.end(), {"--access-log", "off"});
        TProgram Program(Args, Folder.File("err.txt"));
        std::smatch Match;
        const std::string Line = Program.FirstLine();
        ASSERT_TRUE(std::regex_match(Line, Match, std::regex("velomarch-scored listening on .*:(\\d+)")))
            << Line;
        httplib::Client Client("127.0.0.1", std::stoi(Match[1]));
        const auto Version = Client.Get("/cgi/version.pl?version&prg=Velomarch");
        ASSERT_TRUE(Version);
        EXPECT_EQ(Version->status, 200);
        Program.Signal(SIGTERM);
        ASSERT_EQ(Program.Wait(), 0);
        const std::string Error = ReadFile(Folder.File("err.txt"));
        if (Logging)
            EXPECT_TRUE(
                std::regex_match(Error, std::regex("time=\\S+ client=127\\.0\\.0\\.1 method=GET "
                                                   "path=/cgi/version\\.pl status=200 ms=\\S+ bytes=\\d+\n")))
                << Error;
        else
            EXPECT_EQ(Error, "");
    }
}

TEST(ScoredProgramOptions, BadFrontOptionsExitWithTwo)
{
    vm::test::TTempDir Folder;
    for (const std::vector<std::string>& Args :
         std::vector<std::vector<std::string>>{{"--threads", "0"},
                                               {"--threads", "many"},
                                               {"--max-connections", "0"},
                                               {"--max-per-address", "-3"},
                                               {"--trusted-proxy", "proxy.example"},
                                               {"--trusted-proxy", "10.0.0.1/8"},
                                               {"--access-log", "maybe"}})
    {
        TProgram Program(Args, Folder.File("err.txt"));
        EXPECT_EQ(Program.Wait(), 2) << Args[0] << " " << Args[1];
        EXPECT_NE(ReadFile(Folder.File("err.txt")).find(Args[0]), std::string::npos) << Args[0];
    }
}

} // namespace
