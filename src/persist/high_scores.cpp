// The local high-score table: defaults and entering a score.
#include "persist/high_scores.h"

#include "persist/stored_lines.h"

#include <stdexcept>

namespace vm {

THighScoreTable::THighScoreTable() { ResetHighScores(); }

std::size_t THighScoreTable::Index(int P)
{
    if (P < 1 || P > kHighScoreRows)
        throw std::out_of_range("high-score row " + std::to_string(P) + " is outside 1..10");
    return static_cast<std::size_t>(P - 1);
}

THighScoreRow& THighScoreTable::Row(int P) { return FRows[Index(P)]; }

const THighScoreRow& THighScoreTable::Row(int P) const { return FRows[Index(P)]; }

void THighScoreTable::ResetHighScores()
{
    for (int P = 1; P <= kHighScoreRows; ++P)
    {
        THighScoreRow& R = Row(P);
        R.Place = std::to_string(P);
        R.Name = "Anonymous";
        R.ScoreText = std::to_string(1100 - 100 * P);
    }
}

bool THighScoreTable::EnterHighScore(const std::string& PlayerName, std::int32_t Score)
{
    int Place = 0;
    for (int P = 1; P <= kHighScoreRows && Place == 0; ++P)
    {
        if (ParseStoredInt(Row(P).ScoreText).value_or(0) <= Score)
            Place = P;
    }
    if (Place == 0)
        return false;
    // Move rows Place..9 down by one, from the bottom up; the Place texts stay where they are.
    for (int P = kHighScoreRows; P > Place; --P)
    {
        Row(P).Name = std::move(Row(P - 1).Name);
        Row(P).ScoreText = std::move(Row(P - 1).ScoreText);
    }
    Row(Place).Name = PlayerName;
    Row(Place).ScoreText = std::to_string(Score);
    return true;
}

} // namespace vm
