// The store in one SQLite file: WAL mode, one connection behind a mutex, prepared statements only.
#pragma once

#include "score_store.h"

#include <sys/types.h>

#include <mutex>

struct sqlite3;
struct sqlite3_stmt;

namespace vm::scored {

// Every member may be called from any thread, one at a time reaching SQLite. An existing file is
// never replaced or emptied; a file of an older schema is migrated, one of a newer schema refused.
// Several stores on one file (several programs) share tokens and limits through it.
class TSqliteStore final : public TScoreStore
{
public:
    // The schema version this server writes (PRAGMA user_version); 0 is the first, tokenless shape.
    static constexpr int SchemaVersion = 2;

    // Opens or creates the file and checks that it can be written; throws TStoreError otherwise.
    explicit TSqliteStore(const std::string& Path, const TStoreOptions& Options = {});
    ~TSqliteStore() override;
    TSqliteStore(const TSqliteStore&) = delete;
    TSqliteStore& operator=(const TSqliteStore&) = delete;

    TIssueResult IssueToken(const std::string& Client) override;
    TSubmitResult Submit(const std::string& Token, const TScoreRow& Row) override;
    void Add(const TScoreRow& Row) override;
    std::vector<TScoreRow> Top(int Limit, ERows Which = ERows::All) const override;
    TClaimResult ClaimRun(const std::string& Token) override;
    void SetCheck(std::int64_t Id, ECheck Check, const std::string& Reason) override;
    std::int64_t Count() const override;
    std::int64_t TokenCount() const override;
    bool Ping() const override;

private:
    struct TBuckets
    {
        double FTokenLevel, FTokenAt, FSubmitLevel, FSubmitAt;
    };

    void Open();
    void Migrate();
    void Close();
    double StoreTime() const;
    TBuckets ReadBuckets(const std::string& Client, double Now);
    void WriteBuckets(const std::string& Client, const TBuckets& Buckets);
    void SweepNowAndThen(double Now);
    // Stores one row with the token it was redeemed with ("" for none); the caller holds FMutex.
    void InsertRow(const TScoreRow& Row, const std::string& Token);
    void Step(sqlite3_stmt* Statement, const char* What);
    void Execute(const char* Sql);
    [[noreturn]] void Fail(const std::string& What) const;

    std::string FPath;
    TStoreOptions FOptions;
    mutable std::mutex FMutex;
    sqlite3* FDatabase = nullptr;
    dev_t FDevice = 0; // the file opened, to tell when it was removed or replaced
    ino_t FInode = 0;
    double FLastSweep = 0;
    sqlite3_stmt* FBegin = nullptr;
    sqlite3_stmt* FCommit = nullptr;
    sqlite3_stmt* FRollback = nullptr;
    sqlite3_stmt* FInsert = nullptr;
    sqlite3_stmt* FTop = nullptr;
    sqlite3_stmt* FTopVerified = nullptr;
    sqlite3_stmt* FFindRun = nullptr;
    sqlite3_stmt* FSetCheck = nullptr;
    sqlite3_stmt* FCount = nullptr;
    sqlite3_stmt* FTokenCount = nullptr;
    sqlite3_stmt* FPending = nullptr;
    sqlite3_stmt* FInsertToken = nullptr;
    sqlite3_stmt* FTakeToken = nullptr;
    sqlite3_stmt* FGetClient = nullptr;
    sqlite3_stmt* FPutClient = nullptr;
    sqlite3_stmt* FSweepTokens = nullptr;
    sqlite3_stmt* FSweepClients = nullptr;
    sqlite3_stmt* FPing = nullptr;
};

} // namespace vm::scored
