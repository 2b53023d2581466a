// The table of submitted scores in SQLite: one connection, prepared statements, WAL mode.
#include "score_store.h"

#include <sqlite3.h>

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

} // namespace

TScoreStore::TScoreStore(const std::string& Path)
{
    // No URI names and no automatic creation of folders: the path is taken as a plain file name.
    const int Opened =
        sqlite3_open_v2(Path.c_str(), &FDatabase, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (Opened != SQLITE_OK)
    {
        const std::string Message = FDatabase != nullptr ? sqlite3_errmsg(FDatabase) : sqlite3_errstr(Opened);
        sqlite3_close(FDatabase);
        FDatabase = nullptr;
        throw TStoreError("cannot open database " + Path + ": " + Message);
    }
    try
    {
        // A file SQLite could only open for reading would fail every submission later: refuse it now.
        if (sqlite3_db_readonly(FDatabase, "main") == 1)
            throw TStoreError("database is read-only");
        sqlite3_busy_timeout(FDatabase, 5000);
        sqlite3_extended_result_codes(FDatabase, 1);
        // WAL lets the show page read while a submission writes; NORMAL sync survives a crash of this
        // program (a power cut may lose the last few submissions, never corrupt the file).
        Execute("PRAGMA journal_mode=WAL");
        Execute("PRAGMA synchronous=NORMAL");
        Execute("CREATE TABLE IF NOT EXISTS scores ("
                " id INTEGER PRIMARY KEY AUTOINCREMENT,"
                " name TEXT NOT NULL,"
                " score INTEGER NOT NULL,"
                " online_name TEXT NOT NULL,"
                " created_at INTEGER NOT NULL,"
                " client TEXT NOT NULL)");
        Execute("CREATE INDEX IF NOT EXISTS scores_rank ON scores (score DESC, created_at DESC, id DESC)");
        // Taking the write lock proves that the file and its folder (for the WAL files) can be written.
        Execute("BEGIN IMMEDIATE");
        Execute("COMMIT");
        std::string JournalMode;
        sqlite3_stmt* Mode = nullptr;
        if (sqlite3_prepare_v2(FDatabase, "PRAGMA journal_mode", -1, &Mode, nullptr) == SQLITE_OK &&
            sqlite3_step(Mode) == SQLITE_ROW)
            JournalMode = ColumnText(Mode, 0);
        sqlite3_finalize(Mode);
        if (JournalMode != "wal")
            throw TStoreError("WAL mode is not available (journal mode \"" + JournalMode + "\")");

        auto Prepare = [this](const char* Sql, sqlite3_stmt** Statement) {
            if (sqlite3_prepare_v2(FDatabase, Sql, -1, Statement, nullptr) != SQLITE_OK)
                Fail("cannot prepare a statement");
        };
        Prepare(
            "INSERT INTO scores (name, score, online_name, created_at, client) VALUES (?1, ?2, ?3, ?4, ?5)",
            &FInsert);
        Prepare("SELECT name, score, online_name, created_at, client FROM scores"
                " ORDER BY score DESC, created_at DESC, id DESC LIMIT ?1",
                &FTop);
        Prepare("SELECT COUNT(*) FROM scores", &FCount);
    }
    catch (const TStoreError& Error)
    {
        sqlite3_finalize(FInsert);
        sqlite3_finalize(FTop);
        sqlite3_finalize(FCount);
        sqlite3_close(FDatabase);
        FDatabase = nullptr;
        throw TStoreError("cannot use database " + Path + ": " + Error.what());
    }
}

TScoreStore::~TScoreStore()
{
    sqlite3_finalize(FInsert);
    sqlite3_finalize(FTop);
    sqlite3_finalize(FCount);
    sqlite3_close(FDatabase);
}

void TScoreStore::Add(const TScoreRow& Row)
{
    const std::lock_guard Lock(FMutex);
    const TStatementReset Reset(FInsert);
    sqlite3_bind_text(FInsert, 1, Row.FName.data(), static_cast<int>(Row.FName.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int64(FInsert, 2, Row.FScore);
    sqlite3_bind_text(FInsert, 3, Row.FOnlineName.data(), static_cast<int>(Row.FOnlineName.size()),
                      SQLITE_TRANSIENT);
    sqlite3_bind_int64(FInsert, 4, Row.FTime);
    sqlite3_bind_text(FInsert, 5, Row.FClient.data(), static_cast<int>(Row.FClient.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(FInsert) != SQLITE_DONE)
        Fail("cannot store a score");
}

std::vector<TScoreRow> TScoreStore::Top(int Limit) const
{
    const std::lock_guard Lock(FMutex);
    const TStatementReset Reset(FTop);
    sqlite3_bind_int(FTop, 1, Limit);
    std::vector<TScoreRow> Rows;
    int Step = SQLITE_ROW;
    while ((Step = sqlite3_step(FTop)) == SQLITE_ROW)
        Rows.push_back(TScoreRow{ColumnText(FTop, 0), sqlite3_column_int64(FTop, 1), ColumnText(FTop, 2),
                                 sqlite3_column_int64(FTop, 3), ColumnText(FTop, 4)});
    if (Step != SQLITE_DONE)
        Fail("cannot read the scores");
    return Rows;
}

std::int64_t TScoreStore::Count() const
{
    const std::lock_guard Lock(FMutex);
    const TStatementReset Reset(FCount);
    if (sqlite3_step(FCount) != SQLITE_ROW)
        Fail("cannot count the scores");
    return sqlite3_column_int64(FCount, 0);
}

void TScoreStore::Execute(const char* Sql)
{
    char* Error = nullptr;
    if (sqlite3_exec(FDatabase, Sql, nullptr, nullptr, &Error) != SQLITE_OK)
    {
        const std::string Message = Error != nullptr ? Error : sqlite3_errmsg(FDatabase);
        sqlite3_free(Error);
        throw TStoreError(Message);
    }
}

void TScoreStore::Fail(const std::string& What) const
{
    throw TStoreError(What + ": " + sqlite3_errmsg(FDatabase));
}

} // namespace vm::scored
