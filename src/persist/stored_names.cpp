// The names the game stores: the shared name rule with the settings file's padding refused.
#include "persist/stored_names.h"

#include "common/player_name.h"
#include "engine/utf8.h"
#include "persist/stored_lines.h"

namespace vm {

bool IsStoredNameCharacter(char32_t Code)
{
    return IsNameCharacter(Code) && Code != static_cast<char32_t>(kStoredPadding);
}

std::optional<std::string> StoredName(const std::string& Text, std::size_t MinCharacters)
{
    std::optional<std::string> Name = CleanName(Text, MinCharacters, MaxNameCharacters);
    if (Name && Name->find(kStoredPadding) != std::string::npos)
        return std::nullopt;
    return Name;
}

std::string UsableNamePart(const std::string& Name)
{
    std::u32string Kept;
    for (const char32_t Code : DecodeUtf8(Name))
        if (IsStoredNameCharacter(Code) && Kept.size() < MaxNameCharacters)
            Kept.push_back(Code);
    return EncodeUtf8(Kept);
}

} // namespace vm
