// Audio device on SDL2_mixer: effects on 32 mixer channels, tracker modules as the music stream.
#pragma once

#include "engine/audio_device.h"

#include <cstdint>
#include <map>
#include <vector>

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

namespace vm {

// Opens the audio output (22050 Hz, 16-bit stereo) on construction and closes it on destruction.
// When no output opens, the failure is reported once and the device stays closed: every call is a
// silent no-op and the game runs without sound. Only one device should be open at a time (the
// mixer is process-wide); it must outlive everything that holds its handles.
class TSdlAudioDevice : public IAudioDevice
{
public:
    static constexpr int Rate = 22050;
    static constexpr int ChannelCount = 32;

    explicit TSdlAudioDevice(TAudioReport Report = ReportOnStderr);
    ~TSdlAudioDevice() override;
    TSdlAudioDevice(const TSdlAudioDevice&) = delete;
    TSdlAudioDevice& operator=(const TSdlAudioDevice&) = delete;

    bool IsOpen() const override { return FOpen; }
    TChunkHandle LoadChunk(const std::string& Path, std::string& Error) override;
    void FreeChunk(TChunkHandle Chunk) override;
    int PlayChunk(TChunkHandle Chunk, int Repeats, int Volume, std::string& Error) override;
    void StopChunk(TChunkHandle Chunk) override;
    bool IsChunkPlaying(int Channel, TChunkHandle Chunk) const override;
    TMusicHandle LoadMusic(const std::string& Path, std::string& Error) override;
    bool PlayMusic(TMusicHandle Music, bool Loop, std::string& Error) override;
    bool StopMusic(TMusicHandle Music, std::string& Error) override;
    void FreeMusic(TMusicHandle Music) override;
    void PauseMusic(bool Paused) override;

private:
    // What this device last started on a channel, to pick a channel to take over when all are busy.
    struct TChannelUse
    {
        bool Endless = false;
        std::uint64_t Order = 0; // start order; smaller is older
    };

    Mix_Chunk* FindChunk(TChunkHandle Chunk) const;
    int ChooseChannel() const;

    bool FSubsystem = false; // the SDL audio subsystem was started by us
    bool FOpen = false;
    int FNextHandle = 1;
    std::map<TChunkHandle, Mix_Chunk*> FChunks;
    std::map<TMusicHandle, Mix_Music*> FMusic;
    TMusicHandle FCurrentMusic = 0;
    std::vector<TChannelUse> FChannels;
    std::uint64_t FStartCount = 0;
};

} // namespace vm
