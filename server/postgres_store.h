// The store in PostgreSQL: a small pool of connections, prepared statements, one call per request.
#pragma once

#include "score_store.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

struct pg_conn;

namespace vm::scored {

// Every member may be called from any thread; as many run at once as the pool has connections, the
// others wait for one. A connection that broke is opened again on its next use. Several servers may
// share the database: the schema is created and migrated under an advisory lock, every decision on
// tokens and limits is taken inside the database by its clock, and a submission is one transaction.
class TPostgresStore final : public TScoreStore
{
public:
    // The schema version this server writes (table schema_version).
    static constexpr int SchemaVersion = 2;

    // Connects to Uri, creates or migrates the schema; throws TStoreError otherwise.
    TPostgresStore(const std::string& Uri, const TStoreOptions& Options = {});
    ~TPostgresStore() override;
    TPostgresStore(const TPostgresStore&) = delete;
    TPostgresStore& operator=(const TPostgresStore&) = delete;

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
    class TLease;
    friend class TLease;

    pg_conn* Connect() const;
    void Migrate(pg_conn* Connection) const;
    std::optional<double> MovedClock() const;
    bool SweepDue() const;

    std::string FUri;
    TStoreOptions FOptions;
    mutable std::mutex FMutex;
    mutable std::condition_variable FFreed;
    // Open connections not in use, and how many more may be opened.
    mutable std::vector<pg_conn*> FIdle;
    mutable int FUnopened = 0;
    mutable std::atomic<double> FLastSweep{0};
};

} // namespace vm::scored
