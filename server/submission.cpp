// Taking apart and checking the score text of a submission.
#include "submission.h"

#include "common/line_codec.h"
#include "common/player_name.h"
#include "common/score_protocol.h"

#include <array>
#include <vector>

namespace vm::scored {

namespace {

// The longest encoded text taken: far more than any legal submission needs.
constexpr std::size_t MaxEncodedLength = 1024;

// "key=value": the value (perhaps empty) when the field has exactly this key.
std::optional<std::string_view> FieldValue(std::string_view Field, std::string_view Key)
{
    if (Field.size() < Key.size() + 1 || Field.substr(0, Key.size()) != Key || Field[Key.size()] != '=')
        return std::nullopt;
    return Field.substr(Key.size() + 1);
}

std::optional<std::int64_t> ParseScore(std::string_view Text)
{
    // Nine digits at most keeps the value in range and leaves no room for overflow.
    if (Text.empty() || Text.size() > 9)
        return std::nullopt;
    std::int64_t Value = 0;
    for (const char C : Text)
    {
        if (C < '0' || C > '9')
            return std::nullopt;
        Value = Value * 10 + (C - '0');
    }
    return Value;
}

TSubmissionCheck Refuse(std::string Reason) { return TSubmissionCheck{std::nullopt, std::move(Reason)}; }

} // namespace

TSubmissionCheck CheckSubmission(std::string_view EncodedInf)
{
    // DecodeLine skips foreign symbols and pads short texts with zero bytes; a text the game made
    // has neither, so both are refused here rather than read as something else.
    if (EncodedInf.empty() || EncodedInf.size() > MaxEncodedLength)
        return Refuse("bad length");
    if (EncodedInf.size() % 8 != 0)
        return Refuse("bad length");
    if (EncodedInf.find_first_not_of(LineAlphabet) != std::string_view::npos)
        return Refuse("bad symbol");
    const std::string Text = DecodeLine(EncodedInf);

    std::vector<std::string_view> Fields;
    std::string_view Rest = Text;
    for (;;)
    {
        const std::size_t Bar = Rest.find('|');
        Fields.push_back(Rest.substr(0, Bar));
        if (Bar == std::string_view::npos)
            break;
        Rest.remove_prefix(Bar + 1);
    }
    static constexpr std::array<std::string_view, 7> Keys = {"type", "name", "score", "key", "p", "add", "z"};
    if (Fields.size() != Keys.size())
        return Refuse("wrong number of fields");
    std::array<std::string_view, 7> Values;
    for (std::size_t I = 0; I < Keys.size(); ++I)
    {
        if (const auto Value = FieldValue(Fields[I], Keys[I]))
            Values[I] = *Value;
        else
            return Refuse("unexpected field");
    }

    if (Values[0] != "0")
        return Refuse("unknown type");
    if (Values[6].find_first_not_of('0') != std::string_view::npos)
        return Refuse("bad padding");
    if (Values[3].size() != 1 || Values[3][0] != ScoreKeyLetter)
        return Refuse("bad key");
    const auto Score = ParseScore(Values[2]);
    if (!Score)
        return Refuse("bad score");
    auto Name = CleanName(Values[1], 1, MaxNameCharacters);
    if (!Name)
        return Refuse("bad name");
    auto OnlineName = CleanName(Values[5], 0, MaxNameCharacters);
    if (!OnlineName)
        return Refuse("bad online name");
    return TSubmissionCheck{
        TSubmission{std::move(*Name), *Score, std::string(Values[4]), std::move(*OnlineName)}, {}};
}

} // namespace vm::scored
