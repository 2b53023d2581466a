// One-use tokens handed out by the version reply and redeemed by a score submission.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vm::scored {

// Thread safe: every member may be called from any thread. Memory is bounded by the capacity:
// expired tokens are dropped when new ones are issued, and when the book is still full the oldest
// token goes.
class TTokenBook
{
public:
    using TClock = std::function<std::chrono::steady_clock::time_point()>;

    enum class ERedeem
    {
        Accepted, // the token was known and fresh; it is used up now
        Unknown,  // never issued, already used, or dropped to make room
        Expired,  // issued but older than the lifetime; it is forgotten now
    };

    static constexpr std::size_t TokenLength = 16;
    static constexpr std::chrono::seconds DefaultLifetime{600};
    static constexpr std::size_t DefaultCapacity = 100000;

    // Clock: read for every issue and redemption (tests pass a clock they move by hand).
    explicit TTokenBook(TClock Clock = std::chrono::steady_clock::now,
                        std::chrono::steady_clock::duration Lifetime = DefaultLifetime,
                        std::size_t Capacity = DefaultCapacity);

    // A fresh token of TokenLength letters and digits from the system's random source.
    std::string Issue();
    // Checks the token and, when it is accepted, uses it up: a token is accepted at most once.
    ERedeem Redeem(std::string_view Token);
    // Tokens held now, expired ones not yet dropped included.
    std::size_t Size() const;

private:
    struct TEntry
    {
        std::string FToken;
        std::chrono::steady_clock::time_point FIssued;
    };

    void DropExpired(std::chrono::steady_clock::time_point Now);
    void Erase(std::map<std::uint64_t, TEntry>::iterator It);

    TClock FClock;
    std::chrono::steady_clock::duration FLifetime;
    std::size_t FCapacity;
    mutable std::mutex FMutex;
    std::random_device FRandom;
    std::uint64_t FNextSequence = 0;
    // Tokens in the order they were issued (oldest first), and each token's place in that order.
    std::map<std::uint64_t, TEntry> FByAge;
    std::unordered_map<std::string, std::uint64_t> FByToken;
};

} // namespace vm::scored
