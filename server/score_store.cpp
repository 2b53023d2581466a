// Opening a store by its location, and the parts both stores share: buckets, tokens, shown names.
#include "score_store.h"

#include "postgres_store.h"
#include "sqlite_store.h"

#include <sys/random.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <string_view>

namespace vm::scored {

namespace {

constexpr std::string_view TokenSymbols = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

bool IsPostgresLocation(const std::string& Location)
{
    return Location.starts_with("postgresql://") || Location.starts_with("postgres://");
}

} // namespace

std::unique_ptr<TScoreStore> OpenStore(const std::string& Location, const TStoreOptions& Options)
{
    if (IsPostgresLocation(Location))
        return std::make_unique<TPostgresStore>(Location, Options);
    return std::make_unique<TSqliteStore>(Location, Options);
}

std::string ShownLocation(const std::string& Location)
{
    if (!IsPostgresLocation(Location))
        return Location;
    std::string Shown = Location;
    // The user information ends at the last "@" before the host part: "user:password@".
    const std::size_t Start = Shown.find("://") + 3;
    const std::size_t HostEnd = std::min(Shown.find_first_of("/?", Start), Shown.size());
    const std::size_t At = Shown.rfind('@', HostEnd);
    if (At != std::string::npos && At >= Start)
    {
        const std::size_t Colon = Shown.find(':', Start);
        if (Colon != std::string::npos && Colon < At)
            Shown.replace(Colon + 1, At - Colon - 1, "***");
    }
    // A password may also come as a query parameter.
    for (std::size_t Key = Shown.find("password=", Start); Key != std::string::npos;
         Key = Shown.find("password=", Key + 1))
    {
        if (Shown[Key - 1] != '?' && Shown[Key - 1] != '&')
            continue;
        const std::size_t Value = Key + 9;
        const std::size_t End = std::min(Shown.find('&', Value), Shown.size());
        Shown.replace(Value, End - Value, "***");
    }
    return Shown;
}

double BucketLevel(double Level, double At, double Now, double PerMinute, double Size)
{
    // A clock that went back refills nothing (and takes nothing away).
    return std::min(Size, Level + std::max(0.0, Now - At) * PerMinute / 60.0);
}

int BucketWait(double Level, double PerMinute)
{
    const double Seconds = std::ceil((1.0 - Level) * 60.0 / PerMinute);
    return static_cast<int>(std::clamp(Seconds, 1.0, 86400.0));
}

int PendingWait(double Oldest, double Now, int LifetimeSeconds)
{
    return static_cast<int>(std::clamp(std::ceil(Oldest + LifetimeSeconds - Now), 1.0, 86400.0));
}

std::string RandomToken()
{
    std::string Token;
    unsigned char Bytes[32];
    while (Token.size() < TokenLength)
    {
        const ssize_t Got = getrandom(Bytes, sizeof Bytes, 0);
        if (Got < 0)
        {
            if (errno == EINTR)
                continue;
            throw TStoreError("the system's random source failed");
        }
        // Bytes of 248 and above are dropped, so every symbol is equally likely.
        for (ssize_t I = 0; I < Got && Token.size() < TokenLength; ++I)
            if (Bytes[I] < 4 * TokenSymbols.size())
                Token += TokenSymbols[Bytes[I] % TokenSymbols.size()];
    }
    return Token;
}

} // namespace vm::scored
