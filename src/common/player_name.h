// The rule for player names and online names, shared by the game (what it lets a player type and
// what it stores) and the score server (what it takes into the online table).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vm {

// The longest name the online table keeps, counted in characters (code points), not bytes.
inline constexpr std::size_t MaxNameCharacters = 12;

// Whether a name may hold Code: no control character (C0, DEL, C1, the line and paragraph
// separators) and no "|", which separates the fields of the score text.
bool IsNameCharacter(char32_t Code);

// The code points of Text when it is well-formed UTF-8; nothing for any malformed, overlong or
// surrogate sequence, or a value above U+10FFFF.
std::optional<std::u32string> DecodeStrictUtf8(std::string_view Text);

// The name trimmed of blanks (code 32) at both ends when it is valid UTF-8 of
// MinCharacters..MaxCharacters characters, each a name character; nothing otherwise.
std::optional<std::string> CleanName(std::string_view Raw, std::size_t MinCharacters,
                                     std::size_t MaxCharacters);

} // namespace vm
