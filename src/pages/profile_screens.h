// The profile pages: adding, choosing and deleting player profiles.
#pragma once

namespace vm {

class TGame;

void EnterAddProfile(TGame& Game);
void AddProfileFrame(TGame& Game);
void LeaveAddProfile(TGame& Game);
void EnterChooseProfile(TGame& Game);
void ChooseProfileFrame(TGame& Game);
void LeaveChooseProfile(TGame& Game);
void EnterDeleteProfile(TGame& Game);
void DeleteProfileFrame(TGame& Game);
void LeaveDeleteProfile(TGame& Game);

} // namespace vm
