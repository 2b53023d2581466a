// Where the page groups' kept states live: in the game's page table, one of each.
#include "pages/choice_pages_state.h"
#include "pages/menu_pages_state.h"
#include "pages/profile_pages_state.h"
#include "shell/game.h"

namespace vm {

TMenuPagesState& MenuPages(TGame& Game) { return Game.Pages.Keep<TMenuPagesState>(); }
const TMenuPagesState& MenuPages(const TGame& Game) { return Game.Pages.Keep<TMenuPagesState>(); }
TChoicePagesState& ChoicePages(TGame& Game) { return Game.Pages.Keep<TChoicePagesState>(); }
const TChoicePagesState& ChoicePages(const TGame& Game) { return Game.Pages.Keep<TChoicePagesState>(); }
TProfilePagesState& ProfilePages(TGame& Game) { return Game.Pages.Keep<TProfilePagesState>(); }
const TProfilePagesState& ProfilePages(const TGame& Game) { return Game.Pages.Keep<TProfilePagesState>(); }

} // namespace vm
