// Audio interface of the engine: WAV effects on mixer channels and one music module at a time.
#pragma once

#include <functional>
#include <string>

namespace vm {

// Where the sound layer reports its failures (one line each, no trailing newline).
using TAudioReport = std::function<void(const std::string&)>;
// Writes the line on stderr.
void ReportOnStderr(const std::string& Text);

// Handles of loaded effects and modules; 0 is "none". They stay valid until freed or until the
// device is destroyed.
using TChunkHandle = int;
using TMusicHandle = int;

// Mixer volume of a channel: 0 silent .. 128 full.
constexpr int MaxMixerVolume = 128;

// Plays effects and music. The device owns what it loads and frees all of it on destruction.
// A closed device (no sound card) does nothing: loads return 0, plays -1, queries false, and it
// writes nothing into Error. Called on the game's thread only.
class IAudioDevice
{
public:
    virtual ~IAudioDevice() = default;
    // True when the device produces sound.
    virtual bool IsOpen() const = 0;

    // Loads a WAV file as an effect; 0 with Error set when the file is missing or unreadable.
    virtual TChunkHandle LoadChunk(const std::string& Path, std::string& Error) = 0;
    virtual void FreeChunk(TChunkHandle Chunk) = 0;
    // Starts Chunk on a free channel (taking the longest-playing channel that does not loop
    // endlessly when all are busy), repeated Repeats more times or endlessly when Repeats is -1, at
    // Volume 0..MaxMixerVolume. Returns the channel, or -1 with Error set.
    virtual int PlayChunk(TChunkHandle Chunk, int Repeats, int Volume, std::string& Error) = 0;
    // Stops every channel that plays Chunk.
    virtual void StopChunk(TChunkHandle Chunk) = 0;
    // True while Channel still plays Chunk (a channel reused by another effect does not count).
    virtual bool IsChunkPlaying(int Channel, TChunkHandle Chunk) const = 0;

    // Loads a tracker module; 0 with Error set on failure.
    virtual TMusicHandle LoadMusic(const std::string& Path, std::string& Error) = 0;
    // Starts Music from its beginning, replacing whatever music played; false with Error set.
    virtual bool PlayMusic(TMusicHandle Music, bool Loop, std::string& Error) = 0;
    // Stops Music if it is the one playing; false with Error set when Music is not a loaded module.
    virtual bool StopMusic(TMusicHandle Music, std::string& Error) = 0;
    // Stops and unloads Music; the handle is dead afterwards.
    virtual void FreeMusic(TMusicHandle Music) = 0;
    // Holds (true) or goes on with (false) the music that plays; starting music goes on with it.
    virtual void PauseMusic(bool Paused) = 0;
};

// No sound card: a closed device, for tests that do not listen and for runs with no audio.
class TSilentAudioDevice : public IAudioDevice
{
public:
    bool IsOpen() const override { return false; }
    TChunkHandle LoadChunk(const std::string&, std::string&) override { return 0; }
    void FreeChunk(TChunkHandle) override {}
    int PlayChunk(TChunkHandle, int, int, std::string&) override { return -1; }
    void StopChunk(TChunkHandle) override {}
    bool IsChunkPlaying(int, TChunkHandle) const override { return false; }
    TMusicHandle LoadMusic(const std::string&, std::string&) override { return 0; }
    bool PlayMusic(TMusicHandle, bool, std::string&) override { return true; }
    bool StopMusic(TMusicHandle, std::string&) override { return true; }
    void FreeMusic(TMusicHandle) override {}
    void PauseMusic(bool) override {}
};

} // namespace vm
