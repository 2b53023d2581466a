// Screen-state dispatch (enter, leave, frame) and the race clock.
#include "shell/game.h"

#include "race/race_frame.h"
#include "race/race_screens.h"
#include "race/race_setup.h"
#include "screens/add_player_screen.h"
#include "screens/car_screen.h"
#include "screens/exit_question_screen.h"
#include "screens/help_screen.h"
#include "screens/high_score_screens.h"
#include "screens/logo_screen.h"
#include "screens/main_menu_screen.h"
#include "screens/options_screen.h"
#include "screens/profile_screens.h"
#include "screens/track_screen.h"

namespace vm {

void TGame::EnterState(int Which)
{
    const int StateId = Which & 0x7F;
    switch (StateId)
    {
    case ssRaceExitQuestion: EnterRaceExitQuestion(*this); break;
    case ssAddPlayer: EnterAddPlayer(*this); break;
    case ssLogo: EnterLogo(*this); break;
    case ssMainMenu: EnterMainMenu(*this); break;
    case ssHelp: EnterHelp(*this); break;
    case ssOptions: EnterOptions(*this); break;
    case ssHighScores: EnterHighScores(*this); break;
    case ssClearHighScores: EnterClearHighScores(*this); break;
    case ssExitQuestion: EnterExitQuestion(*this); break;
    case ssRace: EnterRace(*this); break;
    case ssChooseTrack: EnterChooseTrack(*this); break;
    case ssChooseCar: EnterChooseCar(*this); break;
    case ssAddProfile: EnterAddProfile(*this); break;
    case ssChooseProfile: EnterChooseProfile(*this); break;
    case ssDeleteProfile: EnterDeleteProfile(*this); break;
    case ssExit: EnterExit(*this); break;
    case ssGameOver: EnterGameOver(*this); break;
    case ssGameComplete: EnterGameComplete(*this); break;
    case ssRaceOver: EnterRaceOver(*this); break;
    case ssPause: EnterPause(*this); break;
    case ssTimesUp: EnterTimesUp(*this); break;
    case ssYourScore: EnterYourScore(*this); break;
    case ssSendScore: EnterSendScore(*this); break;
    case ssWrecked: EnterWreck(*this); break;
    default: EnterUnbuiltState(StateId); break;
    }
}

void TGame::LeaveState(int Which)
{
    switch (Which & 0x7F)
    {
    case ssRaceExitQuestion: LeaveRaceExitQuestion(*this); break;
    case ssAddPlayer: LeaveAddPlayer(*this); break;
    case ssLogo: LeaveLogo(*this); break;
    case ssMainMenu: LeaveMainMenu(*this); break;
    case ssHelp: LeaveHelp(*this); break;
    case ssOptions: LeaveOptions(*this); break;
    case ssHighScores: LeaveHighScores(*this); break;
    case ssClearHighScores: LeaveClearHighScores(*this); break;
    case ssExitQuestion: LeaveExitQuestion(*this); break;
    case ssRace: LeaveRace(*this); break;
    case ssChooseTrack: LeaveChooseTrack(*this); break;
    case ssChooseCar: LeaveChooseCar(*this); break;
    case ssAddProfile: LeaveAddProfile(*this); break;
    case ssChooseProfile: LeaveChooseProfile(*this); break;
    case ssDeleteProfile: LeaveDeleteProfile(*this); break;
    case ssGameOver:
    case ssTimesUp: LeaveRunEnd(*this); break;
    case ssRaceOver: LeaveRaceOver(*this); break;
    case ssPause: LeavePause(*this); break;
    case ssYourScore:
    case ssSendScore: LeaveFinalScore(*this); break;
    default: break;
    }
}

void TGame::StateFrame(int Which)
{
    switch (Which & 0x7F)
    {
    case ssRaceExitQuestion: RaceExitQuestionFrame(*this); break;
    case ssAddPlayer: AddPlayerFrame(*this); break;
    case ssLogo: LogoFrame(*this); break;
    case ssMainMenu: MainMenuFrame(*this); break;
    case ssHelp: HelpFrame(*this); break;
    case ssOptions: OptionsFrame(*this); break;
    case ssHighScores: HighScoresFrame(*this); break;
    case ssClearHighScores: ClearHighScoresFrame(*this); break;
    case ssExitQuestion: ExitQuestionFrame(*this); break;
    case ssRace: RaceFrame(*this); break;
    case ssChooseTrack: ChooseTrackFrame(*this); break;
    case ssChooseCar: ChooseCarFrame(*this); break;
    case ssAddProfile: AddProfileFrame(*this); break;
    case ssChooseProfile: ChooseProfileFrame(*this); break;
    case ssDeleteProfile: DeleteProfileFrame(*this); break;
    case ssGameOver:
    case ssTimesUp: RunEndFrame(*this); break;
    case ssRaceOver: RaceOverFrame(*this); break;
    case ssGameComplete: GameCompleteFrame(*this); break;
    case ssPause: PauseFrame(*this); break;
    case ssYourScore: YourScoreFrame(*this); break;
    case ssSendScore: SendScoreFrame(*this); break;
    case ssWrecked: WreckFrame(*this); break;
    default:
        ++State.StateTicks;
        DrawEmptyFrame();
        break;
    }
}

void TGame::RaceTimerTimer()
{
    // Time driven since the green light, kept apart from the clock that time pickups move.
    ++Race.FRaceTicks;
    if (State.TimeHundredths > 0)
    {
        --State.TimeHundredths;
        return;
    }
    if (State.TimeSeconds > 0)
    {
        if (State.TimeSeconds <= 10 && State.TimeMinutes == 0)
            Sound3D.PlaySound("time");
        --State.TimeSeconds;
        State.TimeHundredths = 99;
        return;
    }
    if (State.TimeMinutes > 0)
    {
        --State.TimeMinutes;
        State.TimeSeconds = 59;
        State.TimeHundredths = 99;
        return;
    }
    EnterState(ssTimesUp);
}

} // namespace vm
