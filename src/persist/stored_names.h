// The names the game stores (profile, player and online names): the online table's rule, and what
// the settings file keeps whole.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace vm {

// Whether a name the player types may hold Code: a name character of the online table, and not
// the settings file's padding "%" (a name ending in it would come back shorter).
bool IsStoredNameCharacter(char32_t Code);

// Text trimmed of blanks when it is a name of MinCharacters..MaxNameCharacters characters made
// only of stored-name characters; nothing otherwise.
std::optional<std::string> StoredName(const std::string& Text, std::size_t MinCharacters);

// What of a name read from an older file follows the rule: the characters it refuses (and bytes
// that are no UTF-8) left out, then cut to MaxNameCharacters characters.
std::string UsableNamePart(const std::string& Name);

} // namespace vm
