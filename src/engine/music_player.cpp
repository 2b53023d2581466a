// The game's song player: a list of songs serviced once a frame while music is on.
#include "engine/music_player.h"

namespace vm {

void TMusicPlayer::Update()
{
    // Songs would be advanced here; the list is empty, so there is nothing to service.
}

} // namespace vm
