// Taking apart and checking the score text a game sends with a submission.
#pragma once

#include "common/player_name.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vm::scored {

inline constexpr std::int64_t MaxScore = 999999999;

// A submission whose every field passed its check; the names are trimmed of blanks.
struct TSubmission
{
    std::string FName;
    std::int64_t FScore = 0;
    std::string FToken;
    std::string FOnlineName;
};

// Either a submission or the reason (a short fixed text, never an echo of the input) it was refused.
struct TSubmissionCheck
{
    std::optional<TSubmission> FSubmission;
    std::string FReason;
};

// Checks the encoded "inf" value of a submission: only symbols of the line alphabet, a whole number
// of 5-byte groups, then the fields type, name, score, key, p, add, z in that order. The token is
// only taken out here; whether it is valid is the token book's business.
TSubmissionCheck CheckSubmission(std::string_view EncodedInf);

// Names follow the rule the game shares (common/player_name.h): the same length and characters.
using vm::CleanName;
using vm::MaxNameCharacters;

} // namespace vm::scored
