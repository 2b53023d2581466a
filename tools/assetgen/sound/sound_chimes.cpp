// Musical stings and pickup chimes: start and finish, coin, repair kit, extra time and extra life.
#include "sound/sound_recipes.h"

#include <algorithm>
#include <cmath>

namespace vm::assetgen::recipes {

namespace {

using namespace synth;

// A bright metal chime: near-harmonic partials plus two inharmonic ones for the metallic shimmer.
// Decay is the time constant of the fundamental; the upper partials die sooner.
std::vector<TPartial> Chime(double Decay)
{
    return {{1.0, 1.0, Decay},
            {2.0, 0.45, Decay * 0.5},
            {3.0, 0.2, Decay * 0.3},
            {4.16, 0.12, Decay * 0.2},
            {5.43, 0.06, Decay * 0.14}};
}

// A brass-like note: two slightly detuned saws through a low-pass that opens with the attack,
// so the note "blooms" like a horn. It holds for Length, sagging with time constant Sag, then
// releases over up to 80 ms (short notes release sooner, so they stay crisp). A gentle vibrato
// comes in after the first 150 ms.
void AddBrass(TSignal& Signal, double Start, double Length, double Freq, double Gain, double Sag = 10.0)
{
    const double Release = std::min(0.08, 0.4 * Length);
    TOscillator First(0.1);
    TOscillator Second(0.6);
    TSvf Filter;
    const int Begin = SampleCount(Start);
    const int End = std::min(static_cast<int>(Signal.size()), Begin + SampleCount(Length + Release));
    for (int I = Begin; I < End; ++I)
    {
        const double T = TimeOf(I - Begin);
        const double Vibrato = 1.0 + 0.004 * Ramp(T, 0.15, 0.3) * std::sin(TwoPi * 5.5 * T);
        const double Raw = First.Saw(Freq * Vibrato) + Second.Saw(Freq * 1.005 * Vibrato);
        const double Attack = Ramp(T, 0.0, 0.012);
        const double Bloom = Ramp(T, 0.0, 0.04);
        const double Body = std::exp(-T / Sag) * (1.0 - SmoothStep((T - Length) / Release));
        const double Cutoff = Freq * (1.5 + 4.5 * Bloom * Body);
        Signal[I] += Gain * 0.5 * Attack * Body * Filter.LowPass(Raw, Cutoff, 0.8);
    }
}

// A soft chiptune-style lead note: a narrow pulse, rounded by a low-pass, with optional vibrato.
void AddPulseNote(TSignal& Signal, double Start, double Length, double Freq, double Gain,
                  double Vibrato = 0.0)
{
    constexpr double Release = 0.03;
    TOscillator Oscillator;
    TSvf Filter;
    const int Begin = SampleCount(Start);
    const int End = std::min(static_cast<int>(Signal.size()), Begin + SampleCount(Length + Release));
    for (int I = Begin; I < End; ++I)
    {
        const double T = TimeOf(I - Begin);
        const double Bend = 1.0 + Vibrato * Ramp(T, 0.08, 0.2) * std::sin(TwoPi * 6.0 * T);
        const double Envelope =
            Ramp(T, 0.0, 0.003) * std::exp(-T / 0.6) * (1.0 - SmoothStep((T - Length) / Release));
        Signal[I] += Gain * Envelope * Filter.LowPass(Oscillator.Pulse(Freq * Bend, 0.3), 4200.0, 0.7);
    }
}

// A falling sine "thump" that gives a stab its weight.
void AddKick(TSignal& Signal, double Start, double Gain)
{
    TOscillator Oscillator;
    const int Begin = SampleCount(Start);
    const int End = std::min(static_cast<int>(Signal.size()), Begin + SampleCount(0.8));
    for (int I = Begin; I < End; ++I)
    {
        const double T = TimeOf(I - Begin);
        Signal[I] += Gain * AttackDecay(T, 0.002, 0.13) * Oscillator.Sine(Glide(170.0, 48.0, T / 0.18));
    }
}

} // namespace

TSignal StartSting()
{
    // A noise riser and a revving saw sweep up for 0.42 s and land on a bright C-major stab.
    constexpr double Hit = 0.42;
    TSignal Signal(SampleCount(1.5));
    TNoise Noise(31);
    TSvf NoiseFilter;
    TSvf SawFilter;
    TOscillator Rev;
    for (int I = 0; I < static_cast<int>(Signal.size()); ++I)
    {
        const double T = TimeOf(I);
        const double Rise = T < Hit ? std::pow(T / Hit, 2.0) : std::exp(-(T - Hit) / 0.04);
        const double Sweep = std::min(T / Hit, 1.0);
        const double Hiss = NoiseFilter.BandPass(Noise.White(), Glide(400.0, 6000.0, Sweep), 1.2);
        const double Saw =
            SawFilter.LowPass(Rev.Saw(Glide(110.0, 440.0, Sweep)), Glide(500.0, 3500.0, Sweep), 1.0);
        Signal[I] = Rise * (0.55 * Hiss + 0.3 * Saw);
    }
    // The stab: C3 bass under C5-E5-G5-C6, sagging away over the second that follows.
    const double Stab[] = {48, 60, 64, 67, 72};
    for (const double Note : Stab)
        AddBrass(Signal, Hit, 0.95, NoteFrequency(Note), Note == 48 ? 0.4 : 0.3, 0.45);
    AddKick(Signal, Hit, 0.45);
    AddStruck(Signal, Hit, NoteFrequency(96), 0.15, Chime(0.3));
    AddNoiseBurst(Signal, Hit, 5000.0, true, 0.12, 0.12, 32);
    // Saturation rounds the peak of the hit so the sting can sit as loud as the other cues.
    NormalisePeak(Signal, 0.0);
    for (double& X : Signal)
        X = SoftClip(1.6 * X);
    FadeEdges(Signal, 0.0, 0.1);
    return Signal;
}

TSignal FinishFanfare()
{
    // A rising brass call G4-C5-E5 that opens into a held C-major chord topped with sparkling chimes.
    TSignal Signal(SampleCount(1.5));
    AddBrass(Signal, 0.00, 0.09, NoteFrequency(67), 0.5);
    AddBrass(Signal, 0.13, 0.09, NoteFrequency(72), 0.5);
    AddBrass(Signal, 0.26, 0.09, NoteFrequency(76), 0.5);
    constexpr double Held = 0.40;
    const double Chord[] = {60, 64, 67, 79};
    for (const double Note : Chord)
        AddBrass(Signal, Held, 0.85, NoteFrequency(Note), Note == 79 ? 0.45 : 0.28, 1.2);
    AddBrass(Signal, Held, 0.85, NoteFrequency(48), 0.3, 1.2);
    AddKick(Signal, Held, 0.45);
    const double Sparkle[] = {84, 88, 91, 96};
    for (int I = 0; I < 4; ++I)
        AddStruck(Signal, Held + 0.07 * I, NoteFrequency(Sparkle[I]), 0.14, Chime(0.35));
    FadeEdges(Signal, 0.0, 0.12);
    return Signal;
}

TSignal CoinPickup()
{
    // B5 cut short by a ringing E6: the classic bright "ka-ching" of two bell tones.
    TSignal Signal(SampleCount(0.4));
    AddStruck(Signal, 0.0, NoteFrequency(83), 0.75, Chime(0.05), 0.001);
    AddStruck(Signal, 0.075, NoteFrequency(88), 1.0, Chime(0.14), 0.001);
    FadeEdges(Signal, 0.0, 0.08);
    return Signal;
}

TSignal RepairKit()
{
    // Two strokes of a ratchet wrench (four clicks each), then a bright confirming ding.
    TSignal Signal(SampleCount(0.8));
    TNoise Jitter(41);
    const std::vector<TPartial> Pawl = {{1.0, 1.0, 0.006}, {1.63, 0.7, 0.005}, {2.71, 0.5, 0.003}};
    for (int Stroke = 0; Stroke < 2; ++Stroke)
        for (int Click = 0; Click < 4; ++Click)
        {
            const double Start = 0.2 * Stroke + 0.04 * Click;
            const double Gain = 0.35 + 0.1 * Jitter.Unit();
            AddStruck(Signal, Start, 2300.0 * (0.97 + 0.06 * Jitter.Unit()), Gain, Pawl, 0.0005);
            AddNoiseBurst(Signal, Start, 4000.0, true, 0.0015, Gain, 42 + 4 * Stroke + Click);
        }
    // The ding: G6 with a slightly detuned twin whose slow beating makes it shimmer.
    AddStruck(Signal, 0.4, NoteFrequency(91), 0.9, Chime(0.22), 0.001);
    AddStruck(Signal, 0.4, NoteFrequency(91) * 1.0035, 0.4, Chime(0.22), 0.001);
    FadeEdges(Signal, 0.0, 0.15);
    return Signal;
}

TSignal ExtraTime()
{
    // A quick rising arpeggio of chimes, G5-C6-E6-G6, the last ringing longest.
    TSignal Signal(SampleCount(0.6));
    const double Notes[] = {79, 84, 88, 91};
    for (int I = 0; I < 4; ++I)
        AddStruck(Signal, 0.065 * I, NoteFrequency(Notes[I]), 0.7 + 0.1 * I, Chime(I == 3 ? 0.2 : 0.12),
                  0.001);
    FadeEdges(Signal, 0.0, 0.12);
    return Signal;
}

TSignal ExtraLife()
{
    // A bright jingle climbing D5-G5-B5-D6 to a held G6 with vibrato, each note doubled by a chime.
    TSignal Signal(SampleCount(0.7));
    const double Notes[] = {74, 79, 83, 86};
    for (int I = 0; I < 4; ++I)
    {
        AddPulseNote(Signal, 0.07 * I, 0.05, NoteFrequency(Notes[I]), 0.45);
        AddStruck(Signal, 0.07 * I, NoteFrequency(Notes[I]), 0.3, Chime(0.08), 0.001);
    }
    AddPulseNote(Signal, 0.28, 0.3, NoteFrequency(91), 0.5, 0.006);
    AddStruck(Signal, 0.28, NoteFrequency(91), 0.4, Chime(0.2), 0.001);
    FadeEdges(Signal, 0.0, 0.1);
    return Signal;
}

} // namespace vm::assetgen::recipes
