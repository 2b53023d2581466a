// An open audio device that plays nothing and records every call, for tests of sound logic.
#pragma once

#include "engine/audio_device.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace vm::test {

// Loads succeed unless the path ends with one of Missing. Channels are busy from their start
// until Finish or a stop; when all 32 are busy, PlayChunk fails as a full mixer would.
class TRecordingAudioDevice : public IAudioDevice
{
public:
    struct TPlay
    {
        std::string Path;
        int Channel;
        int Repeats;
        int Volume;
    };

    bool IsOpen() const override { return true; }
    TChunkHandle LoadChunk(const std::string& Path, std::string& Error) override
    {
        if (IsMissing(Path))
        {
            Error = "no such file";
            return 0;
        }
        Chunks.push_back(Path);
        return static_cast<TChunkHandle>(Chunks.size());
    }
    void FreeChunk(TChunkHandle Chunk) override { FreedChunks.push_back(PathOf(Chunk)); }
    int PlayChunk(TChunkHandle Chunk, int Repeats, int Volume, std::string& Error) override
    {
        const auto Free = std::find(Busy.begin(), Busy.end(), 0);
        if (Free == Busy.end())
        {
            Error = "no free channel";
            return -1;
        }
        const int Channel = static_cast<int>(Free - Busy.begin());
        Busy[Channel] = Chunk;
        Plays.push_back({PathOf(Chunk), Channel, Repeats, Volume});
        return Channel;
    }
    void StopChunk(TChunkHandle Chunk) override
    {
        Stops.push_back(PathOf(Chunk));
        std::replace(Busy.begin(), Busy.end(), Chunk, 0);
    }
    bool IsChunkPlaying(int Channel, TChunkHandle Chunk) const override
    {
        return Channel >= 0 && Channel < 32 && Busy[Channel] == Chunk;
    }
    TMusicHandle LoadMusic(const std::string& Path, std::string& Error) override
    {
        if (IsMissing(Path))
        {
            Error = "no such file";
            return 0;
        }
        Modules.push_back(Path);
        return static_cast<TMusicHandle>(Modules.size());
    }
    bool PlayMusic(TMusicHandle Music, bool Loop, std::string&) override
    {
        MusicCalls.push_back((Loop ? "loop " : "play ") + ModuleOf(Music));
        return true;
    }
    bool StopMusic(TMusicHandle Music, std::string&) override
    {
        MusicCalls.push_back("stop " + ModuleOf(Music));
        return true;
    }
    void FreeMusic(TMusicHandle Music) override { MusicCalls.push_back("free " + ModuleOf(Music)); }
    void PauseMusic(bool Paused) override { MusicCalls.push_back(Paused ? "pause" : "resume"); }

    // The effect on Channel has ended.
    void Finish(int Channel) { Busy[Channel] = 0; }
    // How often an effect whose path ends with Suffix was started.
    long PlayCount(const std::string& Suffix) const
    {
        return std::count_if(Plays.begin(), Plays.end(),
                             [&](const TPlay& P) { return EndsWith(P.Path, Suffix); });
    }
    static bool EndsWith(const std::string& Text, const std::string& Suffix)
    {
        return Text.size() >= Suffix.size() &&
               Text.compare(Text.size() - Suffix.size(), Suffix.size(), Suffix) == 0;
    }

    std::vector<std::string> Missing;
    std::vector<std::string> Chunks;  // loaded effects; handle = index + 1
    std::vector<std::string> Modules; // loaded modules; handle = index + 1
    std::vector<std::string> FreedChunks;
    std::vector<TPlay> Plays;
    std::vector<std::string> Stops;
    std::vector<std::string>
        MusicCalls; // "loop FILE", "play FILE", "stop FILE", "free FILE", "pause", "resume"
    std::array<TChunkHandle, 32> Busy{}; // the effect on each channel, 0 when free

private:
    bool IsMissing(const std::string& Path) const
    {
        return std::any_of(Missing.begin(), Missing.end(),
                           [&](const std::string& M) { return EndsWith(Path, M); });
    }
    std::string PathOf(TChunkHandle Chunk) const
    {
        return Chunk >= 1 && Chunk <= static_cast<int>(Chunks.size()) ? Chunks[Chunk - 1] : "?";
    }
    std::string ModuleOf(TMusicHandle Music) const
    {
        return Music >= 1 && Music <= static_cast<int>(Modules.size()) ? Modules[Music - 1] : "?";
    }
};

} // namespace vm::test
