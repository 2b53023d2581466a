// The program's one page table. A new page adds its routines here, in its state's row.
#include "pages/page_rows.h"

#include "pages/add_player_screen.h"
#include "pages/car_screen.h"
#include "pages/controls_screen.h"
#include "pages/exit_question_screen.h"
#include "pages/help_screen.h"
#include "pages/high_score_screens.h"
#include "pages/logo_screen.h"
#include "pages/main_menu_screen.h"
#include "pages/options_screen.h"
#include "pages/profile_screens.h"
#include "pages/replays_screen.h"
#include "pages/track_screen.h"
#include "race/race_frame.h"
#include "race/race_screens.h"
#include "race/race_setup.h"
#include "state/game_state.h"

namespace vm {

namespace {

TPageRows MakeRows()
{
    TPageRows Rows{};
    auto Row = [&Rows](int State, TPageRoutines Routines) {
        Rows[static_cast<std::size_t>(State)] = Routines;
    };
    // The front end.
    Row(ssLogo, {EnterLogo, LogoFrame, LeaveLogo});
    Row(ssAddPlayer, {EnterAddPlayer, AddPlayerFrame, LeaveAddPlayer});
    Row(ssMainMenu, {EnterMainMenu, MainMenuFrame, LeaveMainMenu});
    Row(ssHelp, {EnterHelp, HelpFrame, LeaveHelp});
    Row(ssOptions, {EnterOptions, OptionsFrame, LeaveOptions});
    Row(ssControls, {EnterControls, ControlsFrame, LeaveControls});
    Row(ssHighScores, {EnterHighScores, HighScoresFrame, LeaveHighScores});
    Row(ssReplays, {EnterReplays, ReplaysFrame, LeaveReplays});
    Row(ssClearHighScores, {EnterClearHighScores, ClearHighScoresFrame, LeaveClearHighScores});
    Row(ssExitQuestion, {EnterExitQuestion, ExitQuestionFrame, LeaveExitQuestion});
    Row(ssChooseTrack, {EnterChooseTrack, ChooseTrackFrame, LeaveChooseTrack});
    Row(ssChooseCar, {EnterChooseCar, ChooseCarFrame, LeaveChooseCar});
    Row(ssAddProfile, {EnterAddProfile, AddProfileFrame, LeaveAddProfile});
    Row(ssChooseProfile, {EnterChooseProfile, ChooseProfileFrame, LeaveChooseProfile});
    Row(ssDeleteProfile, {EnterDeleteProfile, DeleteProfileFrame, LeaveDeleteProfile});
    // The program closes from here: the frames draw black until the window goes.
    Row(ssExit, {EnterExit, nullptr, nullptr});
    // The race and the pages over it.
    Row(ssRace, {EnterRace, RaceFrame, LeaveRace});
    Row(ssRaceExitQuestion, {EnterRaceExitQuestion, RaceExitQuestionFrame, LeaveRaceExitQuestion});
    Row(ssPause, {EnterPause, PauseFrame, LeavePause});
    Row(ssWrecked, {EnterWreck, WreckFrame, nullptr});
    Row(ssRaceOver, {EnterRaceOver, RaceOverFrame, LeaveRaceOver});
    Row(ssTimesUp, {EnterTimesUp, RunEndFrame, LeaveRunEnd});
    Row(ssGameOver, {EnterGameOver, RunEndFrame, LeaveRunEnd});
    Row(ssGameComplete, {EnterGameComplete, GameCompleteFrame, nullptr});
    Row(ssYourScore, {EnterYourScore, YourScoreFrame, LeaveFinalScore});
    Row(ssSendScore, {EnterSendScore, SendScoreFrame, LeaveSendScore});
    return Rows;
}

} // namespace

const TPageRows& GamePages()
{
    static const TPageRows Rows = MakeRows();
    return Rows;
}

} // namespace vm
