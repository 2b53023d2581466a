// Whole first sessions played with one kind of input alone, through velomarch-headless: from the
// logo through naming the first player, the menu, the track and car pages, a race driven to its
// finish, the next race to time's up, the score, and out through the exit question.
#include "persist/high_scores.h"
#include "persist/profiles.h"
#include "persist/settings_file.h"
#include "state/game_state.h"
#include "support/state_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <utility>
#include <vector>

namespace vm {
namespace {

int RunHeadless(const test::TTempDir& Dir, const std::string& Arguments)
{
    // No score server listens on the discard port: the "no" answer never sends anyway.
    const std::string Command = std::string(VM_HEADLESS_BIN) + " --null-renderer --seed 4 --data " +
                                VM_ASSET_DIR + " --workdir " + Dir.Path().string() +
                                " --score-url http://127.0.0.1:9/x " + Arguments;
    const int Status = std::system(Command.c_str());
    return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
}

// The pages a first session goes through, in order, whatever input played it.
const std::vector<int> SessionPages = {ssLogo,      ssAddPlayer,  ssMainMenu, ssChooseTrack,  ssChooseCar,
                                       ssRace,      ssRaceOver,   ssRace,     ssTimesUp,      ssYourScore,
                                       ssSendScore, ssHighScores, ssMainMenu, ssExitQuestion, ssExit};

std::vector<int> PagesOf(const test::TStateJson& State)
{
    std::vector<int> Pages;
    for (const auto& [Frame, Page] : test::ScreensOf(State))
        Pages.push_back(Page);
    return Pages;
}

// What the session left in the settings: the player and the score in the local table.
void ExpectPlayerAndScoreKept(const test::TTempDir& Dir, const std::string& Name, int Score)
{
    TGameState State;
    THighScoreTable Scores;
    TProfiles Profiles;
    std::vector<std::string> Problems;
    LoadSettings(Dir.File("Config.cfg"), State, Scores, Profiles, Problems);
    EXPECT_TRUE(Problems.empty());
    EXPECT_EQ(State.PlayerName, Name);
    bool Found = false;
    for (int Row = 1; Row <= kHighScoreRows; ++Row)
        Found = Found || (Scores.Row(Row).Name == Name && Scores.Row(Row).ScoreText == std::to_string(Score));
    EXPECT_TRUE(Found) << Name << " with " << Score << " is not in the high-score table";
}

// Plays Script with the first race driven by Pilot ("keys" or "pad"), then checks what every
// first session must show: the pages in order, the player named Name, and a score above 0 kept
// with that name in the saved high-score table. The state file comes back for more checks.
test::TStateJson PlayFirstSession(const test::TTempDir& Dir, const std::string& Pilot,
                                  const std::string& Script, const std::string& Name)
{
    {
        std::ofstream Out(Dir.File("script.txt"));
        Out << Script;
    }
    EXPECT_EQ(RunHeadless(Dir, "--first-race-pilot " + Pilot + " --frames 16000 --input " +
                                   Dir.File("script.txt") + " --state " + Dir.File("s.json")),
              0);
    const auto State = test::ReadStateFile(Dir.File("s.json"));
    if (!State.is_object())
    {
        ADD_FAILURE() << "no state file";
        return State;
    }
    EXPECT_EQ(PagesOf(State), SessionPages) << State;
    EXPECT_EQ(State.at("player_name"), Name) << State;
    EXPECT_GT(State.at("score").get<int>(), 0) << State;
    ExpectPlayerAndScoreKept(Dir, Name, State.at("score").get<int>());
    return State;
}

TEST(WholeSession, TheKeyboardAlone)
{
    test::TTempDir Dir;
    // The name, then Down focuses "Start game" and Enter presses it; Enter on the track and
    // car pages. The pilot drives the race with the arrow keys. Tab focuses "Next" on the
    // race-over and score pages; on the send question Tab, Right and Enter answer "No". Esc
    // leaves the high scores and opens the exit question, Enter answers it.
    const std::string Script =
        "440 text Tester\n450 press 13\n"
        "500 press 40\n510 press 13\n600 press 13\n700 press 13\n"
        "7500 press 9\n7510 press 13\n"
        "14400 press 9\n14410 press 13\n14500 press 9\n14510 press 39\n14520 press 13\n"
        "14600 press 27\n14700 press 27\n14800 press 13\n";
    PlayFirstSession(Dir, "keys", Script, "Tester");
}

TEST(WholeSession, APadAlone)
{
    test::TTempDir Dir;
    // The pad is plugged in before the logo ends. On the add-player page the first D-pad
    // press opens the letter grid; "PAD" is picked key by key and DONE adds the player. Down
    // focuses "Start game" and A presses it; A on the track and car pages. The pilot drives
    // the race through the triggers and the stick. Down and A press "Next" on the race-over
    // and score pages; on the send question Down, Right and A answer "No". B leaves the high
    // scores and opens the exit question, A answers it.
    const std::string Script = "1 pad connect\n"
                               "420 pad press dpdown\n"
                               "426 pad press dpdown\n"
                               "432 pad press dpright\n"
                               "438 pad press dpright\n"
                               "444 pad press dpright\n"
                               "450 pad press dpright\n"
                               "456 pad press dpright\n"
                               "462 pad press a\n"
                               "468 pad press dpup\n"
                               "474 pad press dpleft\n"
                               "480 pad press dpleft\n"
                               "486 pad press dpleft\n"
                               "492 pad press dpleft\n"
                               "498 pad press dpleft\n"
                               "504 pad press a\n"
                               "510 pad press dpright\n"
                               "516 pad press dpright\n"
                               "522 pad press dpright\n"
                               "528 pad press a\n"
                               "534 pad press dpdown\n"
                               "540 pad press dpdown\n"
                               "546 pad press dpdown\n"
                               "552 pad press dpright\n"
                               "558 pad press dpright\n"
                               "564 pad press dpright\n"
                               "570 pad press dpright\n"
                               "576 pad press dpright\n"
                               "582 pad press a\n"
                               "628 pad press dpdown\n"
                               "634 pad press a\n"
                               "720 pad press a\n"
                               "806 pad press a\n"
                               "7620 pad press dpdown\n"
                               "7630 pad press a\n"
                               "14520 pad press dpdown\n"
                               "14530 pad press a\n"
                               "14620 pad press dpdown\n"
                               "14630 pad press dpright\n"
                               "14640 pad press a\n"
                               "14720 pad press b\n"
                               "14820 pad press b\n"
                               "14920 pad press a\n";
    const auto State = PlayFirstSession(Dir, "pad", Script, "PAD");
    if (State.is_object())
    {
        EXPECT_EQ(State.at("pads").at("connected"), 1) << State;
    }
}

} // namespace
} // namespace vm
