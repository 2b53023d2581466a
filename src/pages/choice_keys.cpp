// The keys of the track and car pages.
#include "pages/choice_keys.h"

#include "shell/game.h"

namespace vm {

bool HandleChoiceKeys(TGame& Game, int Page, const std::function<void()>& OnEnter,
                      const std::function<void(int Step)>& OnStep)
{
    auto& Released = Game.State.KeyReleased;
    auto Take = [&Released](int Key) {
        if (Released[static_cast<std::size_t>(Key)] == 0)
            return false;
        Released[static_cast<std::size_t>(Key)] = 0;
        return true;
    };
    if (Take(vkEscape))
    {
        Game.ChangeState(Page, ssMainMenu, "check2");
        return true;
    }
    if (Take(vkReturn))
    {
        OnEnter();
        return true;
    }
    if (Take(vkRight))
    {
        OnStep(1);
        return true;
    }
    if (Take(vkLeft))
    {
        OnStep(-1);
        return true;
    }
    return false;
}

} // namespace vm
