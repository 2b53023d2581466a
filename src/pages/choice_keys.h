// The keys of the track and car pages: one latched key a frame, in the order Esc, Enter, Right, Left.
#pragma once

#include <functional>

namespace vm {

class TGame;

// Esc plays "check2" (when sound is on), leaves Page and enters the main menu; Enter calls OnEnter;
// Right and Left call OnStep with +1 and -1. True when a key was handled (the page may be gone).
bool HandleChoiceKeys(TGame& Game, int Page, const std::function<void()>& OnEnter,
                      const std::function<void(int Step)>& OnStep);

} // namespace vm
