// Fresh stores for the server tests: files in a test's folder, schemas on the test cluster.
#include "store_test_support.h"

#include <atomic>
#include <cstdlib>
#include <stdexcept>
#include <unistd.h>

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
    throw std::runtime_error("PostgreSQL tests are not built yet");
}

} // namespace vm::scored::test
