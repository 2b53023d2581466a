// Audio device on SDL2_mixer: effects on 32 mixer channels, tracker modules as the music stream.
#include "platform/sdl/sdl_audio_device.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <algorithm>

namespace vm {

namespace {

// About 46 ms of sound at 22050 Hz: short enough for effects to follow the picture.
constexpr int BufferFrames = 1024;

} // namespace

TSdlAudioDevice::TSdlAudioDevice(TAudioReport Report)
{
    auto Fail = [&Report](const char* What) {
        if (Report)
            Report(std::string("No sound: ") + What + " (" + SDL_GetError() + "); the game runs silent");
    };
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
    {
        Fail("the audio system did not start");
        return;
    }
    FSubsystem = true;
    if (Mix_OpenAudio(Rate, AUDIO_S16SYS, 2, BufferFrames) != 0)
    {
        Fail("no audio device opened");
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        FSubsystem = false;
        return;
    }
    FOpen = true;
    // Loads the module decoder now rather than on the first track; without it only music is lost,
    // which loading a module reports.
    Mix_Init(MIX_INIT_MOD);
    Mix_AllocateChannels(ChannelCount);
    FChannels.assign(ChannelCount, TChannelUse{});
}

TSdlAudioDevice::~TSdlAudioDevice()
{
    if (FOpen)
    {
        // Nothing may be freed while the mixer still plays it.
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
        for (auto& [Handle, Music] : FMusic)
            Mix_FreeMusic(Music);
        for (auto& [Handle, Chunk] : FChunks)
            Mix_FreeChunk(Chunk);
        Mix_CloseAudio();
        Mix_Quit();
    }
    if (FSubsystem)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

Mix_Chunk* TSdlAudioDevice::FindChunk(TChunkHandle Chunk) const
{
    const auto Found = FChunks.find(Chunk);
    return Found == FChunks.end() ? nullptr : Found->second;
}

TChunkHandle TSdlAudioDevice::LoadChunk(const std::string& Path, std::string& Error)
{
    if (!FOpen)
        return 0;
    Mix_Chunk* Chunk = Mix_LoadWAV(Path.c_str());
    if (Chunk == nullptr)
    {
        Error = Mix_GetError();
        return 0;
    }
    const TChunkHandle Handle = FNextHandle++;
    FChunks[Handle] = Chunk;
    return Handle;
}

void TSdlAudioDevice::FreeChunk(TChunkHandle Chunk)
{
    Mix_Chunk* Found = FindChunk(Chunk);
    if (Found == nullptr)
        return;
    StopChunk(Chunk);
    Mix_FreeChunk(Found);
    FChunks.erase(Chunk);
}

int TSdlAudioDevice::ChooseChannel() const
{
    // Only this device starts channels, so a free channel stays free until we use it.
    for (int Channel = 0; Channel < ChannelCount; ++Channel)
        if (Mix_Playing(Channel) == 0)
            return Channel;
    // All busy: take over the longest-playing one-shot; endless loops (engine sounds) are kept.
    int Oldest = -1;
    for (int Channel = 0; Channel < ChannelCount; ++Channel)
        if (!FChannels[Channel].Endless && (Oldest < 0 || FChannels[Channel].Order < FChannels[Oldest].Order))
            Oldest = Channel;
    return Oldest;
}

int TSdlAudioDevice::PlayChunk(TChunkHandle Chunk, int Repeats, int Volume, std::string& Error)
{
    if (!FOpen)
        return -1;
    Mix_Chunk* Found = FindChunk(Chunk);
    if (Found == nullptr)
    {
        Error = "not a loaded sound";
        return -1;
    }
    const int Channel = ChooseChannel();
    if (Channel < 0)
    {
        Error = "every channel plays an endless loop";
        return -1;
    }
    // The volume is set before the start so that the first mixed block is already at that level.
    Mix_Volume(Channel, std::clamp(Volume, 0, MaxMixerVolume));
    if (Mix_PlayChannel(Channel, Found, Repeats < 0 ? -1 : Repeats) < 0)
    {
        Error = Mix_GetError();
        return -1;
    }
    FChannels[Channel] = TChannelUse{Repeats < 0, ++FStartCount};
    return Channel;
}

void TSdlAudioDevice::StopChunk(TChunkHandle Chunk)
{
    Mix_Chunk* Found = FindChunk(Chunk);
    if (Found == nullptr)
        return;
    for (int Channel = 0; Channel < ChannelCount; ++Channel)
        if (Mix_Playing(Channel) != 0 && Mix_GetChunk(Channel) == Found)
            Mix_HaltChannel(Channel);
}

bool TSdlAudioDevice::IsChunkPlaying(int Channel, TChunkHandle Chunk) const
{
    Mix_Chunk* Found = FindChunk(Chunk);
    if (Found == nullptr || Channel < 0 || Channel >= ChannelCount)
        return false;
    return Mix_Playing(Channel) != 0 && Mix_GetChunk(Channel) == Found;
}

TMusicHandle TSdlAudioDevice::LoadMusic(const std::string& Path, std::string& Error)
{
    if (!FOpen)
        return 0;
    Mix_Music* Music = Mix_LoadMUS(Path.c_str());
    if (Music == nullptr)
    {
        Error = Mix_GetError();
        return 0;
    }
    const TMusicHandle Handle = FNextHandle++;
    FMusic[Handle] = Music;
    return Handle;
}

bool TSdlAudioDevice::PlayMusic(TMusicHandle Music, bool Loop, std::string& Error)
{
    if (!FOpen)
        return true;
    const auto Found = FMusic.find(Music);
    if (Found == FMusic.end())
    {
        Error = "not a loaded module";
        return false;
    }
    if (Mix_PlayMusic(Found->second, Loop ? -1 : 1) != 0)
    {
        Error = Mix_GetError();
        FCurrentMusic = 0;
        return false;
    }
    FCurrentMusic = Music;
    return true;
}

bool TSdlAudioDevice::StopMusic(TMusicHandle Music, std::string& Error)
{
    if (!FOpen)
        return true;
    if (FMusic.find(Music) == FMusic.end())
    {
        Error = "not a loaded module";
        return false;
    }
    // The mixer has one music stream: stopping a track that another has replaced leaves that one.
    if (FCurrentMusic == Music)
    {
        Mix_HaltMusic();
        FCurrentMusic = 0;
    }
    return true;
}

void TSdlAudioDevice::FreeMusic(TMusicHandle Music)
{
    const auto Found = FMusic.find(Music);
    if (Found == FMusic.end())
        return;
    if (FCurrentMusic == Music)
    {
        Mix_HaltMusic();
        FCurrentMusic = 0;
    }
    Mix_FreeMusic(Found->second);
    FMusic.erase(Found);
}

void TSdlAudioDevice::PauseMusic(bool Paused)
{
    if (!FOpen)
        return;
    if (Paused)
        Mix_PauseMusic();
    else
        Mix_ResumeMusic();
}

} // namespace vm
