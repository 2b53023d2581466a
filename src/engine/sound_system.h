// The game's sound effects and music modules, played by name through an audio device.
#pragma once

#include "engine/audio_device.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace vm {

class IClock;
class TSoundListItem;

enum TAudioPathType
{
    apt3D,
    aptMono,
    aptStereo
};

// How an effect picks its audio path: the one at AudioPathIndex, or a free pooled path of a kind.
enum TAudioPathPool
{
    appUseIndex,
    app3D,
    appMono,
    appStereo
};

// A group of mixer channels effects play on; remembers the effect that started on it last.
class TAudioPathItem
{
public:
    std::string Name;
    TAudioPathType AudioPathType = aptStereo;
    bool Pool = false;
    int Channels = 32;

private:
    friend class TSoundSystem;
    const TSoundListItem* FLastItem = nullptr;
    std::int64_t FStartTime = 0; // clock ticks
};

// One effect: a WAV file loaded on first use.
class TSoundListItem
{
public:
    std::string Name;
    std::string FileName; // relative to the data folder, with '/'
    bool Loop = false;
    int RepeatCount = 0;
    int Volume = 100; // 0..100; values outside are clamped when played
    int Frequency = 0;
    int Pan = 0;
    int AudioPathIndex = 0;
    TAudioPathPool AudioPathPool = appUseIndex;

    bool Loaded() const { return FChunk != 0; }

private:
    friend class TSoundSystem;
    TChunkHandle FChunk = 0;
    bool FLoadFailed = false; // a file that did not load is not tried again
    int FChannel = -1;        // channel of the last start
    int FAudioPath = -1;      // path of the last start
};

// One music track: a tracker module loaded on first play.
class TModListItem
{
public:
    std::string Name;
    std::string FileName;
    bool Loop = true;
    int RepeatCount = 0;
    int Volume = 100;

    bool Loaded() const { return FMusic != 0; }

private:
    friend class TSoundSystem;
    TMusicHandle FMusic = 0;
    bool FLoadFailed = false;
};

// Plays the game's effects (overlapping, on one path of 32 channels) and its three modules.
// The callers test the sound and music settings; this class plays whatever it is asked.
// Failures never throw: each distinct one is reported once and that sound stays silent. With a
// closed device nothing is loaded or reported. The device and the clock must outlive this object.
class TSoundSystem
{
public:
    TSoundSystem(IAudioDevice& Audio, IClock& Clock, std::string DataDir,
                 TAudioReport Report = ReportOnStderr);
    ~TSoundSystem(); // frees every effect and module through the device
    TSoundSystem(const TSoundSystem&) = delete;
    TSoundSystem& operator=(const TSoundSystem&) = delete;

    // Builds the audio paths (start-up); an effect played before it is reported and stays silent.
    void InitAudioPaths();

    // First item named exactly Name (case matters), or nullptr.
    TSoundListItem* FindSound(const std::string& Name);
    TModListItem* FindMod(const std::string& Name);

    // Null items do nothing; nor does anything while hushed.
    void PlaySound(TSoundListItem* Item);
    void StopSound(TSoundListItem* Item);
    // Loaded, last started on its path, and started less than 250 ms ago or still sounding.
    bool IsSoundPlaying(const TSoundListItem* Item) const;
    void PlayMod(TModListItem* Item);
    void StopMod(TModListItem* Item);
    void FreeMod(TModListItem* Item);
    // Hushed, effects are not started (music still follows its calls): for frames played faster
    // than they could be heard.
    void SetHushed(bool Hushed) { FHushed = Hushed; }
    // Holds or goes on with the module that plays (the window lost or got back the focus).
    void PauseMusic(bool Paused) { FAudio.PauseMusic(Paused); }

    // By name, for the callers' cues: PlaySound(FindSound(Name)) and so on.
    void PlaySound(const std::string& Name) { PlaySound(FindSound(Name)); }
    void PlayMod(const std::string& Name) { PlayMod(FindMod(Name)); }
    void StopMod(const std::string& Name) { StopMod(FindMod(Name)); }
    void FreeMod(const std::string& Name) { FreeMod(FindMod(Name)); }

    // Mixer volume 0..MaxMixerVolume for an item's Volume: clamped to 0..100, then
    // (Volume x 100 - 10000) hundredths of a decibel.
    static int MixerVolume(int Volume);

    // The failures reported so far, each once.
    const std::set<std::string>& Reported() const { return FReported; }

    std::vector<TAudioPathItem> AudioPaths;
    // Fixed after construction: items are handed out by pointer.
    std::vector<TSoundListItem> SoundList;
    std::vector<TModListItem> ModList;

private:
    std::string Resolve(const std::string& FileName) const;
    int ChooseAudioPath(const TSoundListItem& Item);
    void Report(const std::string& Text, const std::string& Detail = {});

    IAudioDevice& FAudio;
    IClock& FClock;
    bool FHushed = false;
    std::string FDataDir;
    TAudioReport FReport;
    std::set<std::string> FReported;
    int FLastPooledPath[4] = {-1, -1, -1, -1}; // per pool kind, the path used last
};

} // namespace vm
