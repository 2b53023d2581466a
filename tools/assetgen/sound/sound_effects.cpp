// Renders every sound effect, levels it, fades its edges and writes it as a WAV file.
#include "sound/sound_effects.h"

#include "sound/sound_recipes.h"
#include "sound/wav_file.h"

namespace vm::assetgen {

namespace {

using synth::TSignal;

// Every effect peaks at most at -1 dBFS.
constexpr double PeakCeilingDb = -1.0;

struct TEffect
{
    const char* File;
    TSignal (*Render)();
    // Loudness target (see synth::Loudness). Levelling by peak alone would make the steady tones
    // (beeps, horn) far louder than the explosion; these targets keep the clicks and the tick
    // discreet, the cues clear and the explosion the loudest. Effects whose peaks are high for
    // their loudness (stings, puncture) stop at the peak ceiling instead.
    double Loudness;
    // Loops keep their ends untouched (they are built periodic); one-shots get short fades.
    bool Loop;
};

const TEffect Effects[] = {
    {"check1.wav", recipes::BackClick, -19.0, false},
    {"check2.wav", recipes::ConfirmClick, -17.5, false},
    {"start.wav", recipes::StartSting, -13.0, false},
    {"finish.wav", recipes::FinishFanfare, -13.0, false},
    {"svet1.wav", recipes::StartLightBeep, -12.0, false},
    {"svet2.wav", recipes::GreenLightBeep, -12.0, false},
    {"timesup.wav", recipes::TimesUpBuzzer, -11.5, false},
    {"sweep.wav", recipes::SpikePuncture, -14.0, false},
    {"time.wav", recipes::ClockTick, -21.0, false},
    {"exp.wav", recipes::Explosion, -10.0, false},
    {"coin.wav", recipes::CoinPickup, -13.5, false},
    {"nitro.wav", recipes::NitroWhoosh, -12.5, false},
    {"skid.wav", recipes::TyreSkid, -12.5, false},
    {"repair.wav", recipes::RepairKit, -14.0, false},
    {"horn.wav", recipes::CarHorn, -11.0, false},
    {"addtime.wav", recipes::ExtraTime, -13.0, false},
    {"up.wav", recipes::ExtraLife, -11.5, false},
    {"s1.wav", recipes::EngineIdleLoop, -22.0, true},
    {"s2.wav", recipes::EngineHighLoop, -16.0, true},
};

// The finished samples of one effect.
TSignal Finish(const TEffect& Effect)
{
    TSignal Signal = Effect.Render();
    if (!Effect.Loop)
    {
        synth::RemoveDc(Signal);
        // A few milliseconds at each end take away any click when the sound starts or stops.
        synth::FadeEdges(Signal, 0.002, 0.008);
    }
    synth::Level(Signal, Effect.Loudness, PeakCeilingDb);
    return Signal;
}

} // namespace

const std::vector<std::string>& SoundEffectFiles()
{
    static const std::vector<std::string> Files = [] {
        std::vector<std::string> Names;
        for (const TEffect& Effect : Effects)
            Names.emplace_back(Effect.File);
        return Names;
    }();
    return Files;
}

bool WriteSoundEffects(const std::filesystem::path& SoundsDir, std::string& Error)
{
    if (!std::filesystem::is_directory(SoundsDir))
    {
        Error = "sound folder " + SoundsDir.string() + " does not exist";
        return false;
    }
    for (const TEffect& Effect : Effects)
    {
        const TSignal Signal = Finish(Effect);
        if (!WriteFileBytes(SoundsDir / Effect.File, EncodeWav(Signal, synth::SampleRate), Error))
            return false;
    }
    return true;
}

} // namespace vm::assetgen
