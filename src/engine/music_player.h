// The game's song player: a list of songs serviced once a frame while music is on.
#pragma once

#include <string>
#include <vector>

namespace vm {

// The game ships no songs for it (its music is the modules of the sound system), so the list
// stays empty and Update has nothing to do; the frame loop still calls it while music is on.
class TMusicPlayer
{
public:
    // Called once a frame by the game while music is on.
    void Update();

    // File names of the songs to play in turn; empty in this game.
    std::vector<std::string> SongList;
};

} // namespace vm
