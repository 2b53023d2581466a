// The score table as JSON.
#include "score_json.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <ctime>

namespace vm::scored {

namespace {

// Seconds since 1970 as an ISO 8601 time in UTC.
std::string IsoTime(std::int64_t Seconds)
{
    const std::time_t Time = static_cast<std::time_t>(Seconds);
    std::tm Utc{};
    char Text[32] = {};
    if (gmtime_r(&Time, &Utc) == nullptr || std::strftime(Text, sizeof Text, "%Y-%m-%dT%H:%M:%SZ", &Utc) == 0)
        return "";
    return Text;
}

} // namespace

std::string RenderScoreJson(const std::vector<TScoreRow>& Rows)
{
    nlohmann::ordered_json Scores = nlohmann::ordered_json::array();
    int Rank = 0;
    for (const TScoreRow& Row : Rows)
        Scores.push_back({{"rank", ++Rank},
                          {"name", Row.FName},
                          {"score", Row.FScore},
                          {"online_name", Row.FOnlineName},
                          {"time", IsoTime(Row.FTime)},
                          {"verified", Row.FCheck == ECheck::Verified}});
    const nlohmann::ordered_json Table = {{"scores", std::move(Scores)}};
    return Table.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

int ParseScoreLimit(const std::string& Text, int Most)
{
    int Value = 0;
    const char* End = Text.data() + Text.size();
    const auto [Stop, Code] = std::from_chars(Text.data(), End, Value);
    if (Text.empty() || Code != std::errc{} || Stop != End || Value < 1 || Value > Most)
        return 0;
    return Value;
}

} // namespace vm::scored
