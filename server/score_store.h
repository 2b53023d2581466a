// The store behind the score service: scores, one-use tokens and per-address limits in one database.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vm::scored {

// Where a row stands with its run's recording. The numbers are stored.
enum class ECheck : int
{
    Unchecked = 0, // no recording came (yet)
    Verified = 1,  // the recording played to this row's score and name
    Kept = 2,      // the recording was kept unplayed (another version of the game); unverified
    Refused = 3,   // the recording did not play to this row: unverified for good
    Checking = 4,  // a recording was taken and is being played
};

struct TScoreRow
{
    std::string FName;
    std::int64_t FScore = 0;
    std::string FOnlineName;
    std::int64_t FTime = 0; // seconds since 1970 (UTC)
    std::string FClient;    // the client's address
    ECheck FCheck = ECheck::Unchecked;
};

// Which rows a table shows.
enum class ERows
{
    Verified, // only rows whose recording played to them
    All,
};

enum class EClaim
{
    Claimed,      // the row is Checking now: this upload alone plays it
    UnknownToken, // no row was stored with the token
    AlreadySent,  // the row's recording came before (or is being played)
};

// The row a token stored, taken for playing its recording.
struct TClaimResult
{
    EClaim FOutcome = EClaim::UnknownToken;
    std::int64_t FId = 0; // Claimed: the row's key for SetCheck
    TScoreRow FRow;       // Claimed: the row as stored
};

// Thrown with a one-line message when the database cannot be opened, written or read.
class TStoreError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// What one address may do. A rate of 0 (or a pending cap of 0) turns that limit off.
struct TStoreLimits
{
    double FTokensPerMinute = 60;      // the token bucket's refill rate
    double FTokenBurst = 120;          // the token bucket's size
    int FPendingTokens = 200;          // unredeemed, unexpired tokens an address may hold
    double FSubmissionsPerMinute = 30; // the submission bucket's refill rate
    double FSubmissionBurst = 60;      // the submission bucket's size
    int FTokenLifetimeSeconds = 600;   // a token is refused once it is this old
};

struct TStoreOptions
{
    TStoreLimits FLimits;
    // PostgreSQL: connections kept open, one per thread that serves requests at once.
    int FConnections = 4;
    // The store's time in seconds since 1970 when set (tests move it); empty: the database's own
    // clock (PostgreSQL's, the system's for SQLite), so instances with skewed clocks agree.
    std::function<std::optional<double>()> FClock;
};

enum class EIssue
{
    Issued,
    TooFast,        // the address's token bucket is empty
    TooManyPending, // the address holds too many unredeemed, unexpired tokens
};

struct TIssueResult
{
    EIssue FOutcome = EIssue::Issued;
    std::string FToken;  // Issued: TokenLength letters and digits
    int FRetryAfter = 0; // refusals: whole seconds to wait before asking again (at least 1)
};

enum class ESubmit
{
    Stored,
    UnknownToken, // never issued, already redeemed, or swept away long after it expired
    ExpiredToken, // issued but too old; it is forgotten now
    TooMany,      // the submitting address's bucket is empty; the token stays usable
};

struct TSubmitResult
{
    ESubmit FOutcome = ESubmit::Stored;
    int FRetryAfter = 0; // TooMany: whole seconds to wait (at least 1)
};

inline constexpr std::size_t TokenLength = 16;

// Every member may be called from many threads at once, and several stores (server instances) may
// share one database: tokens, limits and rows are kept only in the database. Failures of the
// database throw TStoreError; a refusal is a result, never an exception.
class TScoreStore
{
public:
    virtual ~TScoreStore() = default;

    // A fresh random token for Client, unless the address's limits refuse it. Expired tokens are
    // deleted now and then, so the tokens kept stay bounded; no other address's token is dropped.
    virtual TIssueResult IssueToken(const std::string& Client) = 0;
    // Redeems Token and stores Row in one transaction: both or neither, and the row is committed
    // before Stored is returned. A token is redeemed at most once across every store sharing the
    // database. Row.FClient is the address whose submission bucket is charged.
    virtual TSubmitResult Submit(const std::string& Token, const TScoreRow& Row) = 0;
    // Stores one row without a token (its FCheck included).
    virtual void Add(const TScoreRow& Row) = 0;
    // The best Limit rows of Which: highest score first, equal scores newest first.
    virtual std::vector<TScoreRow> Top(int Limit, ERows Which = ERows::All) const = 0;
    // Takes the row the token was redeemed for, once: only an Unchecked row is claimed, and it is
    // Checking from then on, across every store sharing the database.
    virtual TClaimResult ClaimRun(const std::string& Token) = 0;
    // Sets the claimed row's standing, with the reason it is not verified ("" when it is).
    virtual void SetCheck(std::int64_t Id, ECheck Check, const std::string& Reason) = 0;
    virtual std::int64_t Count() const = 0;
    // Tokens held now, expired ones not yet deleted included.
    virtual std::int64_t TokenCount() const = 0;
    // True when the database answers now and is still the one opened; never throws.
    virtual bool Ping() const = 0;
};

// Opens the store at Location: "postgresql://..." or "postgres://..." is a PostgreSQL database, any
// other text the name of an SQLite file. Creates or migrates the schema; throws TStoreError with one
// line naming the location (never its password) when the database cannot be used.
std::unique_ptr<TScoreStore> OpenStore(const std::string& Location, const TStoreOptions& Options = {});

// Location as it may be shown: the password of a PostgreSQL URI replaced by "***".
std::string ShownLocation(const std::string& Location);

// A token bucket of Size holding Level at time At, refilled at PerMinute: its level at Now.
double BucketLevel(double Level, double At, double Now, double PerMinute, double Size);
// Whole seconds (at least 1) until a bucket at Level holds one unit again.
int BucketWait(double Level, double PerMinute);

// Whole seconds (at least 1) until a token issued at Oldest expires.
int PendingWait(double Oldest, double Now, int LifetimeSeconds);

// TokenLength letters and digits from the system's random source, every symbol equally likely.
std::string RandomToken();

} // namespace vm::scored
