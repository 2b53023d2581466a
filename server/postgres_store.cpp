// The store in PostgreSQL: schema and migrations, the pool, and the requests as database functions.
#include "postgres_store.h"

#include <libpq-fe.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>

namespace vm::scored {

namespace {

// Taken (per transaction) by every server migrating the schema, so two starting at once take turns.
constexpr const char* MigrationLock = "SELECT pg_advisory_xact_lock(7564836521)";

// Version 1: scores, tokens and each address's buckets, and the two requests that change them as
// functions, so a request is one round trip and one transaction. A NULL level is a full bucket.
// Outcomes: issue 0 issued, 1 too fast, 2 too many pending, 3 token taken (draw again);
// submit 0 stored, 1 unknown token, 2 expired token, 3 too many submissions.
constexpr const char* SchemaOne = R"SQL(
CREATE TABLE scores (
  id bigserial PRIMARY KEY,
  name text NOT NULL,
  score bigint NOT NULL,
  online_name text NOT NULL,
  created_at bigint NOT NULL,
  client text NOT NULL);
CREATE INDEX scores_rank ON scores (score DESC, created_at DESC, id DESC);
CREATE TABLE tokens (token text PRIMARY KEY, client text NOT NULL, issued_at float8 NOT NULL);
CREATE INDEX tokens_client ON tokens (client, issued_at);
CREATE INDEX tokens_age ON tokens (issued_at);
CREATE TABLE clients (client text PRIMARY KEY, token_level float8, token_at float8,
                      submit_level float8, submit_at float8);

CREATE FUNCTION vm_issue_token(p_client text, p_token text, p_now float8, p_rate float8,
                               p_burst float8, p_pending int, p_lifetime float8, p_sweep boolean,
                               p_idle float8, OUT outcome int, OUT wait int)
LANGUAGE plpgsql AS $$
DECLARE
  v_now float8 := coalesce(p_now, extract(epoch from clock_timestamp()));
  v_level float8;
  v_at float8;
  v_count bigint;
  v_oldest float8;
BEGIN
  outcome := 0;
  wait := 0;
  IF p_sweep THEN
    -- An expired token is told apart from an unknown one for one more lifetime, then deleted.
    DELETE FROM tokens WHERE issued_at <= v_now - 2 * p_lifetime;
    DELETE FROM clients WHERE coalesce(token_at, 0) <= v_now - p_idle AND coalesce(submit_at, 0) <= v_now - p_idle;
  END IF;
  IF p_rate > 0 OR p_pending > 0 THEN
    -- The address's row is locked first: its requests on every server take turns from here.
    INSERT INTO clients (client) VALUES (p_client) ON CONFLICT DO NOTHING;
    SELECT token_level, token_at INTO v_level, v_at FROM clients WHERE client = p_client FOR UPDATE;
  END IF;
  IF p_pending > 0 THEN
    SELECT count(*), min(issued_at) INTO v_count, v_oldest FROM tokens
      WHERE client = p_client AND issued_at > v_now - p_lifetime;
    IF v_count >= p_pending THEN
      outcome := 2;
      wait := greatest(1, least(86400, ceil(v_oldest + p_lifetime - v_now)))::int;
      RETURN;
    END IF;
  END IF;
  IF p_rate > 0 THEN
    v_level := CASE WHEN v_level IS NULL THEN p_burst
                    ELSE least(p_burst, v_level + greatest(0, v_now - v_at) * p_rate / 60) END;
    IF v_level < 1 THEN
      outcome := 1;
      wait := greatest(1, least(86400, ceil((1 - v_level) * 60 / p_rate)))::int;
      RETURN;
    END IF;
    UPDATE clients SET token_level = v_level - 1, token_at = v_now WHERE client = p_client;
  END IF;
  INSERT INTO tokens (token, client, issued_at) VALUES (p_token, p_client, v_now) ON CONFLICT DO NOTHING;
  IF NOT FOUND THEN
    RAISE EXCEPTION USING ERRCODE = 'unique_violation', MESSAGE = 'token taken';
  END IF;
END
$$;

CREATE FUNCTION vm_submit(p_token text, p_name text, p_score bigint, p_online_name text,
                          p_created_at bigint, p_client text, p_now float8, p_rate float8,
                          p_burst float8, p_lifetime float8, OUT outcome int, OUT wait int)
LANGUAGE plpgsql AS $$
DECLARE
  v_now float8 := coalesce(p_now, extract(epoch from clock_timestamp()));
  v_level float8;
  v_at float8;
  v_issued float8;
BEGIN
  outcome := 0;
  wait := 0;
  IF p_rate > 0 THEN
    INSERT INTO clients (client) VALUES (p_client) ON CONFLICT DO NOTHING;
    SELECT submit_level, submit_at INTO v_level, v_at FROM clients WHERE client = p_client FOR UPDATE;
    v_level := CASE WHEN v_level IS NULL THEN p_burst
                    ELSE least(p_burst, v_level + greatest(0, v_now - v_at) * p_rate / 60) END;
    IF v_level < 1 THEN
      outcome := 3;
      wait := greatest(1, least(86400, ceil((1 - v_level) * 60 / p_rate)))::int;
      RETURN;
    END IF;
  END IF;
  -- A second server redeeming the same token waits for this row and then finds it gone.
  DELETE FROM tokens WHERE token = p_token RETURNING issued_at INTO v_issued;
  IF NOT FOUND THEN
    outcome := 1;
    RETURN;
  END IF;
  IF v_now - v_issued >= p_lifetime THEN
    outcome := 2;
    RETURN;
  END IF;
  INSERT INTO scores (name, score, online_name, created_at, client)
    VALUES (p_name, p_score, p_online_name, p_created_at, p_client);
  IF p_rate > 0 THEN
    UPDATE clients SET submit_level = v_level - 1, submit_at = v_now WHERE client = p_client;
  END IF;
END
$$;
)SQL";

// Version 2: a row keeps the token it was redeemed with, so that its run's recording can follow
// it, and where it stands with that recording (ECheck); older rows are unchecked. The submission
// stores the token with the row.
constexpr const char* SchemaTwo = R"SQL(
ALTER TABLE scores ADD COLUMN token text;
ALTER TABLE scores ADD COLUMN checked int NOT NULL DEFAULT 0;
ALTER TABLE scores ADD COLUMN check_note text NOT NULL DEFAULT '';
CREATE INDEX scores_token ON scores (token);
CREATE INDEX scores_checked_rank ON scores (checked, score DESC, created_at DESC, id DESC);

CREATE OR REPLACE FUNCTION vm_submit(p_token text, p_name text, p_score bigint, p_online_name text,
                          p_created_at bigint, p_client text, p_now float8, p_rate float8,
                          p_burst float8, p_lifetime float8, OUT outcome int, OUT wait int)
LANGUAGE plpgsql AS $$
DECLARE
  v_now float8 := coalesce(p_now, extract(epoch from clock_timestamp()));
  v_level float8;
  v_at float8;
  v_issued float8;
BEGIN
  outcome := 0;
  wait := 0;
  IF p_rate > 0 THEN
    INSERT INTO clients (client) VALUES (p_client) ON CONFLICT DO NOTHING;
    SELECT submit_level, submit_at INTO v_level, v_at FROM clients WHERE client = p_client FOR UPDATE;
    v_level := CASE WHEN v_level IS NULL THEN p_burst
                    ELSE least(p_burst, v_level + greatest(0, v_now - v_at) * p_rate / 60) END;
    IF v_level < 1 THEN
      outcome := 3;
      wait := greatest(1, least(86400, ceil((1 - v_level) * 60 / p_rate)))::int;
      RETURN;
    END IF;
  END IF;
  -- A second server redeeming the same token waits for this row and then finds it gone.
  DELETE FROM tokens WHERE token = p_token RETURNING issued_at INTO v_issued;
  IF NOT FOUND THEN
    outcome := 1;
    RETURN;
  END IF;
  IF v_now - v_issued >= p_lifetime THEN
    outcome := 2;
    RETURN;
  END IF;
  INSERT INTO scores (name, score, online_name, created_at, client, token)
    VALUES (p_name, p_score, p_online_name, p_created_at, p_client, p_token);
  IF p_rate > 0 THEN
    UPDATE clients SET submit_level = v_level - 1, submit_at = v_now WHERE client = p_client;
  END IF;
END
$$;
)SQL";

struct TStatement
{
    const char* FName;
    const char* FSql;
    int FParams;
};

constexpr TStatement Statements[] = {
    {"issue",
     "SELECT outcome, wait FROM vm_issue_token($1, $2, $3::float8, $4::float8, $5::float8, $6::int,"
     " $7::float8, $8::boolean, $9::float8)",
     9},
    {"submit",
     "SELECT outcome, wait FROM vm_submit($1, $2, $3::bigint, $4, $5::bigint, $6, $7::float8, $8::float8,"
     " $9::float8, $10::float8)",
     10},
    {"add",
     "INSERT INTO scores (name, score, online_name, created_at, client, checked) VALUES ($1, $2::bigint, $3, "
     "$4::bigint, $5, $6::int)",
     6},
    {"top",
     "SELECT name, score, online_name, created_at, client, checked FROM scores"
     " ORDER BY score DESC, created_at DESC, id DESC LIMIT $1::int",
     1},
    {"top_verified",
     "SELECT name, score, online_name, created_at, client, checked FROM scores WHERE checked = 1"
     " ORDER BY score DESC, created_at DESC, id DESC LIMIT $1::int",
     1},
    // Only an unchecked row is taken; a second server claiming the same row waits for this one
    // and then finds it checked.
    {"claim",
     "UPDATE scores SET checked = 4, check_note = '' WHERE id = (SELECT id FROM scores WHERE token = $1"
     " ORDER BY id DESC LIMIT 1) AND checked = 0"
     " RETURNING id, name, score, online_name, created_at, client",
     1},
    {"find_run", "SELECT checked FROM scores WHERE token = $1 ORDER BY id DESC LIMIT 1", 1},
    {"set_check", "UPDATE scores SET checked = $2::int, check_note = $3 WHERE id = $1::bigint", 3},
    {"count", "SELECT count(*) FROM scores", 0},
    {"tokens", "SELECT count(*) FROM tokens", 0},
    {"ping", "SELECT version FROM schema_version", 0},
};

// How often expired tokens and idle addresses are deleted, in seconds.
constexpr double SweepInterval = 60;

using TResult = std::unique_ptr<PGresult, decltype(&PQclear)>;

// The first line of a libpq message, without its trailing blanks.
std::string FirstLine(const char* Message)
{
    std::string Line = Message != nullptr ? Message : "";
    Line = Line.substr(0, Line.find('\n'));
    while (!Line.empty() && (Line.back() == ' ' || Line.back() == '\r'))
        Line.pop_back();
    return Line.empty() ? "unknown error" : Line;
}

std::string Number(double Value)
{
    char Text[40];
    std::snprintf(Text, sizeof Text, "%.17g", Value);
    return Text;
}

// Runs a prepared statement with text parameters (nullopt: NULL); throws TStoreError on failure.
TResult Run(pg_conn* Connection, const char* Name, const std::vector<std::optional<std::string>>& Params,
            const char* What)
{
    std::vector<const char*> Values;
    for (const auto& Param : Params)
        Values.push_back(Param ? Param->c_str() : nullptr);
    TResult Result(
        PQexecPrepared(Connection, Name, static_cast<int>(Values.size()), Values.data(), nullptr, nullptr, 0),
        &PQclear);
    const ExecStatusType Status = Result ? PQresultStatus(Result.get()) : PGRES_FATAL_ERROR;
    if (Status != PGRES_TUPLES_OK && Status != PGRES_COMMAND_OK)
        throw TStoreError(std::string(What) + ": " + FirstLine(PQerrorMessage(Connection)));
    return Result;
}

// Runs fixed SQL text (no parameters); throws TStoreError on failure.
TResult Execute(pg_conn* Connection, const char* Sql)
{
    TResult Result(PQexec(Connection, Sql), &PQclear);
    const ExecStatusType Status = Result ? PQresultStatus(Result.get()) : PGRES_FATAL_ERROR;
    if (Status != PGRES_TUPLES_OK && Status != PGRES_COMMAND_OK)
        throw TStoreError(FirstLine(PQerrorMessage(Connection)));
    return Result;
}

std::int64_t Integer(const PGresult* Result, int Row, int Column)
{
    return std::strtoll(PQgetvalue(Result, Row, Column), nullptr, 10);
}

double SystemSeconds()
{
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

} // namespace

// One connection of the pool for the scope: opened when none is idle, closed again on return when it
// broke, so the next use opens a fresh one.
class TPostgresStore::TLease
{
public:
    explicit TLease(const TPostgresStore& Store) : FStore(Store)
    {
        std::unique_lock Lock(Store.FMutex);
        Store.FFreed.wait(Lock, [&Store] { return !Store.FIdle.empty() || Store.FUnopened > 0; });
        if (!Store.FIdle.empty())
        {
            FConnection = Store.FIdle.back();
            Store.FIdle.pop_back();
            return;
        }
        --Store.FUnopened;
        Lock.unlock();
        try
        {
            FConnection = Store.Connect();
        }
        catch (...)
        {
            Lock.lock();
            ++Store.FUnopened;
            Store.FFreed.notify_one();
            throw;
        }
    }
    ~TLease()
    {
        const std::lock_guard Lock(FStore.FMutex);
        if (PQstatus(FConnection) == CONNECTION_OK && PQtransactionStatus(FConnection) == PQTRANS_IDLE)
            FStore.FIdle.push_back(FConnection);
        else
        {
            PQfinish(FConnection);
            ++FStore.FUnopened;
        }
        FStore.FFreed.notify_one();
    }
    TLease(const TLease&) = delete;
    TLease& operator=(const TLease&) = delete;

    pg_conn* operator*() const { return FConnection; }

private:
    const TPostgresStore& FStore;
    pg_conn* FConnection = nullptr;
};

TPostgresStore::TPostgresStore(const std::string& Uri, const TStoreOptions& Options)
    : FUri(Uri), FOptions(Options), FUnopened(std::max(1, Options.FConnections))
{
    try
    {
        const TLease First(*this);
        const TResult Checked = Execute(*First, "SELECT 1");
    }
    catch (const TStoreError& Error)
    {
        throw TStoreError("cannot use database " + ShownLocation(Uri) + ": " + Error.what());
    }
}

TPostgresStore::~TPostgresStore()
{
    for (pg_conn* Connection : FIdle)
        PQfinish(Connection);
}

pg_conn* TPostgresStore::Connect() const
{
    // A default time limit for connecting that the URI's own connect_timeout overrides.
    const char* Keywords[] = {"connect_timeout", "application_name", "dbname", nullptr};
    const char* Values[] = {"10", "velomarch-scored", FUri.c_str(), nullptr};
    pg_conn* Connection = PQconnectdbParams(Keywords, Values, 1);
    if (Connection == nullptr)
        throw TStoreError("out of memory");
    try
    {
        if (PQstatus(Connection) != CONNECTION_OK)
            throw TStoreError(FirstLine(PQerrorMessage(Connection)));
        // The schema's "already exists" notices are expected; nothing is printed for them.
        PQsetNoticeProcessor(
            Connection, [](void*, const char*) {}, nullptr);
        Migrate(Connection);
        for (const TStatement& Statement : Statements)
        {
            TResult Prepared(
                PQprepare(Connection, Statement.FName, Statement.FSql, Statement.FParams, nullptr), &PQclear);
            if (!Prepared || PQresultStatus(Prepared.get()) != PGRES_COMMAND_OK)
                throw TStoreError("cannot prepare a statement: " + FirstLine(PQerrorMessage(Connection)));
        }
    }
    catch (...)
    {
        PQfinish(Connection);
        throw;
    }
    return Connection;
}

void TPostgresStore::Migrate(pg_conn* Connection) const
{
    Execute(Connection, "BEGIN");
    try
    {
        Execute(Connection, MigrationLock);
        Execute(Connection, "CREATE TABLE IF NOT EXISTS schema_version (version integer NOT NULL)");
        const TResult Read = Execute(Connection, "SELECT coalesce(max(version), 0) FROM schema_version");
        const std::int64_t Version = Integer(Read.get(), 0, 0);
        if (Version > SchemaVersion)
            throw TStoreError("its schema version " + std::to_string(Version) +
                              " is newer than this server knows (" + std::to_string(SchemaVersion) +
                              "); use a newer velomarch-scored");
        if (Version < 1)
        {
            Execute(Connection, SchemaOne);
            Execute(Connection, "DELETE FROM schema_version");
            Execute(Connection, "INSERT INTO schema_version (version) VALUES (1)");
        }
        if (Version < 2)
        {
            Execute(Connection, SchemaTwo);
            Execute(Connection, "DELETE FROM schema_version");
            Execute(Connection, "INSERT INTO schema_version (version) VALUES (2)");
        }
        Execute(Connection, "COMMIT");
    }
    catch (...)
    {
        TResult Ignored(PQexec(Connection, "ROLLBACK"), &PQclear);
        throw;
    }
}

std::optional<double> TPostgresStore::MovedClock() const
{
    return FOptions.FClock ? FOptions.FClock() : std::nullopt;
}

bool TPostgresStore::SweepDue() const
{
    const auto Moved = MovedClock();
    const double Now = Moved ? *Moved : SystemSeconds();
    double Last = FLastSweep.load();
    if (Now - Last < SweepInterval && Now >= Last)
        return false;
    // One request of this server sweeps; the others go on.
    return FLastSweep.compare_exchange_strong(Last, Now);
}

TIssueResult TPostgresStore::IssueToken(const std::string& Client)
{
    const TStoreLimits& Limits = FOptions.FLimits;
    double Idle = 0;
    if (Limits.FTokensPerMinute > 0)
        Idle = std::max(Idle, Limits.FTokenBurst * 60.0 / Limits.FTokensPerMinute);
    if (Limits.FSubmissionsPerMinute > 0)
        Idle = std::max(Idle, Limits.FSubmissionBurst * 60.0 / Limits.FSubmissionsPerMinute);
    const auto Moved = MovedClock();
    const bool Sweep = SweepDue();
    const TLease Connection(*this);
    for (int Tries = 0;; ++Tries)
    {
        const std::string Token = RandomToken();
        try
        {
            const TResult Result =
                Run(*Connection, "issue",
                    {Client, Token, Moved ? std::optional(Number(*Moved)) : std::nullopt,
                     Number(Limits.FTokensPerMinute), Number(Limits.FTokenBurst),
                     std::to_string(Limits.FPendingTokens), std::to_string(Limits.FTokenLifetimeSeconds),
                     Sweep ? "true" : "false", Number(Idle + 1)},
                    "cannot issue a token");
            const int Outcome = static_cast<int>(Integer(Result.get(), 0, 0));
            const int Wait = static_cast<int>(Integer(Result.get(), 0, 1));
            if (Outcome == 1)
                return TIssueResult{EIssue::TooFast, {}, Wait};
            if (Outcome == 2)
                return TIssueResult{EIssue::TooManyPending, {}, Wait};
            return TIssueResult{EIssue::Issued, Token, 0};
        }
        catch (const TStoreError&)
        {
            // A repeat of a token held is all but impossible, but must not share its row: draw again.
            if (Tries >= 3 || PQstatus(*Connection) != CONNECTION_OK)
                throw;
        }
    }
}

TSubmitResult TPostgresStore::Submit(const std::string& Token, const TScoreRow& Row)
{
    const TStoreLimits& Limits = FOptions.FLimits;
    const auto Moved = MovedClock();
    const TLease Connection(*this);
    const TResult Result =
        Run(*Connection, "submit",
            {Token, Row.FName, std::to_string(Row.FScore), Row.FOnlineName, std::to_string(Row.FTime),
             Row.FClient, Moved ? std::optional(Number(*Moved)) : std::nullopt,
             Number(Limits.FSubmissionsPerMinute), Number(Limits.FSubmissionBurst),
             std::to_string(Limits.FTokenLifetimeSeconds)},
            "cannot store a score");
    const int Wait = static_cast<int>(Integer(Result.get(), 0, 1));
    switch (Integer(Result.get(), 0, 0))
    {
    case 0: return TSubmitResult{ESubmit::Stored, 0};
    case 1: return TSubmitResult{ESubmit::UnknownToken, 0};
    case 2: return TSubmitResult{ESubmit::ExpiredToken, 0};
    default: return TSubmitResult{ESubmit::TooMany, Wait};
    }
}

void TPostgresStore::Add(const TScoreRow& Row)
{
    const TLease Connection(*this);
    Run(*Connection, "add",
        {Row.FName, std::to_string(Row.FScore), Row.FOnlineName, std::to_string(Row.FTime), Row.FClient,
         std::to_string(static_cast<int>(Row.FCheck))},
        "cannot store a score");
}

std::vector<TScoreRow> TPostgresStore::Top(int Limit, ERows Which) const
{
    const TLease Connection(*this);
    const TResult Result = Run(*Connection, Which == ERows::Verified ? "top_verified" : "top",
                               {std::to_string(Limit)}, "cannot read the scores");
    std::vector<TScoreRow> Rows;
    for (int Row = 0; Row < PQntuples(Result.get()); ++Row)
        Rows.push_back(TScoreRow{PQgetvalue(Result.get(), Row, 0), Integer(Result.get(), Row, 1),
                                 PQgetvalue(Result.get(), Row, 2), Integer(Result.get(), Row, 3),
                                 PQgetvalue(Result.get(), Row, 4),
                                 static_cast<ECheck>(Integer(Result.get(), Row, 5))});
    return Rows;
}

TClaimResult TPostgresStore::ClaimRun(const std::string& Token)
{
    const TLease Connection(*this);
    TClaimResult Claim;
    const TResult Claimed = Run(*Connection, "claim", {Token}, "cannot claim a score");
    if (PQntuples(Claimed.get()) == 1)
    {
        Claim.FOutcome = EClaim::Claimed;
        Claim.FId = Integer(Claimed.get(), 0, 0);
        Claim.FRow = TScoreRow{PQgetvalue(Claimed.get(), 0, 1), Integer(Claimed.get(), 0, 2),
                               PQgetvalue(Claimed.get(), 0, 3), Integer(Claimed.get(), 0, 4),
                               PQgetvalue(Claimed.get(), 0, 5), ECheck::Checking};
        return Claim;
    }
    const TResult Found = Run(*Connection, "find_run", {Token}, "cannot find a score");
    Claim.FOutcome = PQntuples(Found.get()) == 1 ? EClaim::AlreadySent : EClaim::UnknownToken;
    return Claim;
}

void TPostgresStore::SetCheck(std::int64_t Id, ECheck Check, const std::string& Reason)
{
    const TLease Connection(*this);
    Run(*Connection, "set_check", {std::to_string(Id), std::to_string(static_cast<int>(Check)), Reason},
        "cannot mark a score");
}

std::int64_t TPostgresStore::Count() const
{
    const TLease Connection(*this);
    return Integer(Run(*Connection, "count", {}, "cannot count the scores").get(), 0, 0);
}

std::int64_t TPostgresStore::TokenCount() const
{
    const TLease Connection(*this);
    return Integer(Run(*Connection, "tokens", {}, "cannot count the tokens").get(), 0, 0);
}

bool TPostgresStore::Ping() const
{
    try
    {
        const TLease Connection(*this);
        Run(*Connection, "ping", {}, "cannot reach the database");
        return true;
    }
    catch (const TStoreError&)
    {
        return false;
    }
}

} // namespace vm::scored
