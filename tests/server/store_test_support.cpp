// Fresh stores for the server tests: files in a test's folder, schemas on the test cluster.
#include "store_test_support.h"

#include <libpq-fe.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace vm::scored::test {

std::string StoreKindName(const testing::TestParamInfo<EStoreKind>& Info)
{
    return Info.param == EStoreKind::Sqlite ? "Sqlite" : "Postgres";
}

TStoreLimits NoLimits()
{
    TStoreLimits Limits;
    Limits.FTokensPerMinute = 0;
    Limits.FPendingTokens = 0;
    Limits.FSubmissionsPerMinute = 0;
    return Limits;
}

std::string FreshStoreLocation(EStoreKind Kind, const vm::test::TTempDir& Folder, const std::string& Name)
{
    if (Kind == EStoreKind::Sqlite)
        return Folder.File(Name);
    const char* Base = std::getenv("VM_TEST_POSTGRES_URI");
    if (Base == nullptr || *Base == '\0')
        throw std::runtime_error(
            "VM_TEST_POSTGRES_URI is not set: the PostgreSQL tests need a cluster. Run them through ctest "
            "(it starts one), or start one with tests/server/pg_cluster.sh start DIR and set "
            "VM_TEST_POSTGRES_URI to the URI it prints");
    // A schema of the test's own, first on the search path of every connection to the location.
    static std::atomic<int> Made{0};
    const std::string Schema = "t" + std::to_string(getpid()) + "_" + std::to_string(Made++);
    const std::unique_ptr<PGconn, decltype(&PQfinish)> Connection(PQconnectdb(Base), &PQfinish);
    if (PQstatus(Connection.get()) != CONNECTION_OK)
        throw std::runtime_error(std::string("cannot reach the test cluster: ") +
                                 PQerrorMessage(Connection.get()));
    PQsetNoticeProcessor(
        Connection.get(), [](void*, const char*) {}, nullptr);
    const std::string Sql = "DROP SCHEMA IF EXISTS " + Schema + " CASCADE; CREATE SCHEMA " + Schema;
    const std::unique_ptr<PGresult, decltype(&PQclear)> Result(PQexec(Connection.get(), Sql.c_str()),
                                                               &PQclear);
    if (PQresultStatus(Result.get()) != PGRES_COMMAND_OK)
        throw std::runtime_error(std::string("cannot make a schema: ") + PQerrorMessage(Connection.get()));
    const std::string Uri = Base;
    return Uri + (Uri.find('?') == std::string::npos ? "?" : "&") + "options=-csearch_path%3D" + Schema;
}

} // namespace vm::scored::test
