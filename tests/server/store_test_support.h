// Fresh stores for the server tests: an SQLite file, or a schema of its own on the test PostgreSQL.
#pragma once

#include "score_store.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace vm::scored::test {

enum class EStoreKind
{
    Sqlite,
    Postgres,
};

// The name a parameterised test shows for its store.
std::string StoreKindName(const testing::TestParamInfo<EStoreKind>& Info);

// Limits that never refuse: the tests of other things send as fast as they like.
TStoreLimits NoLimits();

// The location of a fresh, empty store of Kind: the file Name in Folder, or a new schema on the
// PostgreSQL cluster named by VM_TEST_POSTGRES_URI. Throws, saying how to run the tests, when a
// PostgreSQL test runs without that variable.
std::string FreshStoreLocation(EStoreKind Kind, const vm::test::TTempDir& Folder,
                               const std::string& Name = "scores.db");

} // namespace vm::scored::test
