// The game's sound effects and music modules, played by name through an audio device.
#include "engine/sound_system.h"

#include "engine/clock.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace vm {

void ReportOnStderr(const std::string& Text) { std::fprintf(stderr, "%s\n", Text.c_str()); }

namespace {

struct TSoundRow
{
    const char* Name;
    const char* FileName;
    bool Loop;
    int Volume;
};

// The game's effects. "check" and "check2" swap their files on purpose: the confirming click is
// the brighter one.
constexpr TSoundRow SoundRows[] = {
    {"check", "Sounds/check2.wav", false, 100},
    {"check2", "Sounds/check1.wav", false, 100},
    {"begin", "Sounds/start.wav", false, 95},
    {"finish", "Sounds/finish.wav", false, 90},
    {"svet1", "Sounds/svet1.wav", false, 100},
    {"svet2", "Sounds/svet2.wav", false, 100},
    {"timesup", "Sounds/timesup.wav", false, 100},
    {"sweep", "Sounds/sweep.wav", false, 100},
    {"time", "Sounds/time.wav", false, 100},
    {"exp", "Sounds/exp.wav", false, 100},
    {"coin", "Sounds/coin.wav", false, 100},
    {"nitro", "Sounds/nitro.wav", false, 100},
    {"skid", "Sounds/skid.wav", false, 100},
    {"repair", "Sounds/repair.wav", false, 100},
    {"horn", "Sounds/horn.wav", false, 100},
    {"addtime", "Sounds/addtime.wav", false, 100},
    {"up", "Sounds/up.wav", false, 100},
    {"s1", "Sounds/s1.wav", true, 100},
    {"s2", "Sounds/s2.wav", true, 100},
};

struct TModRow
{
    const char* Name;
    const char* FileName;
};

constexpr TModRow ModRows[] = {
    {"menumusic", "Sounds/1.xm"},
    {"gamemusic", "Sounds/2.xm"},
    {"losemusic", "Sounds/3.xm"},
};

// How long after its start an effect counts as playing whatever the device says: a sound just
// started may not have reached the mixer yet.
constexpr std::int64_t StartGraceDivisor = 4; // a quarter of a second

TAudioPathType PathTypeOfPool(TAudioPathPool Pool)
{
    switch (Pool)
    {
    case app3D: return apt3D;
    case appMono: return aptMono;
    default: return aptStereo;
    }
}

} // namespace

TSoundSystem::TSoundSystem(IAudioDevice& Audio, IClock& Clock, std::string DataDir, TAudioReport Report)
    : FAudio(Audio), FClock(Clock), FDataDir(std::move(DataDir)), FReport(std::move(Report))
{
    SoundList.reserve(std::size(SoundRows));
    for (const TSoundRow& Row : SoundRows)
    {
        TSoundListItem Item;
        Item.Name = Row.Name;
        Item.FileName = Row.FileName;
        Item.Loop = Row.Loop;
        Item.Volume = Row.Volume;
        SoundList.push_back(std::move(Item));
    }
    ModList.reserve(std::size(ModRows));
    for (const TModRow& Row : ModRows)
    {
        TModListItem Item;
        Item.Name = Row.Name;
        Item.FileName = Row.FileName;
        ModList.push_back(std::move(Item));
    }
}

TSoundSystem::~TSoundSystem()
{
    for (TModListItem& Item : ModList)
        FreeMod(&Item);
    for (TSoundListItem& Item : SoundList)
        if (Item.FChunk != 0)
            FAudio.FreeChunk(Item.FChunk);
}

void TSoundSystem::InitAudioPaths()
{
    AudioPaths.clear();
    TAudioPathItem Path;
    Path.Name = "path";
    Path.AudioPathType = aptStereo;
    Path.Pool = false;
    Path.Channels = 32;
    AudioPaths.push_back(Path);
    std::fill(std::begin(FLastPooledPath), std::end(FLastPooledPath), -1);
}

TSoundListItem* TSoundSystem::FindSound(const std::string& Name)
{
    for (TSoundListItem& Item : SoundList)
        if (Item.Name == Name)
            return &Item;
    return nullptr;
}

TModListItem* TSoundSystem::FindMod(const std::string& Name)
{
    for (TModListItem& Item : ModList)
        if (Item.Name == Name)
            return &Item;
    return nullptr;
}

int TSoundSystem::MixerVolume(int Volume)
{
    const int Clamped = std::clamp(Volume, 0, 100);
    const double Hundredths = Clamped * 100.0 - 10000.0; // hundredths of a decibel
    const double Gain = std::pow(10.0, Hundredths / 2000.0);
    return static_cast<int>(std::lround(Gain * MaxMixerVolume));
}

std::string TSoundSystem::Resolve(const std::string& FileName) const
{
    return FDataDir.empty() ? FileName : FDataDir + "/" + FileName;
}

void TSoundSystem::Report(const std::string& Text, const std::string& Detail)
{
    if (!FReported.insert(Text).second)
        return;
    if (FReport)
        FReport(Detail.empty() ? Text : Text + " (" + Detail + ")");
}

int TSoundSystem::ChooseAudioPath(const TSoundListItem& Item)
{
    const int Count = static_cast<int>(AudioPaths.size());
    if (Item.AudioPathPool == appUseIndex)
        return Item.AudioPathIndex >= 0 && Item.AudioPathIndex < Count ? Item.AudioPathIndex : -1;
    // A pooled kind: go round from the path after the one of this kind used last, take the first
    // pooled path of the kind that is not busy, else the last matching one seen.
    const TAudioPathType Type = PathTypeOfPool(Item.AudioPathPool);
    int& Last = FLastPooledPath[Item.AudioPathPool];
    int Chosen = -1;
    for (int Step = 1; Step <= Count; ++Step)
    {
        const int Index = (Last + Step + Count) % Count;
        const TAudioPathItem& Path = AudioPaths[Index];
        if (!Path.Pool || Path.AudioPathType != Type)
            continue;
        Chosen = Index;
        if (Path.FLastItem == nullptr || !IsSoundPlaying(Path.FLastItem))
            break;
    }
    if (Chosen >= 0)
        Last = Chosen;
    return Chosen;
}

void TSoundSystem::PlaySound(TSoundListItem* Item)
{
    if (Item == nullptr || !FAudio.IsOpen() || FHushed)
        return;
    std::string Error;
    if (Item->FChunk == 0)
    {
        if (Item->FLoadFailed)
            return;
        const std::string Path = Resolve(Item->FileName);
        Item->FChunk = FAudio.LoadChunk(Path, Error);
        if (Item->FChunk == 0)
        {
            Item->FLoadFailed = true;
            Report("Error loading sound: " + Path, Error);
            return;
        }
    }
    const int PathIndex = ChooseAudioPath(*Item);
    if (PathIndex < 0)
    {
        Report("Error playing sound", "no audio path for \"" + Item->Name + "\"");
        return;
    }
    // Frequency and Pan are 0 for every effect of the game: played as recorded, centred.
    const int Repeats = Item->Loop ? -1 : std::max(Item->RepeatCount, 0);
    const int Channel = FAudio.PlayChunk(Item->FChunk, Repeats, MixerVolume(Item->Volume), Error);
    if (Channel < 0)
    {
        Report("Error playing sound", Error);
        return;
    }
    Item->FChannel = Channel;
    Item->FAudioPath = PathIndex;
    TAudioPathItem& Path = AudioPaths[PathIndex];
    Path.FLastItem = Item;
    Path.FStartTime = FClock.Now();
}

void TSoundSystem::StopSound(TSoundListItem* Item)
{
    if (Item == nullptr)
        return;
    if (Item->FChunk != 0)
        FAudio.StopChunk(Item->FChunk);
    for (TAudioPathItem& Path : AudioPaths)
        if (Path.FLastItem == Item)
            Path.FLastItem = nullptr;
}

bool TSoundSystem::IsSoundPlaying(const TSoundListItem* Item) const
{
    if (Item == nullptr || Item->FChunk == 0 || Item->FAudioPath < 0 ||
        Item->FAudioPath >= static_cast<int>(AudioPaths.size()))
        return false;
    const TAudioPathItem& Path = AudioPaths[Item->FAudioPath];
    if (Path.FLastItem != Item)
        return false;
    const std::int64_t Elapsed = FClock.Now() - Path.FStartTime;
    if (Elapsed >= 0 && Elapsed * StartGraceDivisor < FClock.Frequency())
        return true;
    return FAudio.IsChunkPlaying(Item->FChannel, Item->FChunk);
}

void TSoundSystem::PlayMod(TModListItem* Item)
{
    if (Item == nullptr || !FAudio.IsOpen())
        return;
    std::string Error;
    if (Item->FMusic == 0)
    {
        if (Item->FLoadFailed)
            return;
        const std::string Path = Resolve(Item->FileName);
        Item->FMusic = FAudio.LoadMusic(Path, Error);
        if (Item->FMusic == 0)
        {
            Item->FLoadFailed = true;
            Report("Error loading music: " + Path, Error);
            return;
        }
    }
    if (!FAudio.PlayMusic(Item->FMusic, Item->Loop, Error))
        Report("Error playing .mod sound buffer", Error);
}

void TSoundSystem::StopMod(TModListItem* Item)
{
    if (Item == nullptr || Item->FMusic == 0)
        return;
    std::string Error;
    if (!FAudio.StopMusic(Item->FMusic, Error))
        Report("Error stopping .mod sound buffer", Error);
}

void TSoundSystem::FreeMod(TModListItem* Item)
{
    if (Item == nullptr)
        return;
    if (Item->FMusic != 0)
        FAudio.FreeMusic(Item->FMusic);
    Item->FMusic = 0;
    Item->FLoadFailed = false; // a later PlayMod may try the file again
}

} // namespace vm
