// One-use tokens with an expiry, bounded in number.
#include "token_book.h"

namespace vm::scored {

namespace {

constexpr std::string_view TokenSymbols = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

} // namespace

TTokenBook::TTokenBook(TClock Clock, std::chrono::steady_clock::duration Lifetime, std::size_t Capacity)
    : FClock(std::move(Clock)), FLifetime(Lifetime), FCapacity(Capacity < 1 ? 1 : Capacity)
{}

std::string TTokenBook::Issue()
{
    const std::lock_guard Lock(FMutex);
    const auto Now = FClock();
    DropExpired(Now);
    while (FByAge.size() >= FCapacity)
        Erase(FByAge.begin());

    // The distribution rejects out-of-range draws, so every symbol is equally likely.
    std::uniform_int_distribution<std::size_t> Pick(0, TokenSymbols.size() - 1);
    std::string Token;
    do
    {
        Token.clear();
        for (std::size_t I = 0; I < TokenLength; ++I)
            Token += TokenSymbols[Pick(FRandom)];
    } while (FByToken.contains(Token)); // a repeat is all but impossible, but must not share a slot

    const std::uint64_t Sequence = FNextSequence++;
    FByAge.emplace(Sequence, TEntry{Token, Now});
    FByToken.emplace(Token, Sequence);
    return Token;
}

TTokenBook::ERedeem TTokenBook::Redeem(std::string_view Token)
{
    const std::lock_guard Lock(FMutex);
    const auto Found = FByToken.find(std::string(Token));
    if (Found == FByToken.end())
        return ERedeem::Unknown;
    const auto Entry = FByAge.find(Found->second);
    const bool Fresh = FClock() - Entry->second.FIssued < FLifetime;
    Erase(Entry);
    return Fresh ? ERedeem::Accepted : ERedeem::Expired;
}

std::size_t TTokenBook::Size() const
{
    const std::lock_guard Lock(FMutex);
    return FByAge.size();
}

void TTokenBook::DropExpired(std::chrono::steady_clock::time_point Now)
{
    // Issue order is age order, so the expired tokens are at the front.
    while (!FByAge.empty() && Now - FByAge.begin()->second.FIssued >= FLifetime)
        Erase(FByAge.begin());
}

void TTokenBook::Erase(std::map<std::uint64_t, TEntry>::iterator It)
{
    FByToken.erase(It->second.FToken);
    FByAge.erase(It);
}

} // namespace vm::scored
