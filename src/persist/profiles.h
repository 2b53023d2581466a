// The player profiles: up to ten named players, one of them current.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vm {

inline constexpr std::int32_t kMaxProfiles = 10;

// ProfileTag is stored with the profile and copied when it becomes current; nothing depends on it.
struct TProfile
{
    std::string Name;
    std::int32_t ProfileTag = 0;
};

// Owned by the game for the whole program; loaded from and saved to the settings file. The
// routines take the game's PlayerName, which they set to the current profile's name as the
// rules say. Indices read from a damaged file are brought into range before use, so no routine
// ever reads past FProfiles.
class TProfiles
{
public:
    std::array<TProfile, kMaxProfiles> FProfiles{}; // packed from index 0
    std::int32_t FProfileCount = 0;                 // profiles in use, 0..10
    std::int32_t FCurrentProfile = 0;               // index of the current profile
    std::int32_t FProfileCursor = 0;                // the entry highlighted on the list pages
    std::int32_t FProfileTag = 0;                   // the current profile's tag, copied

    // The first player's name (first start): trims Text; a name StoredName refuses (empty, too
    // long, or a character the settings file or the online table cannot keep) changes nothing and
    // returns false. Else entry 0 gets the name and becomes the only and current profile.
    bool AddFirstProfile(const std::string& Text, std::string& PlayerName);
    // Adds a profile with the trimmed Text and makes it current. Returns false, changing
    // nothing, when StoredName refuses the name or all ten profiles are in use. Names loaded from
    // an older file are kept as they were, whatever the rule says.
    bool AddProfile(const std::string& Text, std::string& PlayerName);
    // Makes the highlighted profile (FProfileCursor) current. With no profiles PlayerName is
    // cleared.
    void SelectProfile(std::string& PlayerName);
    // Deletes the highlighted profile; the later ones move up one place. The current profile
    // stays the same person when it was not the one deleted; deleting the current profile makes
    // the one moving into its place current (or the one before, when it was the last).
    void DeleteProfile(std::string& PlayerName);

    // Text without leading and trailing blanks (code 32 only; tabs and the like stay).
    static std::string TrimBlanks(const std::string& Text);

private:
    // FProfileCount in 0..10 (a damaged file may hold anything).
    std::int32_t Count() const;
    // Makes entry Index current: copies its name and tag.
    void MakeCurrent(std::int32_t Index, std::string& PlayerName);
};

} // namespace vm
