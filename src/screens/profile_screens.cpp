// Screens 21, 22 and 23: adding, choosing and deleting player profiles.
#include "screens/profile_screens.h"

#include "shell/game.h"

namespace vm {

void EnterAddProfile(TGame& Game) { Game.EnterUnbuiltState(ssAddProfile); }
void AddProfileFrame(TGame& Game) { Game.DrawEmptyFrame(); }
void LeaveAddProfile(TGame&) {}
void EnterChooseProfile(TGame& Game) { Game.EnterUnbuiltState(ssChooseProfile); }
void ChooseProfileFrame(TGame& Game) { Game.DrawEmptyFrame(); }
void LeaveChooseProfile(TGame&) {}
void EnterDeleteProfile(TGame& Game) { Game.EnterUnbuiltState(ssDeleteProfile); }
void DeleteProfileFrame(TGame& Game) { Game.DrawEmptyFrame(); }
void LeaveDeleteProfile(TGame&) {}

} // namespace vm
