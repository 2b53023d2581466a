// Where a finished run's score goes: the local high-score table and the online table.
#pragma once

#include <string>

namespace vm {

// The game calls these when a run ends; the object must outlive the game.
class IScoreService
{
public:
    virtual ~IScoreService() = default;
    // Enters Score for Name in the local table; true when it reached the table.
    virtual bool EnterHighScore(const std::string& Name, int Score) = 0;
    // Sends the score to the online table (blocking); tells the player of a failure or a refusal.
    virtual void SendScore(const std::string& Name, int Score) = 0;
};

// Keeps nothing: the default until the score tables are built.
class TNoScoreService : public IScoreService
{
public:
    bool EnterHighScore(const std::string&, int) override { return false; }
    void SendScore(const std::string&, int) override {}
};

} // namespace vm
