// The table of submitted scores, kept in an SQLite database file.
#pragma once

#include <cstdint>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace vm::scored {

struct TScoreRow
{
    std::string FName;
    std::int64_t FScore = 0;
    std::string FOnlineName;
    std::int64_t FTime = 0; // seconds since 1970 (UTC)
    std::string FClient;    // the client's address
};

// Thrown with a one-line message when the database cannot be opened, written or read.
class TStoreError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Owns one connection, guarded by a mutex: every member may be called from any thread, one at a time
// reaching SQLite. The database is in WAL mode; an existing file is never replaced or emptied.
class TScoreStore
{
public:
    // Opens or creates the file and checks that it can be written; throws TStoreError otherwise.
    explicit TScoreStore(const std::string& Path);
    ~TScoreStore();
    TScoreStore(const TScoreStore&) = delete;
    TScoreStore& operator=(const TScoreStore&) = delete;

    // Stores one row; throws TStoreError when it could not be stored.
    void Add(const TScoreRow& Row);
    // The best Limit rows: highest score first, equal scores newest first.
    std::vector<TScoreRow> Top(int Limit) const;
    std::int64_t Count() const;

private:
    void Execute(const char* Sql);
    [[noreturn]] void Fail(const std::string& What) const;

    mutable std::mutex FMutex;
    sqlite3* FDatabase = nullptr;
    sqlite3_stmt* FInsert = nullptr;
    sqlite3_stmt* FTop = nullptr;
    sqlite3_stmt* FCount = nullptr;
};

} // namespace vm::scored
