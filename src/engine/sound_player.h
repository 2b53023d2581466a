// Sound interface of the game: effects and music modules by their names.
#pragma once

#include <string>

namespace vm {

class ISoundPlayer
{
public:
    virtual ~ISoundPlayer() = default;
    virtual void PlaySound(const std::string& Name) = 0;
    virtual void StopSound(const std::string& Name) = 0;
    virtual void PlayMod(const std::string& Name) = 0;
    virtual void StopMod(const std::string& Name) = 0;
    // Called once per frame while music is on.
    virtual void UpdateMusic() {}
};

// Plays nothing: until the sound system exists, and for tests that do not listen.
class TSilentSoundPlayer : public ISoundPlayer
{
public:
    void PlaySound(const std::string&) override {}
    void StopSound(const std::string&) override {}
    void PlayMod(const std::string&) override {}
    void StopMod(const std::string&) override {}
};

} // namespace vm
