// The fading logo shown once at start-up.
#pragma once

namespace vm {

class TGame;

void EnterLogo(TGame& Game);
void LogoFrame(TGame& Game);
void LeaveLogo(TGame& Game);

} // namespace vm
