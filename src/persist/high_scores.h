// The local high-score table: ten rows shared by every player on the machine.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vm {

inline constexpr int kHighScoreRows = 10;

// One row. Place is "1".."10" and never changes; ScoreText is the score in decimal.
struct THighScoreRow
{
    std::string Place, Name, ScoreText;
};

// Owned by the game for the whole program; loaded from and saved to the settings file.
class THighScoreTable
{
public:
    // The default rows (as ResetHighScores).
    THighScoreTable();

    // Row P, counted from 1. Throws std::out_of_range outside 1..10 (a programming error).
    THighScoreRow& Row(int P);
    const THighScoreRow& Row(int P) const;

    // Every Name "Anonymous", row p scored 1100 - 100 p ("1000" down to "100").
    void ResetHighScores();

    // Puts Score for PlayerName at the first row whose score is at or below it (so an equal
    // score goes above the old one); the rows from there down move one place, the last row's
    // old values drop out. Returns false, changing nothing, when Score reaches no row.
    // A ScoreText that is not a number (an edited file) counts as 0.
    bool EnterHighScore(const std::string& PlayerName, std::int32_t Score);

private:
    // The array index of row P; throws std::out_of_range outside 1..10.
    static std::size_t Index(int P);

    std::array<THighScoreRow, kHighScoreRows> FRows;
};

} // namespace vm
