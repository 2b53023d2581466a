// Car sounds: spike puncture, explosion, nitro whoosh, tyre skid and the horn.
#include "sound/sound_recipes.h"

#include <cmath>

namespace vm::assetgen::recipes {

using namespace synth;

TSignal SpikePuncture()
{
    // A pop, then the hiss of escaping air over the flapping of the torn tyre. The flaps slow down
    // with the wheel and their band sweeps downwards.
    constexpr double Seconds = 0.8;
    TSignal Signal(SampleCount(Seconds));
    TNoise HissNoise(51);
    TNoise FlapNoise(52);
    TSvf HissFilter;
    TSvf FlapFilter;
    TOscillator Thump;
    double FlapPhase = 0.0;
    for (int I = 0; I < static_cast<int>(Signal.size()); ++I)
    {
        const double T = TimeOf(I);
        const double Amount = T / Seconds;
        const double Hiss = HissFilter.HighPass(HissNoise.White(), Glide(3500.0, 1800.0, Amount), 0.7);
        FlapPhase += Glide(24.0, 8.0, Amount) / SampleRate;
        const double InFlap = FlapPhase - std::floor(FlapPhase);
        const double FlapShape = InFlap < 0.04 ? InFlap / 0.04 : std::exp(-(InFlap - 0.04) * 7.0);
        const double Flap = FlapFilter.BandPass(FlapNoise.White(), Glide(2200.0, 500.0, Amount), 1.5);
        Signal[I] = 0.35 * AttackDecay(T, 0.004, 0.3) * Hiss +
                    1.3 * Ramp(T, 0.0, 0.08) * std::exp(-T / 0.45) * FlapShape * Flap +
                    0.5 * AttackDecay(T, 0.001, 0.025) * Thump.Sine(110.0);
    }
    AddNoiseBurst(Signal, 0.0, 1200.0, false, 0.004, 0.9, 53);
    FadeEdges(Signal, 0.0, 0.15);
    return Signal;
}

TSignal Explosion()
{
    // A low boom under a bright noise burst whose brightness falls away, a mid-range "whoomp"
    // that small speakers carry, a long rumble and a scatter of crackles that thins out.
    constexpr double Seconds = 1.5;
    TSignal Signal(SampleCount(Seconds));
    TNoise BurstNoise(61);
    TNoise RumbleNoise(62);
    TNoise BodyNoise(65);
    TNoise CrackleNoise(63);
    TNoise CrackleTiming(64);
    TOscillator Boom;
    TSvf BurstFilter;
    TSvf RumbleFilter;
    TSvf BodyFilter;
    TOnePole RumbleSmooth;
    TOnePole CrackleFilter;
    const double CrackleFade = std::exp(-1.0 / (0.0015 * SampleRate));
    double Crackle = 0.0;
    for (int I = 0; I < static_cast<int>(Signal.size()); ++I)
    {
        const double T = TimeOf(I);
        const double Low = Boom.Sine(Glide(95.0, 38.0, T / 0.5));
        const double Burst = BurstFilter.LowPass(BurstNoise.White(), Glide(8000.0, 350.0, T / 0.9), 0.7);
        const double Body = BodyFilter.BandPass(BodyNoise.White(), Glide(900.0, 250.0, T / 1.0), 0.8);
        const double Rumble =
            RumbleSmooth.LowPass(RumbleFilter.LowPass(RumbleNoise.White(), 180.0, 0.7), 120.0);
        // Each crackle starts at a random moment with a random strength and dies in a few milliseconds.
        const double Density = 0.006 * Ramp(T, 0.03, 0.08) * std::exp(-T / 0.35);
        if (CrackleTiming.Unit() < Density)
            Crackle = 0.3 + 0.7 * CrackleTiming.Unit();
        Crackle *= CrackleFade;
        const double Sparks = CrackleFilter.HighPass(CrackleNoise.White(), 1500.0) * Crackle;
        const double Mix = 0.7 * AttackDecay(T, 0.003, 0.28) * Low +
                           1.5 * AttackDecay(T, 0.002, 0.3) * Burst +
                           1.2 * AttackDecay(T, 0.01, 0.45) * Body +
                           3.0 * AttackDecay(T, 0.03, 0.55) * Rumble + 0.5 * Sparks;
        // Saturation glues the layers together and keeps the first moment dense and loud.
        Signal[I] = SoftClip(1.8 * Mix);
    }
    FadeEdges(Signal, 0.0, 0.3);
    return Signal;
}

TSignal NitroWhoosh()
{
    // A band of noise sweeping upwards with a rising jet tone, on top of a short ignition thump.
    constexpr double Seconds = 1.0;
    TSignal Signal(SampleCount(Seconds));
    TNoise Air(71);
    TNoise Flame(72);
    TSvf AirFilter;
    TSvf JetFilter;
    TSvf FlameFilter;
    TOscillator JetA;
    TOscillator JetB(0.4);
    TOscillator Whine;
    for (int I = 0; I < static_cast<int>(Signal.size()); ++I)
    {
        const double T = TimeOf(I);
        const double Envelope = SmoothStep(T / 0.18) * (1.0 - SmoothStep((T - 0.6) / 0.4));
        const double Whoosh = AirFilter.BandPass(Air.White(), Glide(350.0, 4500.0, T / 0.85), 1.3);
        const double Freq = Glide(170.0, 700.0, T / 0.9);
        const double Jet =
            JetFilter.LowPass(JetA.Saw(Freq) + JetB.Saw(Freq * 1.01), Glide(1200.0, 5000.0, T / 0.9), 1.2);
        const double Ignition = FlameFilter.LowPass(Flame.White(), 250.0, 0.7) * AttackDecay(T, 0.02, 0.25);
        Signal[I] = Envelope * (0.8 * Whoosh + 0.4 * Jet + 0.1 * Whine.Sine(2.0 * Freq)) + 0.8 * Ignition;
    }
    return Signal;
}

TSignal TyreSkid()
{
    // A wavering rubber squeal (a slightly bright tone with vibrato and a slow random drift)
    // over the broadband scrub of the tyre.
    constexpr double Seconds = 0.8;
    TSignal Signal(SampleCount(Seconds));
    TNoise Drift(81);
    TNoise Scrub(82);
    TOnePole DriftFilter;
    TSvf ScrubFilter;
    double Phase = 0.0;
    for (int I = 0; I < static_cast<int>(Signal.size()); ++I)
    {
        const double T = TimeOf(I);
        const double Wander = DriftFilter.LowPass(Drift.White(), 6.0) * 0.8;
        const double Freq =
            Glide(1250.0, 1050.0, T / Seconds) *
            (1.0 + 0.025 * std::sin(TwoPi * 7.3 * T) + 0.012 * std::sin(TwoPi * 11.7 * T + 1.0) + Wander);
        Phase += Freq / SampleRate;
        Phase -= std::floor(Phase);
        const double Squeal = std::sin(TwoPi * Phase) + 0.3 * std::sin(2.0 * TwoPi * Phase) +
                              0.1 * std::sin(3.0 * TwoPi * Phase);
        const double Waver = 0.75 + 0.25 * std::sin(TwoPi * 9.1 * T);
        const double Noise = ScrubFilter.BandPass(Scrub.White(), 2600.0, 0.8);
        const double Envelope = SmoothStep(T / 0.03) * (1.0 - SmoothStep((T - 0.5) / 0.3));
        Signal[I] = Envelope * (0.6 * Waver * Squeal + 0.3 * Noise);
    }
    return Signal;
}

TSignal CarHorn()
{
    // Two horns a major third apart (F4 and A4), each a saw and a slightly detuned pulse,
    // through a low-pass and a little honk resonance, lightly saturated.
    constexpr double Seconds = 0.5;
    TSignal Signal(SampleCount(Seconds));
    const double Low = NoteFrequency(65);
    const double High = NoteFrequency(69);
    TOscillator LowSaw;
    TOscillator LowPulse(0.25);
    TOscillator HighSaw(0.5);
    TOscillator HighPulse(0.75);
    TSvf Tone;
    TSvf Honk;
    for (int I = 0; I < static_cast<int>(Signal.size()); ++I)
    {
        const double T = TimeOf(I);
        // The pitch settles from slightly flat as the diaphragm starts.
        const double Settle = 1.0 - 0.02 * std::exp(-T / 0.02);
        const double Raw = 0.5 * LowSaw.Saw(Low * Settle) + 0.5 * LowPulse.Pulse(Low * Settle * 1.003, 0.45) +
                           0.5 * HighSaw.Saw(High * Settle) +
                           0.5 * HighPulse.Pulse(High * Settle * 1.003, 0.45);
        const double Body = Tone.LowPass(Raw, 2400.0, 0.8);
        const double Mix = Body + 0.5 * Honk.BandPass(Body, 950.0, 2.0);
        const double Envelope = Ramp(T, 0.0, 0.012) * (1.0 - SmoothStep((T - 0.44) / 0.05));
        Signal[I] = Envelope * SoftClip(1.2 * Mix);
    }
    return Signal;
}

} // namespace vm::assetgen::recipes
