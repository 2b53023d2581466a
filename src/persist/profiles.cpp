// The player profiles: adding, choosing and deleting them.
#include "persist/profiles.h"

#include "persist/stored_names.h"

#include <algorithm>

namespace vm {

std::string TProfiles::TrimBlanks(const std::string& Text)
{
    const std::size_t First = Text.find_first_not_of(' ');
    if (First == std::string::npos)
        return {};
    return Text.substr(First, Text.find_last_not_of(' ') - First + 1);
}

std::int32_t TProfiles::Count() const { return std::clamp(FProfileCount, 0, kMaxProfiles); }

void TProfiles::MakeCurrent(std::int32_t Index, std::string& PlayerName)
{
    FCurrentProfile = Index;
    const TProfile& Profile = FProfiles[static_cast<std::size_t>(Index)];
    PlayerName = Profile.Name;
    FProfileTag = Profile.ProfileTag;
}

bool TProfiles::AddFirstProfile(const std::string& Text, std::string& PlayerName)
{
    const std::optional<std::string> Name = StoredName(Text, 1);
    if (!Name)
        return false;
    FProfiles[0].Name = *Name;
    FProfileCount = 1;
    MakeCurrent(0, PlayerName);
    return true;
}

bool TProfiles::AddProfile(const std::string& Text, std::string& PlayerName)
{
    const std::int32_t N = Count();
    if (N >= kMaxProfiles)
        return false;
    const std::optional<std::string> Name = StoredName(Text, 1);
    if (!Name)
        return false;
    // The slot keeps the tag it holds (a freed last slot holds 1).
    FProfiles[static_cast<std::size_t>(N)].Name = *Name;
    FProfileCount = N + 1;
    MakeCurrent(N, PlayerName);
    return true;
}

void TProfiles::SelectProfile(std::string& PlayerName)
{
    const std::int32_t N = Count();
    if (N == 0)
    {
        FCurrentProfile = 0;
        FProfileCursor = 0;
        PlayerName.clear();
        return;
    }
    FProfileCursor = std::clamp(FProfileCursor, 0, N - 1);
    MakeCurrent(FProfileCursor, PlayerName);
}

void TProfiles::DeleteProfile(std::string& PlayerName)
{
    const std::int32_t N = Count();
    if (N == 0)
        return;
    const std::int32_t C = std::clamp(FProfileCursor, 0, N - 1);
    FProfileCursor = C;
    FCurrentProfile = std::clamp(FCurrentProfile, 0, N - 1);
    if (C == N - 1)
    {
        // The last entry: clear it; the cursor (and the current profile, when it was this one)
        // moves to the entry before.
        FProfiles[static_cast<std::size_t>(C)].Name.clear();
        FProfiles[static_cast<std::size_t>(C)].ProfileTag = 1;
        if (N > 1)
        {
            if (FCurrentProfile == C)
                FCurrentProfile = C - 1;
            FProfileCursor = C - 1;
        }
    }
    else
    {
        // An entry before the current one: the current profile moves up with the others. The old
        // last slot's name is cleared; its tag stays.
        if (C < FCurrentProfile)
            FCurrentProfile -= 1;
        for (std::int32_t I = C; I < N - 1; ++I)
            FProfiles[static_cast<std::size_t>(I)] = FProfiles[static_cast<std::size_t>(I + 1)];
        FProfiles[static_cast<std::size_t>(N - 1)].Name.clear();
    }
    FProfileCount = N - 1;
    MakeCurrent(FCurrentProfile, PlayerName);
}

} // namespace vm
