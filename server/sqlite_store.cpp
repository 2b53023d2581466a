// The store in SQLite: schema versions, tokens and per-address buckets, all in one file.
#include "sqlite_store.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>

namespace vm::scored {

namespace {

// Resets a prepared statement when the scope ends, however it is left, so it holds no read lock.
class TStatementReset
{
public:
    explicit TStatementReset(sqlite3_stmt* Statement) : FStatement(Statement) {}
    ~TStatementReset()
    {
        sqlite3_reset(FStatement);
        sqlite3_clear_bindings(FStatement);
    }
    TStatementReset(const TStatementReset&) = delete;
    TStatementReset& operator=(const TStatementReset&) = delete;

private:
    sqlite3_stmt* FStatement;
};

std::string ColumnText(sqlite3_stmt* Statement, int Column)
{
    const auto* Text = reinterpret_cast<const char*>(sqlite3_column_text(Statement, Column));
    return Text == nullptr
               ? std::string()
               : std::string(Text, static_cast<std::size_t>(sqlite3_column_bytes(Statement, Column)));
}

void BindText(sqlite3_stmt* Statement, int Index, const std::string& Text)
{
    sqlite3_bind_text(Statement, Index, Text.data(), static_cast<int>(Text.size()), SQLITE_TRANSIENT);
}

double SystemSeconds()
{
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

// How often expired tokens and idle addresses are deleted, in seconds of the store's clock.
constexpr double SweepInterval = 60;

} // namespace

TSqliteStore::TSqliteStore(const std::string& Path, const TStoreOptions& Options)
    : FPath(Path), FOptions(Options)
{
    try
    {
        Open();
    }
    catch (const TStoreError& Error)
    {
        Close();
        throw TStoreError("cannot use database " + Path + ": " + Error.what());
    }
}

TSqliteStore::~TSqliteStore() { Close(); }

void TSqliteStore::Open()
{
    // No URI names and no automatic creation of folders: the path is taken as a plain file name.
    const int Opened =
        sqlite3_open_v2(FPath.c_str(), &FDatabase, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (Opened != SQLITE_OK)
        throw TStoreError(FDatabase != nullptr ? sqlite3_errmsg(FDatabase) : sqlite3_errstr(Opened));
    // A file SQLite could only open for reading would fail every submission later: refuse it now.
    if (sqlite3_db_readonly(FDatabase, "main") == 1)
        throw TStoreError("database is read-only");
    sqlite3_busy_timeout(FDatabase, 5000);
    sqlite3_extended_result_codes(FDatabase, 1);
    // WAL lets the show page read while a submission writes; NORMAL sync survives a crash of this
    // program (a power cut may lose the last few submissions, never corrupt the file).
    Execute("PRAGMA journal_mode=WAL");
    Execute("PRAGMA synchronous=NORMAL");
    // Taking the write lock proves that the file and its folder (for the WAL files) can be written.
    Migrate();
    std::string JournalMode;
    sqlite3_stmt* Mode = nullptr;
    if (sqlite3_prepare_v2(FDatabase, "PRAGMA journal_mode", -1, &Mode, nullptr) == SQLITE_OK &&
        sqlite3_step(Mode) == SQLITE_ROW)
        JournalMode = ColumnText(Mode, 0);
    sqlite3_finalize(Mode);
    if (JournalMode != "wal")
        throw TStoreError("WAL mode is not available (journal mode \"" + JournalMode + "\")");
    struct stat File
    {};
    if (stat(FPath.c_str(), &File) != 0)
        throw TStoreError("the file cannot be found after opening it");
    FDevice = File.st_dev;
    FInode = File.st_ino;

    auto Prepare = [this](const char* Sql, sqlite3_stmt** Statement) {
        if (sqlite3_prepare_v2(FDatabase, Sql, -1, Statement, nullptr) != SQLITE_OK)
            Fail("cannot prepare a statement");
    };
    Prepare("BEGIN IMMEDIATE", &FBegin);
    Prepare("COMMIT", &FCommit);
    Prepare("ROLLBACK", &FRollback);
    Prepare("INSERT INTO scores (name, score, online_name, created_at, client, token, checked)"
            " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)",
            &FInsert);
    Prepare("SELECT name, score, online_name, created_at, client, checked FROM scores"
            " ORDER BY score DESC, created_at DESC, id DESC LIMIT ?1",
            &FTop);
    Prepare("SELECT name, score, online_name, created_at, client, checked FROM scores WHERE checked = 1"
            " ORDER BY score DESC, created_at DESC, id DESC LIMIT ?1",
            &FTopVerified);
    Prepare("SELECT id, name, score, online_name, created_at, client, checked FROM scores WHERE token = ?1"
            " ORDER BY id DESC LIMIT 1",
            &FFindRun);
    Prepare("UPDATE scores SET checked = ?2, check_note = ?3 WHERE id = ?1", &FSetCheck);
    Prepare("SELECT COUNT(*) FROM scores", &FCount);
    Prepare("SELECT COUNT(*) FROM tokens", &FTokenCount);
    Prepare("SELECT COUNT(*), MIN(issued_at) FROM tokens WHERE client = ?1 AND issued_at > ?2", &FPending);
    Prepare("INSERT INTO tokens (token, client, issued_at) VALUES (?1, ?2, ?3)", &FInsertToken);
    Prepare("DELETE FROM tokens WHERE token = ?1 RETURNING issued_at", &FTakeToken);
    Prepare("SELECT token_level, token_at, submit_level, submit_at FROM clients WHERE client = ?1",
            &FGetClient);
    Prepare(
        "INSERT INTO clients (client, token_level, token_at, submit_level, submit_at)"
        " VALUES (?1, ?2, ?3, ?4, ?5) ON CONFLICT (client) DO UPDATE SET token_level = excluded.token_level,"
        " token_at = excluded.token_at, submit_level = excluded.submit_level, submit_at = excluded.submit_at",
        &FPutClient);
    Prepare("DELETE FROM tokens WHERE issued_at <= ?1", &FSweepTokens);
    Prepare("DELETE FROM clients WHERE token_at <= ?1 AND submit_at <= ?1", &FSweepClients);
    Prepare("SELECT COUNT(*) FROM sqlite_master", &FPing);
}

void TSqliteStore::Migrate()
{
    Execute("BEGIN IMMEDIATE");
    try
    {
        sqlite3_stmt* Read = nullptr;
        int Version = -1;
        if (sqlite3_prepare_v2(FDatabase, "PRAGMA user_version", -1, &Read, nullptr) == SQLITE_OK &&
            sqlite3_step(Read) == SQLITE_ROW)
            Version = sqlite3_column_int(Read, 0);
        sqlite3_finalize(Read);
        if (Version < 0)
            Fail("cannot read the schema version");
        if (Version > SchemaVersion)
            throw TStoreError("its schema version " + std::to_string(Version) +
                              " is newer than this server knows (" + std::to_string(SchemaVersion) +
                              "); use a newer velomarch-scored");
        // Version 0: the scores alone (a file of the first servers, or a new one).
        Execute("CREATE TABLE IF NOT EXISTS scores ("
                " id INTEGER PRIMARY KEY AUTOINCREMENT,"
                " name TEXT NOT NULL,"
                " score INTEGER NOT NULL,"
                " online_name TEXT NOT NULL,"
                " created_at INTEGER NOT NULL,"
                " client TEXT NOT NULL)");
        Execute("CREATE INDEX IF NOT EXISTS scores_rank ON scores (score DESC, created_at DESC, id DESC)");
        if (Version < 1)
        {
            // Version 1: the tokens and each address's buckets move into the database.
            Execute("CREATE TABLE tokens (token TEXT PRIMARY KEY, client TEXT NOT NULL,"
                    " issued_at REAL NOT NULL) WITHOUT ROWID");
            Execute("CREATE INDEX tokens_client ON tokens (client, issued_at)");
            Execute("CREATE INDEX tokens_age ON tokens (issued_at)");
            Execute("CREATE TABLE clients (client TEXT PRIMARY KEY, token_level REAL NOT NULL,"
                    " token_at REAL NOT NULL, submit_level REAL NOT NULL, submit_at REAL NOT NULL) WITHOUT "
                    "ROWID");
            Execute("PRAGMA user_version = 1");
        }
        if (Version < 2)
        {
            // Version 2: a row keeps the token it was redeemed with, so that its run's recording can
            // follow it, and where it stands with that recording (ECheck). Older rows are unchecked.
            Execute("ALTER TABLE scores ADD COLUMN token TEXT");
            Execute("ALTER TABLE scores ADD COLUMN checked INTEGER NOT NULL DEFAULT 0");
            Execute("ALTER TABLE scores ADD COLUMN check_note TEXT NOT NULL DEFAULT ''");
            Execute("CREATE INDEX scores_token ON scores (token)");
            Execute(
                "CREATE INDEX scores_checked_rank ON scores (checked, score DESC, created_at DESC, id DESC)");
            Execute("PRAGMA user_version = 2");
        }
        Execute("COMMIT");
    }
    catch (const TStoreError&)
    {
        sqlite3_exec(FDatabase, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void TSqliteStore::Close()
{
    for (sqlite3_stmt* Statement :
         {FBegin, FCommit, FRollback, FInsert, FTop, FTopVerified, FFindRun, FSetCheck, FCount, FTokenCount,
          FPending, FInsertToken, FTakeToken, FGetClient, FPutClient, FSweepTokens, FSweepClients, FPing})
        sqlite3_finalize(Statement);
    sqlite3_close(FDatabase);
    FDatabase = nullptr;
}

double TSqliteStore::StoreTime() const
{
    if (FOptions.FClock)
        if (const auto Moved = FOptions.FClock())
            return *Moved;
    return SystemSeconds();
}

// Ends the transaction begun by FBegin: rolled back unless Commit was called.
class TSqliteTransaction
{
public:
    TSqliteTransaction(sqlite3* Database, sqlite3_stmt* Begin, sqlite3_stmt* Commit, sqlite3_stmt* Rollback)
        : FDatabase(Database), FCommit(Commit), FRollback(Rollback)
    {
        const TStatementReset Reset(Begin);
        if (sqlite3_step(Begin) != SQLITE_DONE)
            throw TStoreError(std::string("cannot begin a transaction: ") + sqlite3_errmsg(FDatabase));
    }
    ~TSqliteTransaction()
    {
        if (!FDone)
        {
            const TStatementReset Reset(FRollback);
            sqlite3_step(FRollback);
        }
    }
    TSqliteTransaction(const TSqliteTransaction&) = delete;
    TSqliteTransaction& operator=(const TSqliteTransaction&) = delete;

    void Commit()
    {
        const TStatementReset Reset(FCommit);
        if (sqlite3_step(FCommit) != SQLITE_DONE)
            throw TStoreError(std::string("cannot commit: ") + sqlite3_errmsg(FDatabase));
        FDone = true;
    }

private:
    sqlite3* FDatabase;
    sqlite3_stmt* FCommit;
    sqlite3_stmt* FRollback;
    bool FDone = false;
};

TSqliteStore::TBuckets TSqliteStore::ReadBuckets(const std::string& Client, double Now)
{
    const TStoreLimits& Limits = FOptions.FLimits;
    const TStatementReset Reset(FGetClient);
    BindText(FGetClient, 1, Client);
    const int Found = sqlite3_step(FGetClient);
    if (Found == SQLITE_ROW)
        return TBuckets{sqlite3_column_double(FGetClient, 0), sqlite3_column_double(FGetClient, 1),
                        sqlite3_column_double(FGetClient, 2), sqlite3_column_double(FGetClient, 3)};
    if (Found != SQLITE_DONE)
        Fail("cannot read an address's limits");
    // An address not seen lately has full buckets.
    return TBuckets{Limits.FTokenBurst, Now, Limits.FSubmissionBurst, Now};
}

void TSqliteStore::WriteBuckets(const std::string& Client, const TBuckets& Buckets)
{
    const TStatementReset Reset(FPutClient);
    BindText(FPutClient, 1, Client);
    sqlite3_bind_double(FPutClient, 2, Buckets.FTokenLevel);
    sqlite3_bind_double(FPutClient, 3, Buckets.FTokenAt);
    sqlite3_bind_double(FPutClient, 4, Buckets.FSubmitLevel);
    sqlite3_bind_double(FPutClient, 5, Buckets.FSubmitAt);
    Step(FPutClient, "cannot store an address's limits");
}

void TSqliteStore::SweepNowAndThen(double Now)
{
    if (Now - FLastSweep < SweepInterval && Now >= FLastSweep)
        return;
    FLastSweep = Now;
    const TStoreLimits& Limits = FOptions.FLimits;
    // An expired token is still told apart from an unknown one for one more lifetime, then deleted.
    {
        const TStatementReset Reset(FSweepTokens);
        sqlite3_bind_double(FSweepTokens, 1, Now - 2.0 * Limits.FTokenLifetimeSeconds);
        Step(FSweepTokens, "cannot delete expired tokens");
    }
    // An address idle long enough for both buckets to be full again is as good as unseen.
    double Refill = 0;
    if (Limits.FTokensPerMinute > 0)
        Refill = std::max(Refill, Limits.FTokenBurst * 60.0 / Limits.FTokensPerMinute);
    if (Limits.FSubmissionsPerMinute > 0)
        Refill = std::max(Refill, Limits.FSubmissionBurst * 60.0 / Limits.FSubmissionsPerMinute);
    const TStatementReset Reset(FSweepClients);
    sqlite3_bind_double(FSweepClients, 1, Now - Refill - 1.0);
    Step(FSweepClients, "cannot delete idle addresses");
}

TIssueResult TSqliteStore::IssueToken(const std::string& Client)
{
    const TStoreLimits& Limits = FOptions.FLimits;
    const std::lock_guard Lock(FMutex);
    TSqliteTransaction Transaction(FDatabase, FBegin, FCommit, FRollback);
    const double Now = StoreTime();
    SweepNowAndThen(Now);
    if (Limits.FPendingTokens > 0)
    {
        const TStatementReset Reset(FPending);
        BindText(FPending, 1, Client);
        sqlite3_bind_double(FPending, 2, Now - Limits.FTokenLifetimeSeconds);
        if (sqlite3_step(FPending) != SQLITE_ROW)
            Fail("cannot count an address's tokens");
        if (sqlite3_column_int64(FPending, 0) >= Limits.FPendingTokens)
        {
            const double Oldest = sqlite3_column_double(FPending, 1);
            Transaction.Commit(); // keeps the sweep
            // A place frees when the oldest pending token expires (or sooner, when one is redeemed).
            return TIssueResult{
                EIssue::TooManyPending, {}, PendingWait(Oldest, Now, Limits.FTokenLifetimeSeconds)};
        }
    }
    if (Limits.FTokensPerMinute > 0)
    {
        TBuckets Buckets = ReadBuckets(Client, Now);
        const double Level = BucketLevel(Buckets.FTokenLevel, Buckets.FTokenAt, Now, Limits.FTokensPerMinute,
                                         Limits.FTokenBurst);
        if (Level < 1)
        {
            Transaction.Commit();
            return TIssueResult{EIssue::TooFast, {}, BucketWait(Level, Limits.FTokensPerMinute)};
        }
        Buckets.FTokenLevel = Level - 1;
        Buckets.FTokenAt = Now;
        WriteBuckets(Client, Buckets);
    }
    std::string Token;
    for (int Tries = 0;; ++Tries)
    {
        Token = RandomToken();
        const TStatementReset Reset(FInsertToken);
        BindText(FInsertToken, 1, Token);
        BindText(FInsertToken, 2, Client);
        sqlite3_bind_double(FInsertToken, 3, Now);
        const int Inserted = sqlite3_step(FInsertToken);
        if (Inserted == SQLITE_DONE)
            break;
        // A repeat of a token held is all but impossible, but must not share its row: draw again.
        if (Inserted != SQLITE_CONSTRAINT_PRIMARYKEY || Tries >= 3)
            Fail("cannot store a token");
    }
    Transaction.Commit();
    return TIssueResult{EIssue::Issued, Token, 0};
}

TSubmitResult TSqliteStore::Submit(const std::string& Token, const TScoreRow& Row)
{
    const TStoreLimits& Limits = FOptions.FLimits;
    const std::lock_guard Lock(FMutex);
    TSqliteTransaction Transaction(FDatabase, FBegin, FCommit, FRollback);
    const double Now = StoreTime();
    TBuckets Buckets{};
    double Level = 0;
    if (Limits.FSubmissionsPerMinute > 0)
    {
        Buckets = ReadBuckets(Row.FClient, Now);
        Level = BucketLevel(Buckets.FSubmitLevel, Buckets.FSubmitAt, Now, Limits.FSubmissionsPerMinute,
                            Limits.FSubmissionBurst);
        if (Level < 1)
            return TSubmitResult{ESubmit::TooMany, BucketWait(Level, Limits.FSubmissionsPerMinute)};
    }
    double Issued = 0;
    {
        const TStatementReset Reset(FTakeToken);
        BindText(FTakeToken, 1, Token);
        const int Taken = sqlite3_step(FTakeToken);
        if (Taken == SQLITE_DONE)
            return TSubmitResult{ESubmit::UnknownToken, 0};
        if (Taken != SQLITE_ROW)
            Fail("cannot redeem a token");
        Issued = sqlite3_column_double(FTakeToken, 0);
        if (sqlite3_step(FTakeToken) != SQLITE_DONE)
            Fail("cannot redeem a token");
    }
    if (Now - Issued >= Limits.FTokenLifetimeSeconds)
    {
        Transaction.Commit(); // the expired token is forgotten
        return TSubmitResult{ESubmit::ExpiredToken, 0};
    }
    InsertRow(Row, Token);
    if (Limits.FSubmissionsPerMinute > 0)
    {
        Buckets.FSubmitLevel = Level - 1;
        Buckets.FSubmitAt = Now;
        WriteBuckets(Row.FClient, Buckets);
    }
    Transaction.Commit();
    return TSubmitResult{ESubmit::Stored, 0};
}

void TSqliteStore::Add(const TScoreRow& Row)
{
    const std::lock_guard Lock(FMutex);
    InsertRow(Row, {});
}

void TSqliteStore::InsertRow(const TScoreRow& Row, const std::string& Token)
{
    const TStatementReset Reset(FInsert);
    BindText(FInsert, 1, Row.FName);
    sqlite3_bind_int64(FInsert, 2, Row.FScore);
    BindText(FInsert, 3, Row.FOnlineName);
    sqlite3_bind_int64(FInsert, 4, Row.FTime);
    BindText(FInsert, 5, Row.FClient);
    if (Token.empty())
        sqlite3_bind_null(FInsert, 6);
    else
        BindText(FInsert, 6, Token);
    sqlite3_bind_int(FInsert, 7, static_cast<int>(Row.FCheck));
    Step(FInsert, "cannot store a score");
}

std::vector<TScoreRow> TSqliteStore::Top(int Limit, ERows Which) const
{
    const std::lock_guard Lock(FMutex);
    sqlite3_stmt* Top = Which == ERows::Verified ? FTopVerified : FTop;
    const TStatementReset Reset(Top);
    sqlite3_bind_int(Top, 1, Limit);
    std::vector<TScoreRow> Rows;
    int Step = SQLITE_ROW;
    while ((Step = sqlite3_step(Top)) == SQLITE_ROW)
        Rows.push_back(TScoreRow{ColumnText(Top, 0), sqlite3_column_int64(Top, 1), ColumnText(Top, 2),
                                 sqlite3_column_int64(Top, 3), ColumnText(Top, 4),
                                 static_cast<ECheck>(sqlite3_column_int(Top, 5))});
    if (Step != SQLITE_DONE)
        Fail("cannot read the scores");
    return Rows;
}

TClaimResult TSqliteStore::ClaimRun(const std::string& Token)
{
    const std::lock_guard Lock(FMutex);
    TSqliteTransaction Transaction(FDatabase, FBegin, FCommit, FRollback);
    TClaimResult Result;
    {
        const TStatementReset Reset(FFindRun);
        BindText(FFindRun, 1, Token);
        const int Found = sqlite3_step(FFindRun);
        if (Found == SQLITE_DONE)
            return Result;
        if (Found != SQLITE_ROW)
            Fail("cannot find a score");
        Result.FId = sqlite3_column_int64(FFindRun, 0);
        Result.FRow =
            TScoreRow{ColumnText(FFindRun, 1), sqlite3_column_int64(FFindRun, 2),
                      ColumnText(FFindRun, 3), sqlite3_column_int64(FFindRun, 4),
                      ColumnText(FFindRun, 5), static_cast<ECheck>(sqlite3_column_int(FFindRun, 6))};
    }
    if (Result.FRow.FCheck != ECheck::Unchecked)
    {
        Result.FOutcome = EClaim::AlreadySent;
        return Result;
    }
    {
        const TStatementReset Reset(FSetCheck);
        sqlite3_bind_int64(FSetCheck, 1, Result.FId);
        sqlite3_bind_int(FSetCheck, 2, static_cast<int>(ECheck::Checking));
        BindText(FSetCheck, 3, std::string());
        Step(FSetCheck, "cannot claim a score");
    }
    Transaction.Commit();
    Result.FOutcome = EClaim::Claimed;
    Result.FRow.FCheck = ECheck::Checking;
    return Result;
}

void TSqliteStore::SetCheck(std::int64_t Id, ECheck Check, const std::string& Reason)
{
    const std::lock_guard Lock(FMutex);
    const TStatementReset Reset(FSetCheck);
    sqlite3_bind_int64(FSetCheck, 1, Id);
    sqlite3_bind_int(FSetCheck, 2, static_cast<int>(Check));
    BindText(FSetCheck, 3, Reason);
    Step(FSetCheck, "cannot mark a score");
}

std::int64_t TSqliteStore::Count() const
{
    const std::lock_guard Lock(FMutex);
    const TStatementReset Reset(FCount);
    if (sqlite3_step(FCount) != SQLITE_ROW)
        Fail("cannot count the scores");
    return sqlite3_column_int64(FCount, 0);
}

std::int64_t TSqliteStore::TokenCount() const
{
    const std::lock_guard Lock(FMutex);
    const TStatementReset Reset(FTokenCount);
    if (sqlite3_step(FTokenCount) != SQLITE_ROW)
        Fail("cannot count the tokens");
    return sqlite3_column_int64(FTokenCount, 0);
}

bool TSqliteStore::Ping() const
{
    const std::lock_guard Lock(FMutex);
    // A file removed or replaced under the server would take no more submissions anyone can see.
    struct stat File
    {};
    if (stat(FPath.c_str(), &File) != 0 || File.st_dev != FDevice || File.st_ino != FInode)
        return false;
    const TStatementReset Reset(FPing);
    return sqlite3_step(FPing) == SQLITE_ROW;
}

void TSqliteStore::Step(sqlite3_stmt* Statement, const char* What)
{
    if (sqlite3_step(Statement) != SQLITE_DONE)
        Fail(What);
}

void TSqliteStore::Execute(const char* Sql)
{
    char* Error = nullptr;
    if (sqlite3_exec(FDatabase, Sql, nullptr, nullptr, &Error) != SQLITE_OK)
    {
        const std::string Message = Error != nullptr ? Error : sqlite3_errmsg(FDatabase);
        sqlite3_free(Error);
        throw TStoreError(Message);
    }
}

void TSqliteStore::Fail(const std::string& What) const
{
    throw TStoreError(What + ": " + sqlite3_errmsg(FDatabase));
}

} // namespace vm::scored
